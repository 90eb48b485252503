// CLCmdManager: owner of the category list, the command index and the loaded
// command records, and the only reader and writer of the data files:
//
//   clcat.dat    the categories            (program folder)
//   cldict.dat   the command index         (program folder)
//   data/NAME    one record per command    (program folder, data/)
//   clcmd.dat    all records joined        (program folder)
//
// The category list is kept in ascending dwID order, the index in ascending
// byte order of szName; neither holds duplicates. Each list has one cursor
// shared by all callers, so a walk must not be interleaved with another walk,
// FindCat/FindCmdIdx or an add on the same list. Not re-entrant; one thread.
//
// Saves write a temporary file and rename it over the old one only when every
// write succeeded; a failed save returns false and leaves the old file intact.
// Readers check every length against the file and the destination.
#ifndef CLCMDMANAGER_H
#define CLCMDMANAGER_H

#include "CLOptions.h"
#include "CLRecords.h"
#include "CxFile.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

class CxFileBatch;
class CxList;

// What is wrong with a category, by the one rule every writer and check use.
enum class CLCatFault
{
    None,
    ID,  // 0: ids start at 1
    Name // empty
};

// What a scan of a list file found.
struct CLListScan
{
    std::vector<uint32_t> nulRecords; // records (from 1) with a string holding a zero byte
    bool bOpened = false;             // the file could be opened
    bool bHeader = false;             // its magic word and version are right
    uint32_t nCount = 0;              // the count its header gives
    std::string sCut;                 // why the records end before the count, naming the record
    uint64_t nTrailing = 0;           // bytes after the last record, when every record was read
};

class CLCmdManager
{
public:
    explicit CLCmdManager(const CLOptions& options = CLOptions());
    ~CLCmdManager();

    // Where records are read from (the run mode); records already attached stay.
    void SetOptions(const CLOptions& options) { m_options = options; }
    const CLOptions& GetOptions() const { return m_options; }

    CLCmdManager(const CLCmdManager&) = delete;
    CLCmdManager& operator=(const CLCmdManager&) = delete;

    // LoadCatList, then LoadCmdIdxList; false as soon as one fails.
    bool LoadAll();
    // SaveCmdIdxList, then SaveCatList; false as soon as one fails.
    bool SaveAll();

    // --- categories -------------------------------------------------------
    CLCategory* GetFirstCat();
    CLCategory* GetNextCat();
    uint32_t GetCatCount() const;
    // The category with this id (walks from the first; moves the cursor).
    CLCategory* FindCat(uint32_t id);
    // Stores a copy in id order. An empty name shows "Invalid CL Command
    // Category Name." and returns null; an existing id shows the duplicate
    // message and returns the category already stored.
    CLCategory* AddCat(const CLCategory* pCat);
    // The rule of a valid category: an id from 1 and a name. (The category
    // editor asks for a file name as well; the text list has none to give.)
    static CLCatFault CheckCategory(const CLCategory& cat);
    bool DeleteCat(CLCategory* pCat);

    // --- command index ----------------------------------------------------
    CLCmdIndex* GetFirstCmdIdx();
    CLCmdIndex* GetNextCmdIdx();
    uint32_t GetCmdIdxCount() const;
    // The entry named szName (walks from the first; moves the cursor).
    CLCmdIndex* FindCmdIdx(const char* szName);
    // Stores a copy in name order. An empty name shows "Invalid CL Command
    // Name." and returns null; an existing name shows the duplicate message
    // and returns the entry already stored (a record the rejected entry
    // carried stays with the caller). A carried record is tied to the copy.
    CLCmdIndex* AddCmdIdx(const CLCmdIndex* pIdx);
    // Removes and frees the entry with its loaded record; no file is touched.
    bool DeleteCmdIdx(CLCmdIndex* pIdx);
    // Renames an entry: its name, its loaded record's name and its file name
    // (NEWNAME.dat) change, and it moves to its place in name order. False,
    // changing nothing, when the name is empty, longer than 10 characters,
    // cannot be a file name, or belongs to another entry.
    bool RenameCmdIdx(CLCmdIndex* pIdx, const char* szNewName);
    // A CL name: 1 to 10 characters, the first A-Z, $, # or @, the others
    // also 0-9 or _.
    static bool IsCLName(const char* szName);

    // True once a list in memory differs from its file: set by adding,
    // deleting and renaming, and by MarkCatListChanged for a category edited
    // in place; cleared when the list is loaded or saved.
    bool IsCatListChanged() const { return m_bCatsChanged; }
    bool IsCmdIdxListChanged() const { return m_bIdxChanged; }
    void MarkCatListChanged() { m_bCatsChanged = true; }
    // A quiet manager shows none of the messages of AddCat and AddCmdIdx (one
    // that loads the files again for a worker, beside the window's own).
    void SetQuiet(bool bQuiet) { m_bQuiet = bQuiet; }
    // The messages of AddCmdIdx.
    static constexpr const char* kInvalidCmdName = "Invalid CL Command Name.";
    static std::string DuplicateCmdMessage(const char* szName);

