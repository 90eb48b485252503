// CLRecordStore: puts records and their index entries in place as one piece of
// work, for every writer that adds or changes commands (load, import-cmd, the
// window's rename):
//
// - the files a record is written to: its entry's file and, when that is
//   another name, NAME.dat too, which build joins for it, so both run modes
//   show the same record;
// - no record may take another command's file: neither the file another
//   entry reads (run mode 1) nor OTHER.dat, which build joins for OTHER;
// - an entry changes, or a new one is added, only once its record is saved;
// - the index is written last; when it cannot be, the files this store
//   created are removed and its new entries taken out again, so no record is
//   left that no entry names and nothing looks added that is not.
#ifndef CLRECORDSTORE_H
#define CLRECORDSTORE_H

#include "CLRecords.h"

#include <string>
#include <unordered_map>
#include <vector>

class CLCmdManager;

class CLRecordStore
{
public:
    // Works on the caller's manager, whose index is loaded (or empty).
    explicit CLRecordStore(CLCmdManager* pManager);

    // The command other than self whose record the file holds or is joined
    // from; empty when none.
    std::string OwnerOf(const std::string& file, const std::string& self) const;

    // Saves pRec as the record of entry, which is an index entry's copy or a
    // new entry (MakeCmdIdx); then puts the entry into the index: a new one is
    // added, an existing one takes entry's file name, category and reserved
    // values. False with the reason, and the index unchanged, when a file
    // belongs to another command or cannot be written (*pbWriteFailed then
    // tells the second).
    bool Put(const CLCmdIndex& entry, CLCmdRecord* pRec, std::string* pWhy,
             bool* pbWriteFailed = nullptr);
    // Writes the index when it changed; when that fails, removes the files
    // created and the entries added by this store. False with the reason.
    bool Commit(std::string* pWhy);
    // Removes the files created and the entries added so far.
    void Rollback();

    // The commands this store added to the index, in the order put.
    const std::vector<std::string>& Added() const { return m_added; }
    bool IsIndexChanged() const { return m_bIndexChanged; }

    // Renames the command of pIdx, whose record is loaded: the record is
    // written to NEWNAME.dat first, the entry takes the new name and file and
    // the index is saved, and only then is the old file removed (unless
    // another entry needs it). False with the reason, and nothing changed,
    // when the name is no CL name, belongs to another command, or the file
    // or the index cannot be written.
    static bool Rename(CLCmdManager* pManager, CLCmdIndex* pIdx, const std::string& newName,
                       std::string* pWhy);

private:
    void NoteFiles(const CLCmdIndex& entry);

    CLCmdManager* m_pManager;
    bool m_bIndexChanged = false;
    std::vector<std::string> m_created; // files this store created
    std::vector<std::string> m_added;   // entries it added
    // Per-command file -> the commands that read it or are joined from it.
    std::unordered_map<std::string, std::vector<std::string>> m_files;
};

#endif
