// CxFileBatch: many files replaced as CxFile replaces one (each written whole
// to a temporary beside its target, then renamed over it), made durable
// together: a few syncs for the whole batch instead of two a file.
//
// Each file is opened through the batch (OpenReplace), written, and handed
// back with Finish, which closes its temporary without a sync. Commit then
//   1. makes every temporary durable: on Linux one syncfs() per file system
//      (it writes and flushes every file there at once, as an fsync of each
//      would, and reports a write that failed since the batch began), elsewhere
//      an fsync of each temporary;
//   2. renames each temporary over its target, in the order finished;
//   3. syncs each folder that holds a target, once.
// A crash before step 2 leaves every target as it was; during step 2 each
// target is old or new, never part of either; after step 3 all are new.
// Temporaries left by a crash are a dead writer's, which the next writer
// removes (CxFile::IsOrphanedTemp). A batch that is not committed removes its
// temporaries when discarded or destroyed.
#ifndef CXFILEBATCH_H
#define CXFILEBATCH_H

#include <string>
#include <vector>

class CxFile;

class CxFileBatch
{
public:
    CxFileBatch() = default;
    ~CxFileBatch();
    CxFileBatch(const CxFileBatch&) = delete;
    CxFileBatch& operator=(const CxFileBatch&) = delete;

    // Opens pFile as a replacement of path (CxFile::OpenReplace), once the
    // batch watches path's file system for failed writes. False as OpenReplace.
    bool OpenReplace(CxFile* pFile, const std::string& path);
    // Closes the temporary of pFile, opened by OpenReplace, without a sync and
    // takes it into the batch. False, with the temporary removed, when a write
    // failed.
    bool Finish(CxFile* pFile);
    // The files taken so far.
    size_t Count() const { return m_files.size(); }

    // Steps 1 to 3. False when the temporaries cannot be made durable (then
    // nothing was renamed and every temporary is removed) or a rename fails
    // (the files renamed before it stay, the rest are removed); *pFailed then
    // names the target concerned, or the folder whose file system failed.
    bool Commit(std::string* pFailed);
    // Removes every temporary not yet renamed.
    void Discard();

    // Tests: called at each step of Commit (0 before the sync, 1 after it,
    // 2 after the first rename, 3 after the last), so a test can end the
    // process there.
    static void (*s_pStepHook)(int nStep);

private:
    struct File
    {
        std::string temp, target;
    };
    struct Folder
    {
        std::string path;
        int fd; // open for syncfs, or -1
    };
    bool SyncAll(std::string* pFailed);
    void CloseFolders();

    std::vector<File> m_files;
    std::vector<Folder> m_folders;
    std::string m_sOpenTarget; // the target of the replacement opened last
};

#endif
