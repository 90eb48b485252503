// The windows write the data files only while they hold the program folder's
// lock, like every other writer; when another program holds it for longer
// than a moment, the user is told and nothing is written.
#ifndef FOLDERLOCK_H
#define FOLDERLOCK_H

class CLFolderLock;
class QWidget;

// Takes the lock, waiting up to three seconds; false (after a message box
// owned by parent) when it cannot be had.
bool LockFolder(QWidget* parent, CLFolderLock* pLock);

#endif
