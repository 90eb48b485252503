#include "CxFileLock.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

// The lock itself is on a byte far past the text, so others can read the
// holder's id while the lock is held (Windows locks byte ranges for reads too).
constexpr unsigned long kLockOffset = 0x7FFFFFF0ul;

} // namespace

CxFileLock::~CxFileLock()
{
    Release();
}

bool CxFileLock::Acquire(const std::string& path, int nTimeoutMs)
{
    Release();
    m_bTimedOut = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    for (;;) {
        OVERLAPPED ov{};
        ov.Offset = kLockOffset;
        DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (nTimeoutMs < 0 ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
        if (LockFileEx(h, flags, 0, 1, 0, &ov)) {
            m_hFile = h;
            m_fd = 0;
            const std::string pid = std::to_string(GetCurrentProcessId()) + "\n";
            DWORD n = 0;
            SetFilePointer(h, 0, nullptr, FILE_BEGIN);
            SetEndOfFile(h);
            WriteFile(h, pid.data(), static_cast<DWORD>(pid.size()), &n, nullptr);
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(h);
            m_bTimedOut = true;
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
            const std::string pid = std::to_string(::getpid()) + "\n";
            if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) < 0) {
                // The id only helps a waiting process name the holder.
            }
            return true;
        }
        if (errno == EINTR)
            continue;
        if (nTimeoutMs < 0 || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            m_bTimedOut = nTimeoutMs >= 0;
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
        ov.Offset = kLockOffset;
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

long CxFileLock::HolderPid(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text;
    std::getline(in, text);
    char* end = nullptr;
    long pid = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && pid > 0 ? pid : 0;
}
