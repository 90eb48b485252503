// Builds records and index entries for tests.
#ifndef RECORDMAKER_H
#define RECORDMAKER_H

#include "CLCmdManager.h"
#include "CLRecordUtil.h"

#include <memory>
#include <string>
#include <vector>

struct ParamSpec
{
    std::string keyword, desc, choices, note;
};

struct ErrorSpec
{
    std::string code, text;
};

inline CLCmdIndex MakeIdx(const std::string& name, uint32_t cat = 1)
{
    CLCmdIndex e{};
    CopyField(e.szName, name);
    CopyField(e.szFileName, name + ".dat");
    e.dwPos = kNoRecordPos;
    e.dwCatID = cat;
    return e;
}

// Fills a fresh record (tied to pIdx) with the given fields.
inline void FillRecord(CLCmdRecord* pRec, CLCmdIndex* pIdx, const std::string& name,
                       const std::string& desc = "", const std::string& env = "",
                       const std::vector<ParamSpec>& params = {},
                       const std::vector<ErrorSpec>& errors = {}, const std::string& detail = "",
                       const std::string& reserved = "", const std::string& example = "")
{
    CLCmdManager::InitCmdRecord(pIdx, pRec);
    CopyField(pRec->szName, name);
    CopyField(pRec->szDesc, desc);
    CopyField(pRec->szEnv, env);
    pRec->dwParamCount = static_cast<uint32_t>(params.size());
    if (!params.empty())
        pRec->pParams = new CLCmdParam[params.size()]();
    for (size_t i = 0; i < params.size(); ++i) {
        CopyField(pRec->pParams[i].szKeyword, params[i].keyword);
        CopyField(pRec->pParams[i].szDesc, params[i].desc);
        CopyField(pRec->pParams[i].szChoices, params[i].choices);
        CopyField(pRec->pParams[i].szNote, params[i].note);
    }
    pRec->dwErrorCount = static_cast<uint32_t>(errors.size());
    if (!errors.empty())
        pRec->pErrors = new CLCmdError[errors.size()]();
    for (size_t i = 0; i < errors.size(); ++i) {
        CopyField(pRec->pErrors[i].szCode, errors[i].code);
        CopyField(pRec->pErrors[i].szText, errors[i].text);
    }
    SetText(pRec->pszDetail, detail);
    SetText(pRec->pszReserved, reserved);
    SetText(pRec->pszExample, example);
}

// A heap record released with FreeCmdRecord.
struct RecordDeleter
{
    void operator()(CLCmdRecord* p) const { CLCmdManager::FreeCmdRecord(p); }
};
using RecordPtr = std::unique_ptr<CLCmdRecord, RecordDeleter>;

inline RecordPtr NewRecord(CLCmdIndex* pIdx = nullptr)
{
    auto* p = new CLCmdRecord;
    CLCmdManager::InitCmdRecord(pIdx, p);
    return RecordPtr(p);
}

#endif
