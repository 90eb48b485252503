// CLDataChecker: verifies the data files of the program folder with the data
// layer's own readers and describes every problem in one line that starts
// with the file it concerns:
//   clcat.dat, cldict.dat  missing, wrong header, cut short (where and why),
//                          bytes after the last record, a zero byte inside a
//                          text, records out of order, duplicate or empty names
//                          and ids (the data layer's own messages), entries of
//                          categories that do not exist, unsafe file names;
//   data/FILE              missing, not readable whole (where and why), bytes
//                          after the record, a record name other than the
//                          entry's, a zero byte inside a text, a detail that
//                          says the record is partial when its marks do not;
//   clcmd.dat              missing, records that cannot be read at their
//                          position, that differ from data/NAME.dat (a stale
//                          build), that overlap or run past the end, and bytes
//                          no entry covers;
//   TARGET.tmpPID-N        temporaries a writer that was stopped left behind,
//                          in the program folder and in data/ (the next
//                          writer removes them).
// Notes tell what is no fault of the files but worth knowing: a file in data/
// that no index entry names (a stray record, which build ignores).
// What the importer may write (any category id, ids of categories that do not
// exist) is not a problem of the format; only what a reader cannot take whole is.
#ifndef CLDATACHECKER_H
#define CLDATACHECKER_H

#include "CLCmdManager.h"
#include "CLRecords.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CLDataChecker
{
public:
    // Checks the files of the current program folder (GetAppPath()); the problems.
    std::vector<std::string> Run();
    // The notes of the last Run, in the same form ("data/X.dat: note: ...").
    const std::vector<std::string>& GetNotes() const { return m_notes; }

private:
    void CheckCategories();
    void CheckIndex();
    void CheckRecordFile(const CLCmdIndex& idx);
    void CheckJoinedFile();
    void CheckLeftovers();
    bool CheckJoinedRecord(const CLCmdIndex& idx);
    void CheckBuilt(const CLCmdIndex& idx, const std::string& joined);
    void Problem(const std::string& file, const std::string& what);
    // Reads a per-command file whole and notes whether it is sound; *pPartial
    // (when given) says how its words and partial marks disagree.
    bool ReadRecordFile(const std::string& path, std::string* pName, CLCmdManager::ReadInfo* pInfo,
                        std::string* pPartial = nullptr);

    std::vector<CLCategory> m_cats;
    bool m_bCatsRead = false;
    std::vector<CLCmdIndex> m_entries;
    bool m_bIndexRead = false;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_notes;
    std::unordered_set<std::string> m_seen;
    std::unordered_map<std::string, bool> m_sound; // per-command files read whole, by path
};

#endif
