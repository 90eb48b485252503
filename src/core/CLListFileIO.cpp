// The category file clcat.dat and the index file cldict.dat:
//   magic word (string), version (32-bit), count (32-bit), the records.
// A category is its id (32-bit), name and file name (strings); an index entry
// is its name and file name (strings) and five 32-bit values.
//
// Loading scans the records in file order, then adds them in sorted order, so
// that a file in any order loads with one step per record.
#include "CLCmdManager.h"

#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"
#include "CxList.h"
#include "CxMemory.h"
#include "WinUtil.h"

#include <algorithm>
#include <cstring>

std::string CLCmdManager::GetCatFileName() const
{
    return AppFile("clcat.dat");
}

std::string CLCmdManager::GetCmdIdxFileName() const
{
    return AppFile("cldict.dat");
}

// Opens a list file and checks its magic word and version; on failure the
// file is closed again.
bool CLCmdManager::OpenList(const std::string& path, const char* szMagic, CLListScan* pScan)
{
    // A list is read whole, then field by field from memory.
    if (!m_pFile->OpenToMemory(path.c_str()))
        return false;
    pScan->bOpened = true;
    char szWord[CLFormat::kMaxMagic + 1] = {};
    uint32_t dwVersion = 0;
    if (m_pFile->ReadString(szWord) && std::strcmp(szWord, szMagic) == 0 &&
        m_pFile->ReadDWORD(&dwVersion) && dwVersion == CLFormat::kVersion) {
        pScan->bHeader = true;
        return true;
    }
    m_pFile->Close();
    return false;
}

// Reads the count and the records of an open list file; the records that are
// whole are kept, and pScan says where and why the rest ends.
template <class T, class ReadOne>
void CLCmdManager::ScanRecords(std::vector<T>* pItems, CLListScan* pScan, const char* szWhat,
                               ReadOne readOne)
{
    if (!m_pFile->ReadDWORD(&pScan->nCount)) {
        pScan->sCut = "the count: " + m_pFile->ReadError();
        m_pFile->Close();
        return;
    }
    // Never reserve more than the rest of the file could hold.
    pItems->reserve(std::min<uint64_t>(pScan->nCount, m_pFile->Remaining() / 8));
    // Readied whole only when the file holds the bytes of so many items: a
    // count that lies takes no more memory than the file's size says.
    const uint64_t nBytes = uint64_t(pItems->capacity()) * sizeof(T);
    if (nBytes <= 4 * m_pFile->Remaining())
        CxMemory::PrepareToFill(pItems->data(), static_cast<size_t>(nBytes));
    for (uint32_t i = 0; i < pScan->nCount; ++i) {
        T item{};
        uint32_t nNuls = m_pFile->NulStrings();
        if (!readOne(&item)) {
            pScan->sCut = std::string(szWhat) + " " + std::to_string(i + 1) + " of " +
                          std::to_string(pScan->nCount) + ": " + m_pFile->ReadError();
            break;
        }
        if (m_pFile->NulStrings() != nNuls)
            pScan->nulRecords.push_back(i + 1);
        pItems->push_back(item);
    }
    if (pScan->sCut.empty())
        pScan->nTrailing = m_pFile->Remaining();
    m_pFile->Close();
}

bool CLCmdManager::ScanCatFile(std::vector<CLCategory>* pCats, CLListScan* pScan)
{
    *pScan = CLListScan{};
    pCats->clear();
    if (!OpenList(GetCatFileName(), CLFormat::kCatMagic, pScan))
        return false;
    ScanRecords(pCats, pScan, "category", [this](CLCategory* p) { return ReadCat(p); });
    return true;
}

bool CLCmdManager::ScanCmdIdxFile(std::vector<CLCmdIndex>* pEntries, CLListScan* pScan)
{
    *pScan = CLListScan{};
    pEntries->clear();
    if (!OpenList(GetCmdIdxFileName(), CLFormat::kIdxMagic, pScan))
        return false;
    ScanRecords(pEntries, pScan, "entry", [this](CLCmdIndex* p) { return ReadCmdIdx(p, false); });
    return true;
}

