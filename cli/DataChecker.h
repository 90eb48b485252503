// DataChecker: verifies the data files of the program folder and describes
// every problem in one line that starts with the file it concerns:
//   clcat.dat, cldict.dat  missing, wrong header, cut short, bytes after the
//                          last record, strings too long for their field,
//                          duplicate or empty names and ids (the data layer's
//                          own messages), entries of categories that do not
//                          exist, unsafe file names;
//   data/FILE              missing, not readable whole, bytes after the
//                          record, a record name other than the entry's;
//   clcmd.dat              missing, records that cannot be read at their
//                          position, that differ from data/NAME.dat (a stale
//                          build), that overlap or run past the end, and bytes
//                          no entry covers.
#ifndef DATACHECKER_H
#define DATACHECKER_H

#include "CLRecords.h"

#include <set>
#include <string>
#include <vector>

class DataChecker
{
public:
    // Checks the files of the current program folder (GetAppPath()).
    std::vector<std::string> Run();

private:
    // The list files share their layout: magic word, version, count, records.
    bool ReadListFile(const std::string& file, const char* szMagic, std::string* pBytes,
                      uint32_t* pnCount, size_t* pnAfterHeader);
    void CheckCategories();
    void CheckIndex();
    void CheckRecordFile(const CLCmdIndex& idx);
    void CheckJoinedFile();
    void CheckJoinedRecord(const CLCmdIndex& idx, const std::string& joined);
    void CheckBuilt(const CLCmdIndex& idx, const std::string& joined);
    void Problem(const std::string& file, const std::string& what);

    std::vector<CLCategory> m_cats;
    bool m_bCatsRead = false;
    std::vector<CLCmdIndex> m_entries;
    bool m_bIndexRead = false;
    std::vector<std::string> m_problems;
    std::set<std::string> m_seen;
};

#endif
