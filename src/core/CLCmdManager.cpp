// The manager's lists: construction, walking, adding and deleting, and the
// category and index files. Command records are in CLCmdRecordIO.cpp.
#include "CLCmdManager.h"

#include "CLMessage.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"
#include "CxList.h"
#include "WinUtil.h"

#include <cstring>
#include <new>

namespace {

constexpr uint32_t kFormatVersion = 10000;
constexpr const char* kCatMagic = "CLCAT";
constexpr const char* kIdxMagic = "CLDICT";

std::string Quoted(const char* fmt, const char* name)
{
    std::string s(fmt);
    size_t at = s.find("%s");
    s.replace(at, 2, name);
    return s;
}

} // namespace

CLCmdManager::CLCmdManager()
{
    m_pCatList = new (std::nothrow) CxList;
    CX_ASSERT(m_pCatList != nullptr);
    m_pCmdIdxList = new (std::nothrow) CxList;
    CX_ASSERT(m_pCmdIdxList != nullptr);
    m_pFile = new (std::nothrow) CxFile;
    CX_ASSERT(m_pFile != nullptr);
}

CLCmdManager::~CLCmdManager()
{
    ClearCatList();
    delete m_pCatList;
    ClearCmdIdxList();
    delete m_pCmdIdxList;
    delete m_pFile;
}

bool CLCmdManager::LoadAll()
{
    return LoadCatList() && LoadCmdIdxList();
}

bool CLCmdManager::SaveAll()
{
    return SaveCmdIdxList() && SaveCatList();
}

// --- categories -------------------------------------------------------------

CLCategory* CLCmdManager::GetFirstCat()
{
    CX_ASSERT(m_pCatList != nullptr);
    return static_cast<CLCategory*>(m_pCatList->GetFirst());
}

CLCategory* CLCmdManager::GetNextCat()
{
    CX_ASSERT(m_pCatList != nullptr);
    return static_cast<CLCategory*>(m_pCatList->GetNext());
}

uint32_t CLCmdManager::GetCatCount() const
{
    return m_pCatList->GetCount();
}

CLCategory* CLCmdManager::FindCat(uint32_t id)
{
    for (CLCategory* p = GetFirstCat(); p; p = GetNextCat())
        if (p->dwID == id)
            return p;
    return nullptr;
}

CLCategory* CLCmdManager::AddCat(const CLCategory* pCat)
{
    if (!pCat)
        return nullptr;
    if (pCat->szName[0] == 0) {
        ShowMessage("Invalid CL Command Category Name.");
        return nullptr;
    }
    CLCategory* pCopy = new (std::nothrow) CLCategory;
    if (!pCopy)
        return nullptr;
    std::memcpy(pCopy, pCat, sizeof(CLCategory));
    pCopy->szName[sizeof(pCopy->szName) - 1] = 0;
    pCopy->szFileName[sizeof(pCopy->szFileName) - 1] = 0;

    // Walk back from the last category: a list loaded in order costs one step.
    uint32_t n = m_pCatList->GetCount();
    for (auto* p = static_cast<CLCategory*>(m_pCatList->GetLast()); p;
         p = static_cast<CLCategory*>(m_pCatList->GetPrev())) {
        if (pCopy->dwID > p->dwID)
            break;
        if (pCopy->dwID == p->dwID) {
            ShowMessage(
                Quoted("CL Command category \"%s\" is already in the database.", pCopy->szName));
            delete pCopy;
            return p;
        }
        --n;
    }
    m_pCatList->InsertAt(n, pCopy);
    m_bCatsChanged = true;
    return pCopy;
}

bool CLCmdManager::DeleteCat(CLCategory* pCat)
{
    if (!pCat || !m_pCatList->Remove(pCat, false))
        return false;
    delete pCat;
    m_bCatsChanged = true;
    return true;
}

void CLCmdManager::ClearCatList()
{
    for (CLCategory* p = GetFirstCat(); p; p = GetNextCat())
        delete p;
    m_pCatList->RemoveAll(false);
}

// --- command index ------------------------------------------------------------

CLCmdIndex* CLCmdManager::GetFirstCmdIdx()
{
    CX_ASSERT(m_pCmdIdxList != nullptr);
    return static_cast<CLCmdIndex*>(m_pCmdIdxList->GetFirst());
}