bool CLCmdManager::LoadCatList()
{
    ClearCatList();
    m_bCatsChanged = false;
    std::vector<CLCategory> cats;
    CLListScan scan;
    bool ok = ScanCatFile(&cats, &scan);
    m_catStamp = CxFile::Stamp(GetCatFileName().c_str());
    if (!ok)
        return false;
    // Loading stops at the first category without a name, as stored.
    auto firstEmpty = std::find_if(cats.begin(), cats.end(),
                                   [](const CLCategory& c) { return c.szName[0] == 0; });
    size_t nKeep = static_cast<size_t>(firstEmpty - cats.begin());
    auto byId = [](const CLCategory& a, const CLCategory& b) { return a.dwID < b.dwID; };
    if (!std::is_sorted(cats.begin(), firstEmpty, byId)) // as saved: one pass
        std::stable_sort(cats.begin(), firstEmpty, byId);
    for (size_t i = 0; i < nKeep; ++i)
        AddCat(&cats[i]);
    if (nKeep < cats.size())
        AddCat(&cats[nKeep]); // says why loading stopped
    m_bCatsChanged = false;
    return true;
}

bool CLCmdManager::LoadCmdIdxList()
{
    CloseJoinedFile(); // its positions belong to the index loaded with it
    ClearCmdIdxList();
    m_bIdxChanged = false;
    std::vector<CLCmdIndex> entries;
    CLListScan scan;
    bool ok = ScanCmdIdxFile(&entries, &scan);
    m_idxStamp = CxFile::Stamp(GetCmdIdxFileName().c_str());
    if (!ok)
        return false;
    size_t nFirstEmpty = 0;
    for (const CLCmdIndex* p : LoadOrder(entries, &nFirstEmpty))
        AddCmdIdx(p); // an entry whose name is taken is refused, with its message
    if (nFirstEmpty < entries.size())
        AddCmdIdx(&entries[nFirstEmpty]); // says why loading stopped
    m_bIdxChanged = false;
    return true;
}

std::vector<const CLCmdIndex*> CLCmdManager::LoadOrder(const std::vector<CLCmdIndex>& stored,
                                                       size_t* pnFirstEmpty)
{
    auto firstEmpty = std::find_if(stored.begin(), stored.end(),
                                   [](const CLCmdIndex& e) { return e.szName[0] == 0; });
    if (pnFirstEmpty)
        *pnFirstEmpty = static_cast<size_t>(firstEmpty - stored.begin());
    std::vector<const CLCmdIndex*> order;
    order.reserve(static_cast<size_t>(firstEmpty - stored.begin()));
    for (auto it = stored.begin(); it != firstEmpty; ++it)
        order.push_back(&*it);
    auto byName = [](const CLCmdIndex* a, const CLCmdIndex* b) {
        return std::strcmp(a->szName, b->szName) < 0;
    };
    if (!std::is_sorted(order.begin(), order.end(), byName)) // as saved: one pass
        std::stable_sort(order.begin(), order.end(), byName);
    return order;
}

bool CLCmdManager::IsCatFileChanged() const
{
    return m_catStamp.bKnown && CxFile::Stamp(GetCatFileName().c_str()) != m_catStamp;
}

bool CLCmdManager::IsCmdIdxFileChanged() const
{
    return m_idxStamp.bKnown && CxFile::Stamp(GetCmdIdxFileName().c_str()) != m_idxStamp;
}

bool CLCmdManager::WriteCatFile(CxFile* pFile)
{
    CxFile* pOld = m_pFile;
    m_pFile = pFile;
    bool ok = pFile->WriteString(CLFormat::kCatMagic) && pFile->WriteDWORD(CLFormat::kVersion) &&
              pFile->WriteDWORD(m_pCatList->GetCount());
    for (CLCategory* p = GetFirstCat(); ok && p; p = GetNextCat())
        ok = WriteCat(p);
    m_pFile = pOld;
    return ok;
}