    // --- the two list files -----------------------------------------------
    // Loading keeps the whole records before a cut and stops at the first
    // record without a name; a list in any order loads in near-linear time.
    bool LoadCatList();
    bool LoadCmdIdxList();
    // Saving replaces the file whole. It refuses (false) to overwrite a file
    // that another program changed since this manager loaded or saved it;
    // GetSaveError() then says so, else which file cannot be written.
    bool SaveCatList();
    bool SaveCmdIdxList();
    const std::string& GetSaveError() const { return m_sSaveError; }
    bool IsCatFileChanged() const;
    bool IsCmdIdxFileChanged() const;
    // The entries of a scanned index in the order loading adds them: those
    // before the first without a name, in name order (stable, one pass when
    // sorted already). *pnFirstEmpty receives the position of that entry in
    // stored (stored.size() when none). An entry whose name an earlier one
    // has is kept in the order; loading refuses it, a reader skips it.
    static std::vector<const CLCmdIndex*> LoadOrder(const std::vector<CLCmdIndex>& stored,
                                                    size_t* pnFirstEmpty = nullptr);
    // The records of a list file as stored, in file order, without adding
    // them; false when the file cannot be opened or its header is wrong.
    bool ScanCatFile(std::vector<CLCategory>* pCats, CLListScan* pScan);
    bool ScanCmdIdxFile(std::vector<CLCmdIndex>* pEntries, CLListScan* pScan);
    // Write the whole list file to an open file; the caller commits it.
    bool WriteCatFile(CxFile* pFile);
    bool WriteCmdIdxFile(CxFile* pFile);
    // Tells the manager that cldict.dat now holds its index (written by a
    // caller through WriteCmdIdxFile), and clcmd.dat perhaps new records.
    void NoteCmdIdxFileSaved();
    // Closes clcmd.dat, which records are read from while the index stays
    // loaded (a new index, or a new clcmd.dat, closes it).
    void CloseJoinedFile();
    void ClearCatList();
    void ClearCmdIdxList();
    std::string GetCatFileName() const;
    std::string GetCmdIdxFileName() const;

    // One record of the open file (m_pFile); false on a short read or a
    // string too long for its field.
    bool ReadCat(CLCategory* pCat);
    bool WriteCat(const CLCategory* pCat);
    bool ReadCmdIdx(CLCmdIndex* pIdx, bool bLoadRecord);
    bool WriteCmdIdx(const CLCmdIndex* pIdx, bool bSaveRecord);

    // --- command records --------------------------------------------------
    // Zero-fills the record and ties it to pIdx; false for a null record.
    static bool InitCmdRecord(CLCmdIndex* pIdx, CLCmdRecord* pRec);
    // Releases the record's arrays and texts and the record itself; does not
    // touch the owning entry's pRec. False for a null record.
    static bool FreeCmdRecord(CLCmdRecord* pRec);

    // Fills a record fresh from InitCmdRecord from its entry's per-command file
    // (run mode 1) or from the joined file at the entry's position (other run
    // modes). On failure the record is left as initialised and false returned.
    bool ReadCmdRecord(CLCmdRecord* pRec);
    // Reads one record from the file at path: the whole file (nLen is
    // kWholeFile) or the nLen bytes at nPos. *pInfo, when given, says why a
    // read failed (which part, at which byte) or, after a read, how many
    // bytes of the range were left and whether a text held a zero byte.
    static constexpr uint64_t kWholeFile = UINT64_MAX;
    struct ReadInfo
    {
        std::string sWhy;
        uint64_t nLeft = 0;
        bool bNul = false;
    };
    bool ReadCmdRecordFrom(const std::string& path, uint64_t nPos, uint64_t nLen, CLCmdRecord* pRec,
                           ReadInfo* pInfo = nullptr);
    // The same from a file the caller opened (to memory, for many records).
    bool ReadCmdRecordAt(CxFile* pFile, uint64_t nPos, uint64_t nLen, CLCmdRecord* pRec)
    {
        return ReadRecordAt(pFile, nPos, nLen, pRec, nullptr);
    }
    // Whether records come from the per-command files (run mode 1) rather
    // than from clcmd.dat.
    bool ReadsRecordFiles() const { return m_options.ReadsRecordFiles(); }
    // Whether the entry has a stored record to read: a non-empty per-command
    // file (run mode 1) or a place in clcmd.dat. A read that fails for such an
    // entry found a damaged record, not a command without one.
    bool HasStoredRecord(const CLCmdIndex* pIdx) const;
    // The name a stored record's first field holds, read from its first bytes
    // (a record's start is enough); false when they hold no whole name.
    static bool RecordNameOf(std::string_view bytes, std::string* pName);
    // Writes the record to its entry's per-command file, replacing it. False
    // for an unsafe file name, a long text over kMaxLongText, or a failed write.
    // With a batch, the file is written to its temporary and put in place,
    // durable, when the batch is committed.
    bool SaveCmdRecord(CLCmdRecord* pRec, CxFileBatch* pBatch = nullptr);
    // The entry's record: the loaded one, or a new one read now and attached
    // (kept even when the read fails). *pbLoaded tells whether it was loaded
    // here, *pbRead whether the record holds what its file holds (false when
    // a read just now failed).
    CLCmdRecord* AttachCmdRecord(CLCmdIndex* pIdx, bool* pbLoaded = nullptr,
                                 bool* pbRead = nullptr);
    // Frees a record attached by AttachCmdRecord and clears the entry's pRec.
    static void DetachCmdRecord(CLCmdIndex* pIdx);

