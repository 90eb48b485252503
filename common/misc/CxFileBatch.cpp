#include "CxFileBatch.h"

#include "CxFile.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::string DirOf(const std::string& path)
{
    size_t n = path.find_last_of("/\\");
    return n == std::string::npos ? std::string(".") : path.substr(0, n + 1);
}

void Step(int n)
{
    if (CxFileBatch::s_pStepHook)
        CxFileBatch::s_pStepHook(n);
}

bool Rename(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

} // namespace

void (*CxFileBatch::s_pStepHook)(int) = nullptr;

CxFileBatch::~CxFileBatch()
{
    Discard();
}

bool CxFileBatch::OpenReplace(CxFile* pFile, const std::string& path)
{
    const std::string folder = DirOf(path);
    bool bKnown = false;
    for (const Folder& f : m_folders)
        bKnown = bKnown || f.path == folder;
    if (!bKnown) {
        int fd = -1;
#ifdef __linux__
        // Opened before the first file is written there, so that syncfs()
        // reports every write of the batch that failed.
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
        m_folders.push_back({folder, fd});
    }
    if (!pFile->OpenReplace(path.c_str()))
        return false;
    m_sOpenTarget = path;
    return true;
}

bool CxFileBatch::Finish(CxFile* pFile)
{
    if (!pFile->Finish(false))
        return false;
    m_files.push_back({pFile->TempPath(), m_sOpenTarget});
    return true;
}

bool CxFileBatch::SyncAll(std::string* pFailed)
{
    bool bEach = true;
#ifdef __linux__
    // One syncfs() per file system: folders on one file system share it, and
    // a second call finds nothing left to write.
    bEach = false;
    for (const Folder& f : m_folders) {
        if (f.fd < 0) {
            bEach = true;
            break;
        }
        if (CxFile::s_pSyncHook)
            CxFile::s_pSyncHook(f.path);
        if (::syncfs(f.fd) != 0) {
            if (errno == ENOSYS) {
                bEach = true;
                break;
            }
            *pFailed = f.path;
            return false;
        }
    }
#endif
    if (bEach) {
        for (const File& f : m_files) {
            if (!CxFile::SyncFile(f.temp)) {
                *pFailed = f.target;
                return false;
            }
        }
    }
    return true;
}

bool CxFileBatch::Commit(std::string* pFailed)
{
    if (m_files.empty()) {
        Discard();
        return true;
    }
    Step(0);
    if (!SyncAll(pFailed)) {
        Discard();
        return false;
    }
    Step(1);
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!Rename(m_files[i].temp, m_files[i].target)) {
            *pFailed = m_files[i].target;
            m_files.erase(m_files.begin(), m_files.begin() + static_cast<std::ptrdiff_t>(i));
            for (const Folder& f : m_folders)
                CxFile::SyncFolder(f.path);
            Discard();
            return false;
        }
        if (i == 0)
            Step(2);
    }
    Step(3);
    for (const Folder& f : m_folders)
        CxFile::SyncFolder(f.path);
    m_files.clear();
    CloseFolders();
    return true;
}

void CxFileBatch::Discard()
{
    for (const File& f : m_files)
        std::remove(f.temp.c_str());
    m_files.clear();
    CloseFolders();
}

void CxFileBatch::CloseFolders()
{
#ifndef _WIN32
    for (const Folder& f : m_folders)
        if (f.fd >= 0)
            ::close(f.fd);
#endif
    m_folders.clear();
}