CLCmdIndex* CLCmdManager::GetNextCmdIdx()
{
    CX_ASSERT(m_pCmdIdxList != nullptr);
    return static_cast<CLCmdIndex*>(m_pCmdIdxList->GetNext());
}

uint32_t CLCmdManager::GetCmdIdxCount() const
{
    return m_pCmdIdxList->GetCount();
}

CLCmdIndex* CLCmdManager::FindCmdIdx(const char* szName)
{
    if (!szName)
        return nullptr;
    for (CLCmdIndex* p = GetFirstCmdIdx(); p; p = GetNextCmdIdx())
        if (std::strcmp(p->szName, szName) == 0)
            return p;
    return nullptr;
}

CLCmdIndex* CLCmdManager::AddCmdIdx(const CLCmdIndex* pIdx)
{
    if (!pIdx)
        return nullptr;
    if (pIdx->szName[0] == 0) {
        ShowMessage(kInvalidCmdName);
        return nullptr;
    }
    CLCmdIndex* pCopy = new (std::nothrow) CLCmdIndex;
    if (!pCopy)
        return nullptr;
    std::memcpy(pCopy, pIdx, sizeof(CLCmdIndex));
    pCopy->szName[sizeof(pCopy->szName) - 1] = 0;
    pCopy->szFileName[sizeof(pCopy->szFileName) - 1] = 0;

    CLCmdIndex* pSame = nullptr;
    uint32_t n = CmdIdxInsertPos(pCopy->szName, &pSame);
    if (pSame) {
        ShowMessage(DuplicateCmdMessage(pCopy->szName));
        delete pCopy;
        return pSame;
    }
    m_pCmdIdxList->InsertAt(n, pCopy);
    m_bIdxChanged = true;
    // A carried record now belongs to the stored copy.
    if (pCopy->pRec && (pCopy->pRec->pIdx == nullptr || pCopy->pRec->pIdx == pIdx))
        pCopy->pRec->pIdx = pCopy;
    return pCopy;
}

uint32_t CLCmdManager::CmdIdxInsertPos(const char* szName, CLCmdIndex** ppSame)
{
    // strcmp compares as unsigned bytes: uppercase before lowercase, a prefix first.
    *ppSame = nullptr;
    uint32_t n = m_pCmdIdxList->GetCount();
    for (auto* p = static_cast<CLCmdIndex*>(m_pCmdIdxList->GetLast()); p;
         p = static_cast<CLCmdIndex*>(m_pCmdIdxList->GetPrev())) {
        int cmp = std::strcmp(szName, p->szName);
        if (cmp > 0)
            break;
        if (cmp == 0) {
            *ppSame = p;
            break;
        }
        --n;
    }
    return n;
}

bool CLCmdManager::RenameCmdIdx(CLCmdIndex* pIdx, const char* szNewName)
{
    if (!pIdx || !szNewName || !*szNewName || std::strlen(szNewName) >= sizeof(pIdx->szName))
        return false;
    const std::string file = std::string(szNewName) + ".dat";
    if (!IsSafeFileName(szNewName) || !IsSafeFileName(file.c_str()))
        return false;
    CLCmdIndex* pSame = nullptr;
    CmdIdxInsertPos(szNewName, &pSame);
    if (pSame == pIdx && std::strcmp(pIdx->szFileName, file.c_str()) == 0)
        return true;
    if (pSame && pSame != pIdx)
        return false;
    if (!m_pCmdIdxList->Remove(pIdx, false))
        return false;
    CopyField(pIdx->szName, szNewName);
    CopyField(pIdx->szFileName, file);
    if (pIdx->pRec)
        CopyField(pIdx->pRec->szName, szNewName);
    m_pCmdIdxList->InsertAt(CmdIdxInsertPos(szNewName, &pSame), pIdx);
    m_bIdxChanged = true;
    return true;
}

bool CLCmdManager::IsCLName(const char* szName)
{
    if (!szName)
        return false;
    size_t n = std::strlen(szName);
    if (n == 0 || n > 10)
        return false;
    auto first = [](char c) { return (c >= 'A' && c <= 'Z') || c == '$' || c == '#' || c == '@'; };
    if (!first(szName[0]))
        return false;
    for (size_t i = 1; i < n; ++i)
        if (!first(szName[i]) && !(szName[i] >= '0' && szName[i] <= '9') && szName[i] != '_')
            return false;
    return true;
}

std::string CLCmdManager::DuplicateCmdMessage(const char* szName)
{
    return Quoted("CL Command \"%s\" is already in the database.", szName);
}

