#include "CxFileLock.h"

#include <cerrno>
#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

CxFileLock::~CxFileLock()
{
    Release();
}

bool CxFileLock::Acquire(const std::string& path, int nTimeoutMs)
{
    Release();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    for (;;) {
        OVERLAPPED ov{};
        DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (nTimeoutMs < 0 ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
        if (LockFileEx(h, flags, 0, 1, 0, &ov)) {
            m_hFile = h;
            m_fd = 0;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(h);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
#else
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    for (;;) {
        if (::flock(fd, nTimeoutMs < 0 ? LOCK_EX : LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return true;
        }
        if (errno == EINTR)
            continue;
        if (nTimeoutMs < 0 || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
#endif
}

void CxFileLock::Release()
{
#ifdef _WIN32
    if (m_hFile) {
        OVERLAPPED ov{};
        UnlockFileEx(m_hFile, 0, 1, 0, &ov);
        CloseHandle(m_hFile);
        m_hFile = nullptr;
    }
#else
    if (m_fd >= 0)
        ::close(m_fd); // closing the last descriptor releases the lock
#endif
    m_fd = -1;
}
