// CxFileLock: an exclusive advisory lock on a lock file, held while the
// object lives (or until Release). Processes that agree to take it before
// they change a set of files never write them at the same time. The lock
// goes away with the process, so a crash never leaves it held. The holder
// writes its process id into the file, so a waiting process can name it.
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
    // False when the file cannot be created or the time ran out (TimedOut()).
    bool Acquire(const std::string& path, int nTimeoutMs);
    bool TimedOut() const { return m_bTimedOut; }
    void Release();
    bool IsHeld() const { return m_fd >= 0; }

    // The process id the lock file names (the last holder's), 0 when none.
    static long HolderPid(const std::string& path);

private:
#ifdef _WIN32
    void* m_hFile = nullptr;
#endif
    int m_fd = -1;
    bool m_bTimedOut = false;
};

#endif