bool CLCmdManager::DeleteCmdIdx(CLCmdIndex* pIdx)
{
    if (!pIdx || !m_pCmdIdxList->Remove(pIdx, false))
        return false;
    FreeCmdRecord(pIdx->pRec);
    delete pIdx;
    m_bIdxChanged = true;
    return true;
}

void CLCmdManager::ClearCmdIdxList()
{
    for (CLCmdIndex* p = GetFirstCmdIdx(); p; p = GetNextCmdIdx()) {
        FreeCmdRecord(p->pRec);
        delete p;
    }
    m_pCmdIdxList->RemoveAll(false);
}

// --- the two list files -------------------------------------------------------

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
bool CLCmdManager::OpenList(const std::string& path, const char* szMagic)
{
    if (!m_pFile->Open(path.c_str(), "rb"))
        return false;
    char szWord[32] = {};
    uint32_t dwVersion = 0;
    if (m_pFile->ReadString(szWord) && std::strcmp(szWord, szMagic) == 0 &&
        m_pFile->ReadDWORD(&dwVersion) && dwVersion == kFormatVersion)
        return true;
    m_pFile->Close();
    return false;
}

bool CLCmdManager::LoadCatList()
{
    ClearCatList();
    m_bCatsChanged = false;
    if (!OpenList(GetCatFileName(), kCatMagic))
        return false;
    uint32_t nCount = 0;
    m_pFile->ReadDWORD(&nCount);
    // A record that is cut short ends the load; the whole ones before it stay.
    for (uint32_t i = 0; i < nCount; ++i) {
        CLCategory cat{};
        if (!ReadCat(&cat) || !AddCat(&cat))
            break;
    }
    m_pFile->Close();
    m_bCatsChanged = false;
    return true;
}

bool CLCmdManager::LoadCmdIdxList()
{
    ClearCmdIdxList();
    m_bIdxChanged = false;
    if (!OpenList(GetCmdIdxFileName(), kIdxMagic))
        return false;
    uint32_t nCount = 0;
    m_pFile->ReadDWORD(&nCount);
    for (uint32_t i = 0; i < nCount; ++i) {
        CLCmdIndex idx;
        if (!ReadCmdIdx(&idx, false) || !AddCmdIdx(&idx))
            break;
    }
    m_pFile->Close();
    m_bIdxChanged = false;
    return true;
}

bool CLCmdManager::SaveCatList()
{
    if (!m_pFile->OpenReplace(GetCatFileName().c_str()))
        return false;
    m_pFile->WriteString(kCatMagic);
    m_pFile->WriteDWORD(kFormatVersion);
    m_pFile->WriteDWORD(m_pCatList->GetCount());
    for (CLCategory* p = GetFirstCat(); p; p = GetNextCat())
        WriteCat(p);
    if (!m_pFile->Commit())
        return false;
    m_bCatsChanged = false;
    return true;
}

bool CLCmdManager::SaveCmdIdxList()
{
    if (!m_pFile->OpenReplace(GetCmdIdxFileName().c_str()))
        return false;
    m_pFile->WriteString(kIdxMagic);
    m_pFile->WriteDWORD(kFormatVersion);
    m_pFile->WriteDWORD(m_pCmdIdxList->GetCount());
    for (CLCmdIndex* p = GetFirstCmdIdx(); p; p = GetNextCmdIdx())
        if (!WriteCmdIdx(p, false))
            break;
    if (!m_pFile->Commit())
        return false;
    m_bIdxChanged = false;
    return true;
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
    return m_pFile->WriteDWORD(pCat->dwID) && m_pFile->WriteString(FieldText(pCat->szName)) &&
           m_pFile->WriteString(FieldText(pCat->szFileName));
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
    bool ok = m_pFile->WriteString(FieldText(pIdx->szName)) &&
              m_pFile->WriteString(FieldText(pIdx->szFileName)) &&
              m_pFile->WriteDWORD(pIdx->dwPos) && m_pFile->WriteDWORD(pIdx->dwLength) &&
              m_pFile->WriteDWORD(pIdx->dwCatID) && m_pFile->WriteDWORD(pIdx->dwReserved1) &&
              m_pFile->WriteDWORD(pIdx->dwReserved2);
    if (ok && bSaveRecord && pIdx->pRec)
        ok = SaveCmdRecord(pIdx->pRec);
    return ok;
}
