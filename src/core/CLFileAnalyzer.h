// CLFileAnalyzer: the authoring tools that seed and pack the database.
//
// AnalyzeFile reads a plain-text list of categories and commands and replaces
// the category file and the command index with what it holds:
//   [NN] - Category name     a category; NN (two characters, read like atol)
//                            becomes the current category
//   [NN]                     only changes the current category
//   NAME - Title             a command of the current category (1 at first)
// A UTF-8 byte-order mark at the start of the list is skipped.
// Lines end in LF or CR LF and are read whole, however long; trailing white
// space is stripped, leading white space kept. Only the first " - "
// separates. A category number is one or two digits, 1 to 99; a command name
// has at most 10 characters and can be a file name: other lines are refused
// with a message naming the line. Over-long titles and category names are
// cut to their fields, with a warning. An import that would leave no command
// fails, and both files stay as they were.
//
// With SetCreateRecordFiles, AnalyzeFile also gives every command of the list
// whose per-command file does not exist yet one holding its name and title.
// The files are written first, each through its temporary, and made durable
// together (CxFileBatch); the lists are saved only after every file is in
// place, so after a crash the index is the old one or names only whole
// records. When a file cannot be written, nothing is imported.
//
// BuildDataFile joins data/NAME.dat of every index entry, in index order, into
// clcmd.dat and rewrites the index with each record's position and length.
#ifndef CLFILEANALYZER_H
#define CLFILEANALYZER_H

#include <string>
#include <string_view>
#include <vector>

struct CLCmdIndex;

class CLCmdManager;
class CxFile;

class CLFileAnalyzer
{
public:
    // Creates an empty manager of its own.
    CLFileAnalyzer();
    ~CLFileAnalyzer();

    CLFileAnalyzer(const CLFileAnalyzer&) = delete;
    CLFileAnalyzer& operator=(const CLFileAnalyzer&) = delete;

    // Works on the caller's manager from now on; the caller keeps it.
    void SetCmdManager(CLCmdManager* pCmdManager);
    // Whether AnalyzeFile gives each entry a fresh record holding its name
    // and title (the default). Without, a large list imports in a fraction of
    // the memory and time.
    void SetMakeRecords(bool bMake) { m_bMakeRecords = bMake; }
    // Whether AnalyzeFile creates the missing per-command files (off by
    // default); it needs the records SetMakeRecords makes. Existing files, a
    // dangling link too, are never written over; data/ is created when missing.
    void SetCreateRecordFiles(bool bCreate) { m_bCreateFiles = bCreate; }
    CLCmdManager* GetCmdManager() const { return m_pCmdManager; }
    // Whether BuildDataFile may drop the records of commands whose file in
    // data/ is gone (off by default: it refuses, so no record is lost).
    void SetDropMissing(bool bDrop) { m_bDropMissing = bDrop; }

    // False when the list cannot be read, holds no command that could be
    // taken, or the category or index file, or a per-command file to be
    // created, cannot be written; GetLastError()
    // then names the file. Refused lines are reported through the message
    // hook and do not make it fail; GetWarnings() lists the texts that were
    // cut, and says so when most lines were not taken.
    bool AnalyzeFile(const char* szPath);
    // False when clcmd.dat or cldict.dat cannot be written, a command file
    // cannot be read, cldict.dat was changed by another program since the
    // manager loaded it, or (unless SetDropMissing) data/ is missing or a
    // command whose record clcmd.dat holds has no file in data/; the old
    // clcmd.dat, cldict.dat and the entries' positions then stay as they were.
    // GetMissing() names the commands whose files are missing. Both files are put in place
    // together. A per-command file whose record names another command is not joined; GetWarnings()
    // lists such files.
    bool BuildDataFile();

    const std::string& GetLastError() const { return m_sError; }
    const std::vector<std::string>& GetWarnings() const { return m_warnings; }
    const std::vector<std::string>& GetMissing() const { return m_missing; }

private:
    void AnalyzeLine(std::string_view line, unsigned nLine);
    void AddPending();
    void DropPending();
    // Writes the missing per-command files in one batch; false with m_sError set.
    bool CreateRecordFiles();
    // The build's refusal to lose records; false with m_sError set.
    bool CheckSources(const std::string& sFolder);

    CxFile* m_pFile;
    CLCmdManager* m_pCmdManager;
    CLCmdManager* m_pOwnManager;
    unsigned long m_dwCurCat = 1;
    bool m_bMakeRecords = true;
    bool m_bCreateFiles = false;
    bool m_bDropMissing = false;
    std::vector<std::string> m_missing;
    std::string m_sError;
    std::vector<std::string> m_warnings;
    // The commands read so far, added to the index in name order at the end:
    // an index built in order costs one step per command, however the list is sorted.
    std::vector<CLCmdIndex> m_pending;
    std::vector<unsigned> m_pendingLines; // the line each pending command came from
    struct Counts
    {
        unsigned nLines = 0;         // lines that are not blank
        unsigned nCategoryLines = 0; // category lines taken
        unsigned nCommands = 0;      // commands added to the index
    } m_counts;
    unsigned m_nLine = 0; // the line being analysed, for its messages
};

#endif