    bool ReadParams(CLCmdRecord* pRec);
    bool WriteParams(const CLCmdRecord* pRec);
    bool ReadErrors(CLCmdRecord* pRec);
    bool WriteErrors(const CLCmdRecord* pRec);
    bool ReadParam(CLCmdParam* pParam);
    bool WriteParam(const CLCmdParam* pParam);
    bool ReadError(CLCmdError* pError);
    bool WriteError(const CLCmdError* pError);

    // --- names and paths ----------------------------------------------------
    // The per-command file a command's record belongs in, and that build
    // joins for it: NAME.dat.
    static std::string RecordFileName(const std::string& name);
    // A new index entry: the name, NAME.dat, no record in clcmd.dat (dwPos
    // as given, length 0), the category, reserved values 0.
    static CLCmdIndex MakeCmdIdx(const std::string& name, uint32_t dwCatID,
                                 uint32_t dwPos = kNoRecordPos);
    // The per-command file of an entry: program folder + "data/" + szFileName.
    std::string GetCmdRecordFileName(const CLCmdIndex* pIdx) const;
    // The joined file: program folder + "clcmd.dat".
    std::string GetCmdDataFileName() const;
    // The per-command folder: program folder + "data/".
    static std::string GetDataFolder();
    // False for a name that would lead outside its folder: empty, "." or "..",
    // a path separator, or a control character.
    static bool IsSafeFileName(const char* szName);

private:
    // Replaces a list file through a temporary one with what write writes;
    // refuses a file another program changed since it was loaded. False with
    // the reason in m_sSaveError.
    bool SaveListFile(const std::string& path, bool bChangedOnDisk,
                      bool (CLCmdManager::*write)(CxFile*));
    bool ReadLongText(char** ppsz, const char* szWhat);
    bool ReadRecordAt(CxFile* pFile, uint64_t nPos, uint64_t nLen, CLCmdRecord* pRec,
                      ReadInfo* pInfo);
    bool ReadJoinedRecord(uint64_t nPos, uint64_t nLen, CLCmdRecord* pRec);
    bool FieldFailed(const std::string& what);
    void Say(const std::string& text) const;
    // Writes a fixed text field as a string: its text up to the terminator.
    template <size_t N> bool WriteField(const char (&field)[N])
    {
        return m_pFile->WriteString(field, strnlen(field, N - 1));
    }
    bool ReadRecordFields(CLCmdRecord* pRec);
    bool WriteRecordFields(const CLCmdRecord* pRec);
    bool OpenList(const std::string& path, const char* szMagic, CLListScan* pScan);
    template <class T, class ReadOne>
    void ScanRecords(std::vector<T>* pItems, CLListScan* pScan, const char* szWhat,
                     ReadOne readOne);
    static void ClearRecord(CLCmdRecord* pRec);
    // The position at which an entry named szName belongs, walking back from
    // the last entry (one step for a list built in order); *ppSame receives an
    // entry of that name, or null.
    uint32_t CmdIdxInsertPos(const char* szName, CLCmdIndex** ppSame);

    CLOptions m_options;
    CxList* m_pCmdIdxList;
    CxList* m_pCatList;
    CxFile* m_pFile;
    bool m_bQuiet = false;
    bool m_bCatsChanged = false;
    bool m_bIdxChanged = false;
    // The list files as this manager last loaded or saved them.
    CxFileStamp m_catStamp;
    CxFileStamp m_idxStamp;
    std::string m_sSaveError;
    std::string m_sReadWhy; // why the last record read failed
    // clcmd.dat, open for reading records while the index that points into
    // it stays loaded.
    CxFile* m_pJoined = nullptr;
    bool m_bLongTextNul = false; // a long text read held a zero byte
};

#endif
