#include "CLRecordStore.h"

#include "CLCmdManager.h"
#include "CLRecordUtil.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

CLRecordStore::CLRecordStore(CLCmdManager* pManager) : m_pManager(pManager)
{
    for (CLCmdIndex* p = m_pManager->GetFirstCmdIdx(); p; p = m_pManager->GetNextCmdIdx())
        NoteFiles(*p);
}

void CLRecordStore::NoteFiles(const CLCmdIndex& entry)
{
    const std::string name = FieldText(entry.szName);
    for (const std::string& f : {FieldText(entry.szFileName), CLCmdManager::RecordFileName(name)}) {
        std::vector<std::string>& owners = m_files[f];
        if (std::find(owners.begin(), owners.end(), name) == owners.end())
            owners.push_back(name);
    }
}

std::string CLRecordStore::OwnerOf(const std::string& file, const std::string& self) const
{
    auto it = m_files.find(file);
    if (it == m_files.end())
        return {};
    // The command's own files are its own, whichever entry named them.
    for (const std::string& owner : it->second)
        if (owner != self)
            return owner;
    return {};
}

bool CLRecordStore::Put(const CLCmdIndex& entryIn, CLCmdRecord* pRec, std::string* pWhy,
                        bool* pbWriteFailed)
{
    if (pbWriteFailed)
        *pbWriteFailed = false;
    CLCmdIndex entry = entryIn;
    entry.pRec = nullptr;
    const std::string name = FieldText(entry.szName);
    const std::string own = CLCmdManager::RecordFileName(name);
    const std::string file = FieldText(entry.szFileName);
    for (const std::string& f : {file, own}) {
        const std::string owner = OwnerOf(f, name);
        if (!owner.empty()) {
            *pWhy = "the file \"" + Printable(f) + "\" belongs to the command \"" +
                    Printable(owner) + "\"";
            return false;
        }
    }
    // The entry's file, then NAME.dat when that is another file.
    CLCmdIndex copy = entry;
    CopyField(copy.szFileName, own);
    CLCmdIndex* const pOldIdx = pRec->pIdx;
    for (CLCmdIndex* p : {&entry, &copy}) {
        if (p == &copy && file == own)
            break;
        pRec->pIdx = p;
        const std::string target = m_pManager->GetCmdRecordFileName(p);
        std::error_code ec;
        const bool bNew = !fs::exists(fs::symlink_status(target, ec));
        if (!m_pManager->SaveCmdRecord(pRec)) {
            pRec->pIdx = pOldIdx;
            *pWhy = "the file \"" + target + "\" cannot be written";
            if (pbWriteFailed)
                *pbWriteFailed = true;
            return false;
        }
        if (bNew)
            m_created.push_back(target);
    }
    pRec->pIdx = pOldIdx;
    NoteFiles(entry);

    CLCmdIndex* pIdx = m_pManager->FindCmdIdx(name.c_str());
    if (!pIdx) {
        m_pManager->AddCmdIdx(&entry);
        m_added.push_back(name);
        m_bIndexChanged = true;
    } else if (std::memcmp(pIdx->szFileName, entry.szFileName, sizeof entry.szFileName) != 0 ||
               pIdx->dwCatID != entry.dwCatID || pIdx->dwReserved1 != entry.dwReserved1 ||
               pIdx->dwReserved2 != entry.dwReserved2) {
        std::memcpy(pIdx->szFileName, entry.szFileName, sizeof entry.szFileName);
        pIdx->dwCatID = entry.dwCatID;
        pIdx->dwReserved1 = entry.dwReserved1;
        pIdx->dwReserved2 = entry.dwReserved2;
        m_bIndexChanged = true;
    }
    return true;
}

bool CLRecordStore::Commit(std::string* pWhy)
{
    if (!m_bIndexChanged)
        return true;
    if (!m_pManager->SaveCmdIdxList()) {
        *pWhy = m_pManager->GetSaveError();
        Rollback();
        return false;
    }
    m_bIndexChanged = false;
    m_created.clear();
    return true;
}

void CLRecordStore::Rollback()
{
    for (const std::string& path : m_created)
        std::remove(path.c_str());
    for (const std::string& name : m_added)
        m_pManager->DeleteCmdIdx(m_pManager->FindCmdIdx(name.c_str()));
    m_created.clear();
    m_bIndexChanged = false;
}

bool CLRecordStore::Rename(CLCmdManager* pManager, CLCmdIndex* pIdx, const std::string& newName,
                           std::string* pWhy)
{
    CLCmdRecord* pRec = pIdx->pRec;
    if (!CLCmdManager::IsCLName(newName.c_str())) {
        *pWhy = CLCmdManager::kInvalidCmdName;
        return false;
    }
    CLCmdIndex* pOther = pManager->FindCmdIdx(newName.c_str());
    if (pOther && pOther != pIdx) {
        *pWhy = CLCmdManager::DuplicateCmdMessage(newName.c_str());
        return false;
    }
    // NEWNAME.dat is written first, under the new name; the entry follows
    // only once it is there.
    CLCmdIndex target = *pIdx;
    CopyField(target.szFileName, CLCmdManager::RecordFileName(newName));
    const std::string oldName = FieldText(pRec->szName);
    CopyField(pRec->szName, newName);
    pRec->pIdx = &target;
    const bool bSaved = pManager->SaveCmdRecord(pRec);
    pRec->pIdx = pIdx;
    if (!bSaved) {
        CopyField(pRec->szName, oldName);
        *pWhy = "The file \"" + pManager->GetCmdRecordFileName(&target) + "\" cannot be written.";
        return false;
    }
    const std::string oldPath = pManager->GetCmdRecordFileName(pIdx);
    const std::string oldFile = FieldText(pIdx->szFileName);
    const std::string newPath = pManager->GetCmdRecordFileName(&target);
    pManager->RenameCmdIdx(pIdx, newName.c_str());
    // The index names the new file before the old one may go: a rename is
    // written through at once.
    if (!pManager->SaveCmdIdxList()) {
        *pWhy = pManager->GetSaveError();
        pManager->RenameCmdIdx(pIdx, oldName.c_str());
        CopyField(pIdx->szFileName, oldFile);
        if (newPath != oldPath)
            std::remove(newPath.c_str());
        return false;
    }
    // The old file would give a command added later under the old name a
    // record that is not its own: it goes, unless another entry reads it or
    // build joins it for another command.
    bool bUsed = false;
    for (CLCmdIndex* p = pManager->GetFirstCmdIdx(); p && !bUsed; p = pManager->GetNextCmdIdx())
        bUsed = p != pIdx && (FieldText(p->szFileName) == oldFile ||
                              CLCmdManager::RecordFileName(FieldText(p->szName)) == oldFile);
    if (!bUsed && oldPath != pManager->GetCmdRecordFileName(pIdx))
        std::remove(oldPath.c_str());
    return true;
}
