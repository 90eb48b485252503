// The windows write the data files only while they hold the program folder's
// lock, like every other writer. FolderWork is one such turn: it holds the
// lock while it lives (or until Done), and keeps the messages the data layer
// sends meanwhile until the lock is released, so no message box or question
// is ever open while another program waits for the folder. When another
// program holds the lock for longer than a moment, the user is told and
// nothing is written.
#ifndef FOLDERLOCK_H
#define FOLDERLOCK_H

#include "CLFolderLock.h"
#include "CLMessage.h"

#include <string>
#include <vector>

class QWidget;

class FolderWork
{
public:
    // Takes the lock, waiting up to three seconds; when it cannot be had,
    // says so in a message box owned by parent, and IsHeld() is false.
    explicit FolderWork(QWidget* parent);
    ~FolderWork();
    FolderWork(const FolderWork&) = delete;
    FolderWork& operator=(const FolderWork&) = delete;

    bool IsHeld() const { return m_lock.IsHeld(); }
    // Releases the lock, then shows the messages kept meanwhile.
    void Done();

private:
    struct Kept
    {
        std::string text, caption;
        CLMsgIcon icon;
    };
    QWidget* m_pParent;
    CLFolderLock m_lock;
    CLMessageHook m_oldHook;
    std::vector<Kept> m_kept;
    bool m_bDone = false;
};

#endif