bool CLCmdManager::WriteCmdIdxFile(CxFile* pFile)
{
    CxFile* pOld = m_pFile;
    m_pFile = pFile;
    bool ok = pFile->WriteString(CLFormat::kIdxMagic) && pFile->WriteDWORD(CLFormat::kVersion) &&
              pFile->WriteDWORD(m_pCmdIdxList->GetCount());
    for (CLCmdIndex* p = GetFirstCmdIdx(); ok && p; p = GetNextCmdIdx())
        ok = WriteCmdIdx(p, false);
    m_pFile = pOld;
    return ok;
}

bool CLCmdManager::SaveListFile(const std::string& path, bool bChangedOnDisk,
                                bool (CLCmdManager::*write)(CxFile*))
{
    if (bChangedOnDisk) {
        m_sSaveError = "The file \"" + path +
                       "\" was changed by another program since it was loaded; it was not "
                       "overwritten.";
        return false;
    }
    m_sSaveError = "The file \"" + path + "\" cannot be written.";
    CxFile file;
    if (!file.OpenReplace(path.c_str()) || !(this->*write)(&file) || !file.Commit())
        return false;
    m_sSaveError.clear();
    return true;
}

bool CLCmdManager::SaveCatList()
{
    const std::string path = GetCatFileName();
    if (!SaveListFile(path, IsCatFileChanged(), &CLCmdManager::WriteCatFile))
        return false;
    m_catStamp = CxFile::Stamp(path.c_str());
    m_bCatsChanged = false;
    return true;
}

bool CLCmdManager::SaveCmdIdxList()
{
    if (!SaveListFile(GetCmdIdxFileName(), IsCmdIdxFileChanged(), &CLCmdManager::WriteCmdIdxFile))
        return false;
    NoteCmdIdxFileSaved();
    return true;
}

void CLCmdManager::NoteCmdIdxFileSaved()
{
    CloseJoinedFile();
    m_idxStamp = CxFile::Stamp(GetCmdIdxFileName().c_str());
    m_bIdxChanged = false;
}

bool CLCmdManager::ReadCat(CLCategory* pCat)
{
    CX_ASSERT(pCat != nullptr);
    return m_pFile->ReadDWORD(&pCat->dwID) && m_pFile->ReadString(pCat->szName) &&
           m_pFile->ReadString(pCat->szFileName);
}

bool CLCmdManager::WriteCat(const CLCategory* pCat)
{
    CX_ASSERT(pCat != nullptr);
    return m_pFile->WriteDWORD(pCat->dwID) && WriteField(pCat->szName) &&
           WriteField(pCat->szFileName);
}

bool CLCmdManager::ReadCmdIdx(CLCmdIndex* pIdx, bool bLoadRecord)
{
    CX_ASSERT(pIdx != nullptr);
    std::memset(pIdx, 0, sizeof(CLCmdIndex));
    bool ok = m_pFile->ReadString(pIdx->szName) && m_pFile->ReadString(pIdx->szFileName) &&
              m_pFile->ReadDWORD(&pIdx->dwPos) && m_pFile->ReadDWORD(&pIdx->dwLength) &&
              m_pFile->ReadDWORD(&pIdx->dwCatID) && m_pFile->ReadDWORD(&pIdx->dwReserved1) &&
              m_pFile->ReadDWORD(&pIdx->dwReserved2);
    if (ok && bLoadRecord)
        AttachCmdRecord(pIdx);
    return ok;
}

bool CLCmdManager::WriteCmdIdx(const CLCmdIndex* pIdx, bool bSaveRecord)
{
    CX_ASSERT(pIdx != nullptr);
    bool ok = WriteField(pIdx->szName) && WriteField(pIdx->szFileName) &&
              m_pFile->WriteDWORD(pIdx->dwPos) && m_pFile->WriteDWORD(pIdx->dwLength) &&
              m_pFile->WriteDWORD(pIdx->dwCatID) && m_pFile->WriteDWORD(pIdx->dwReserved1) &&
              m_pFile->WriteDWORD(pIdx->dwReserved2);
    if (ok && bSaveRecord && pIdx->pRec)
        ok = SaveCmdRecord(pIdx->pRec);
    return ok;
}
