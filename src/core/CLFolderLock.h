// The program folder's writers take turns: whoever changes the data files
// (clcat.dat, cldict.dat, clcmd.dat, data/) holds the folder's lock file
// "zentrivo.lock" for the whole read-modify-write. Taking the lock also
// finishes or undoes a build that was interrupted (CLBuildCommit), so every
// writer starts from a consistent pair of files.
#ifndef CLFOLDERLOCK_H
#define CLFOLDERLOCK_H

#include "CxFileLock.h"

#include <string>

class CLFolderLock
{
public:
    static constexpr const char* kLockFile = "zentrivo.lock";

    // Waits at most nTimeoutMs (negative: as long as it takes). False when
    // the lock cannot be had.
    bool Acquire(int nTimeoutMs);
    void Release() { m_lock.Release(); }
    bool IsHeld() const { return m_lock.IsHeld(); }
    // Whether the last Acquire ran out of time (another process holds the lock).
    bool TimedOut() const { return m_lock.TimedOut(); }
    // The process that holds (or last held) the lock of the program folder, 0 when unknown.
    static long HolderPid();

private:
    CxFileLock m_lock;
};

#endif
