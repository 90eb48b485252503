#include "CLCmdDefImport.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "CxFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

namespace {

struct RecordOwner
{
    CLCmdRecord* p;
    ~RecordOwner() { CLCmdManager::FreeCmdRecord(p); }
};

bool SameParam(const CLCmdParam& a, const CLCmdParam& b)
{
    return std::strcmp(a.szDesc, b.szDesc) == 0 && std::strcmp(a.szChoices, b.szChoices) == 0 &&
           std::strcmp(a.szNote, b.szNote) == 0;
}

std::string Join(const std::vector<std::string>& v)
{
    std::string out;
    for (const std::string& s : v)
        out += (out.empty() ? "" : ", ") + s;
    return out;
}

} // namespace

std::string CLCmdDefChange::Summary() const
{
    if (bNew)
        return name + ": new command, " + std::to_string(nParams) +
               (nParams == 1 ? " parameter" : " parameters");
    std::vector<std::string> parts;
    if (!added.empty())
        parts.push_back("added " + Join(added));
    if (!removed.empty())
        parts.push_back("removed " + Join(removed));
    if (!changed.empty())
        parts.push_back("changed " + Join(changed));
    if (parts.empty())
        return name + ": no change";
    std::string out = name + ": parameters ";
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? "; " : "") + parts[i];
    return out;
}

CLCmdDefImport::CLCmdDefImport(CLCmdManager* pManager, uint32_t dwCategory)
    : m_pManager(pManager), m_dwCategory(dwCategory), m_store(pManager)
{
}

bool CLCmdDefImport::Check(const CLCmdDefinition& def, std::string* pWhy) const
{
    if (!CLCmdManager::IsCLName(def.name.c_str())) {
        *pWhy = "the command name \"" + Printable(def.name) + "\" is not a CL name";
        return false;
    }
    std::set<std::string> seen;
    for (size_t i = 0; i < def.parms.size(); ++i) {
        const CLCmdDefParm& p = def.parms[i];
        const std::string where = "parameter " + std::to_string(i + 1);
        if (p.keyword.empty()) {
            *pWhy = where + " has no keyword";
            return false;
        }
        if (p.keyword.size() > CLFormat::kKeyword || !CLCmdManager::IsCLName(p.keyword.c_str())) {
            *pWhy = where + ": the keyword \"" + Printable(p.keyword) +
                    "\" is not a CL name of at most 10 characters";
            return false;
        }
        if (!seen.insert(p.keyword).second) {
            *pWhy = "the keyword " + p.keyword + " appears twice";
            return false;
        }
    }
    if (def.parms.size() > kMaxParms) {
        *pWhy = "more than " + std::to_string(kMaxParms) + " parameters";
        return false;
    }
    return true;
}

bool CLCmdDefImport::Import(const CLCmdDefinition& def, CLCmdDefChange* pChange, std::string* pWhy)
{
    return Take(def, pChange, pWhy, true);
}

bool CLCmdDefImport::Preview(const CLCmdDefinition& def, CLCmdDefChange* pChange,
                             std::string* pWhy)
{
    return Take(def, pChange, pWhy, false);
}

bool CLCmdDefImport::Take(const CLCmdDefinition& def, CLCmdDefChange* pChange, std::string* pWhy,
                          bool bWrite)
{
    *pChange = CLCmdDefChange();
    pChange->name = def.name;
    if (!Check(def, pWhy))
        return false;
    std::vector<CLCmdParam> params = CLCmdDef::Parameters(def);
    pChange->nParams = params.size();

    CLCmdIndex* pIdx = m_pManager->FindCmdIdx(def.name.c_str());
    CLCmdIndex entry{};
    RecordOwner rec{new CLCmdRecord};
    CLCmdManager::InitCmdRecord(&entry, rec.p);
    if (pIdx) {
        std::memcpy(&entry, pIdx, sizeof entry);
        entry.pRec = nullptr;
        if (!CLCmdManager::IsSafeFileName(entry.szFileName)) {
            *pWhy = "the command's file name \"" + Printable(FieldText(entry.szFileName)) +
                    "\" is not safe";
            return false;
        }
        // Its own record, as authoring keeps it: every other field stays.
        const std::string path = m_pManager->GetCmdRecordFileName(&entry);
        CLCmdManager::ReadInfo info;
        if (CxFile::FileSize(path.c_str()) >= 0 &&
            !m_pManager->ReadCmdRecordFrom(path, 0, CLCmdManager::kWholeFile, rec.p, &info)) {
            *pWhy = "the record \"" + path + "\" cannot be read (" + info.sWhy + ")";
            return false;
        }
        rec.p->pIdx = &entry;
        if (rec.p->szName[0] == 0) {
            CopyField(rec.p->szName, def.name);
            CopyField(rec.p->szDesc, def.prompt);
        }
    } else {
        pChange->bNew = true;
        entry = CLCmdManager::MakeCmdIdx(def.name, m_dwCategory);
        CopyField(rec.p->szName, def.name);
        CopyField(rec.p->szDesc, def.prompt);
    }

    // What changes, keyword by keyword.
    for (const CLCmdParam& n : params) {
        const CLCmdParam* pOld = nullptr;
        for (uint32_t i = 0; i < rec.p->dwParamCount && !pOld; ++i)
            if (std::strcmp(rec.p->pParams[i].szKeyword, n.szKeyword) == 0)
                pOld = &rec.p->pParams[i];
        if (!pOld)
            pChange->added.push_back(n.szKeyword);
        else if (!SameParam(*pOld, n))
            pChange->changed.push_back(n.szKeyword);
    }
    for (uint32_t i = 0; i < rec.p->dwParamCount; ++i)
        if (std::none_of(params.begin(), params.end(), [&](const CLCmdParam& n) {
                return std::strcmp(n.szKeyword, rec.p->pParams[i].szKeyword) == 0;
            }))
            pChange->removed.push_back(rec.p->pParams[i].szKeyword);
    if (pChange->bNew)
        pChange->added.clear();

    delete[] rec.p->pParams;
    rec.p->pParams = nullptr;
    rec.p->dwParamCount = static_cast<uint32_t>(params.size());
    if (!params.empty()) {
        rec.p->pParams = new CLCmdParam[params.size()];
        std::copy(params.begin(), params.end(), rec.p->pParams);
    }
    if (!bWrite)
        return true;
    if (!m_store.Put(entry, rec.p, pWhy))
        return false;
    // A record the window shows is read again when next shown.
    if (pIdx)
        CLCmdManager::DetachCmdRecord(pIdx);
    return true;
}

bool CLCmdDefImport::Finish(std::string* pWhy)
{
    const std::vector<std::string> added = m_store.Added();
    if (m_store.Commit(pWhy))
        return true;
    // Nothing may look added that the index does not hold.
    *pWhy += " These new commands were not added: " + Join(added) + ".";
    return false;
}
