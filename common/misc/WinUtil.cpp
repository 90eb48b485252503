#include "WinUtil.h"

#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string g_sOverride;

std::string ExecutableFolder()
{
    std::string path;
#ifdef _WIN32
    char buf[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    path.assign(buf, n);
#else
    std::vector<char> buf(4096);
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n > 0)
        path.assign(buf.data(), static_cast<size_t>(n));
#endif
    size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos)
        return "./";
    return path.substr(0, cut + 1);
}

} // namespace

std::string GetExeFolder()
{
    static const std::string sExeFolder = ExecutableFolder();
    return sExeFolder;
}

std::string GetAppPath()
{
    return g_sOverride.empty() ? GetExeFolder() : g_sOverride;
}

int GetAppPath(char* szPath, size_t nSize)
{
    if (!szPath)
        return 0;
    std::string path = GetAppPath();
    if (path.size() >= nSize)
        return 0;
    std::memcpy(szPath, path.c_str(), path.size() + 1);
    return 1;
}

void SetAppPath(const std::string& dir)
{
    g_sOverride = dir;
    if (!g_sOverride.empty() && g_sOverride.back() != '/' && g_sOverride.back() != '\\')
        g_sOverride += '/';
}

std::string AppFile(const std::string& name)
{
    return GetAppPath() + name;
}
