#include "CLFolderLock.h"

#include "CLBuildCommit.h"
#include "WinUtil.h"

bool CLFolderLock::Acquire(int nTimeoutMs)
{
    if (!m_lock.Acquire(AppFile(kLockFile), nTimeoutMs))
        return false;
    CLBuildCommit::Recover();
    return true;
}

long CLFolderLock::HolderPid()
{
    return CxFileLock::HolderPid(AppFile(kLockFile));
}
