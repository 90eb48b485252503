// CxFileLock: an exclusive advisory lock on a lock file, held while the
// object lives (or until Release). Processes that agree to take it before
// they change a set of files never write them at the same time. The lock
// goes away with the process, so a crash never leaves it held.
#ifndef CXFILELOCK_H
#define CXFILELOCK_H

#include <string>

class CxFileLock
{
public:
    CxFileLock() = default;
    ~CxFileLock();
    CxFileLock(const CxFileLock&) = delete;
    CxFileLock& operator=(const CxFileLock&) = delete;

    // Takes the lock on path, creating the file when missing. Waits at most
    // nTimeoutMs milliseconds (a negative value waits as long as it takes).
    // False when the file cannot be created or the time ran out.
    bool Acquire(const std::string& path, int nTimeoutMs);
    void Release();
    bool IsHeld() const { return m_fd >= 0; }

private:
#ifdef _WIN32
    void* m_hFile = nullptr;
#endif
    int m_fd = -1;
};

#endif
