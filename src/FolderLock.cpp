#include "FolderLock.h"

#include "CLFolderLock.h"
#include "MsgBox.h"

bool LockFolder(QWidget* parent, CLFolderLock* pLock)
{
    if (pLock->Acquire(3000))
        return true;
    MsgBox::Error(parent, QStringLiteral("Another program is changing the files of the "
                                         "reference. Nothing was written; try again in a "
                                         "moment."));
    return false;
}
