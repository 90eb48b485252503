#include "CLHome.h"

#include "CxFile.h"
#include "WinUtil.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kTempMark = ".zentrivo-copy-";

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string WithSeparator(std::string dir)
{
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\')
        dir += '/';
    return dir;
}

bool Exists(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(p, ec);
}

// Whether files can be created in the folder.
bool Writable(const std::string& dir)
{
#ifdef _WIN32
    // Access rights decide on Windows, and only trying tells them.
    std::string probe = dir + "zentrivo-probe-" + std::to_string(GetCurrentProcessId());
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
#else
    return ::access(dir.c_str(), W_OK) == 0;
#endif
}

// Copies the shared reference: its list files, its joined file and data/.
bool CopyReference(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::create_directories(to, ec);
    if (ec)
        return false;
    for (const fs::directory_entry& e : fs::directory_iterator(from, ec)) {
        fs::copy(e.path(), to / e.path().filename(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (ec)
            return false;
    }
    if (ec)
        return false;
    // Installed files are read-only; the user's copy is the user's to change.
    // Every file and folder is made durable before the copy is renamed into
    // place, like every other save: a crash never leaves a named but empty copy.
    std::vector<fs::path> folders{to};
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(to, ec)) {
        fs::permissions(e.path(), fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, ec);
        if (ec)
            return false;
        if (e.is_directory(ec))
            folders.push_back(e.path());
        else if (!CxFile::SyncFile(e.path().string()))
            return false;
    }
    for (const fs::path& folder : folders)
        CxFile::SyncFolder(folder.string());
    return !ec;
}

} // namespace

namespace CLHome {

Inputs Current(const std::string& given)
{
    Inputs in;
    in.given = given;
    in.envHome = Env("ZENTRIVO_HOME");
    in.programDir = GetExeFolder();
#ifdef _WIN32
    in.userDataDir = Env("APPDATA");
#else
    in.userDataDir = Env("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (in.userDataDir.empty() || in.userDataDir[0] != '/') {
        std::string home = Env("HOME");
        in.userDataDir = home.empty() ? "" : WithSeparator(home) + ".local/share";
    }
#endif
    return in;
}

Choice Choose(const Inputs& in)
{
    if (!in.given.empty())
        return {WithSeparator(in.given), Kind::Given};
    if (!in.envHome.empty())
        return {WithSeparator(in.envHome), Kind::Environment};
    const std::string program = WithSeparator(in.programDir);
    // A folder the program can write is its folder, even before it holds any
    // data (a first run writes the files beside the program). An installed copy
    // keeps its data in the user's folder, unless it carries its own data.
    bool bInstalled = Exists(fs::path(program) / ".." / "share" / "zentrivo");
    bool bHasData = Exists(program + "cldict.dat") || Exists(program + "clcat.dat");
    if (((bHasData || !bInstalled) && Writable(program)) || in.userDataDir.empty())
        return {program, Kind::Program};
#ifdef _WIN32
    return {WithSeparator(in.userDataDir) + "Zentrivo/", Kind::User};
#else
    return {WithSeparator(in.userDataDir) + "zentrivo/", Kind::User};
#endif
}

std::string SharedReference(const std::string& programDir)
{
    fs::path shared = fs::path(WithSeparator(programDir)) / ".." / "share" / "zentrivo";
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(shared, ec);
    if (ec || !Exists(canonical / "cldict.dat"))
        return {};
    return WithSeparator(canonical.generic_string());
}

bool PrepareUserFolder(const std::string& folder, const std::string& shared, std::string* pWhy)
{
    fs::path target = fs::path(folder).parent_path(); // folder ends in a separator
    fs::path parent = target.parent_path();
    std::error_code ec;
    // Leftovers of a copy that was cut short.
    const std::string prefix = target.filename().string() + kTempMark;
    for (const fs::directory_entry& e : fs::directory_iterator(parent, ec))
        if (e.path().filename().string().rfind(prefix, 0) == 0)
            fs::remove_all(e.path(), ec);
    if (Exists(target))
        return true;
    fs::create_directories(parent, ec);
    if (ec) {
        *pWhy = "The folder \"" + parent.string() + "\" cannot be created.";
        return false;
    }
    if (shared.empty()) {
        fs::create_directories(target / "data", ec);
        if (ec)
            *pWhy = "The folder \"" + target.string() + "\" cannot be created.";
        return !ec;
    }
    fs::path temp = parent / (prefix + std::to_string(std::random_device()()));
    if (!CopyReference(shared, temp)) {
        fs::remove_all(temp, ec);
        *pWhy = "The reference \"" + shared + "\" cannot be copied to \"" + target.string() + "\".";
        return false;
    }
    fs::rename(temp, target, ec);
    if (!ec)
        CxFile::SyncFolder(parent.string());
    if (ec) {
        fs::remove_all(temp, ec);
        // Another start may have made it meanwhile: that copy is complete too.
        if (Exists(target))
            return true;
        *pWhy = "The folder \"" + target.string() + "\" cannot be created.";
        return false;
    }
    return true;
}

bool Use(const std::string& given, std::string* pWhy)
{
    Inputs in = Current(given);
    Choice choice = Choose(in);
    if (choice.kind == Kind::User &&
        !PrepareUserFolder(choice.folder, SharedReference(in.programDir), pWhy))
        return false;
    SetAppPath(choice.folder);
    return true;
}

} // namespace CLHome
