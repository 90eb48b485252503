// The manager's lists: construction, walking, adding and deleting. The list
// files are in CLListFileIO.cpp, command records in CLCmdRecordIO.cpp.
#include "CLCmdManager.h"

#include "CLFormat.h"

#include "CLMessage.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"
#include "CxList.h"
#include "WinUtil.h"

#include <cstring>
#include <new>

namespace {

std::string Quoted(const char* fmt, const char* name)
{
    std::string s(fmt);
    size_t at = s.find("%s");
    s.replace(at, 2, name);
    return s;
}

} // namespace

void CLCmdManager::Say(const std::string& text) const
{
    if (!m_bQuiet)
        ShowMessage(text);
}

CLCmdManager::CLCmdManager(const CLOptions& options) : m_options(options)
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
    CloseJoinedFile();
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
        Say("Invalid CL Command Category Name.");
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
            Say(Quoted("CL Command category \"%s\" is already in the database.", pCopy->szName));
            delete pCopy;
            return p;
        }
        --n;
    }
    m_pCatList->InsertAt(n, pCopy);
    m_bCatsChanged = true;
    return pCopy;
}

CLCatFault CLCmdManager::CheckCategory(const CLCategory& cat)
{
    if (cat.dwID < CLFormat::kMinCatID)
        return CLCatFault::ID;
    if (cat.szName[0] == 0)
        return CLCatFault::Name;
    return CLCatFault::None;
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
        Say(kInvalidCmdName);
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
        Say(DuplicateCmdMessage(pCopy->szName));
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
    const std::string file = RecordFileName(szNewName);
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
    if (n == 0 || n > CLFormat::kCmdName)
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
