#include "RecordDoc.h"

#include "CLCmdManager.h"
#include "CLPartial.h"
#include "CLRecordUtil.h"

#include <algorithm>

RecordDoc RecordDoc::FromEntry(const CLCmdIndex& idx, const CLCmdRecord* pRec)
{
    RecordDoc doc;
    doc.name = FieldText(idx.szName);
    if (pRec) {
        doc.description = FieldText(pRec->szDesc);
        doc.environment = FieldText(pRec->szEnv);
        doc.reservedByte = pRec->bReserved;
        doc.detail = TextOf(pRec->pszDetail);
        doc.examples = TextOf(pRec->pszExample);
        for (uint32_t i = 0; pRec->pParams && i < pRec->dwParamCount; ++i) {
            const CLCmdParam& p = pRec->pParams[i];
            doc.parameters.push_back({FieldText(p.szKeyword), FieldText(p.szDesc),
                                      FieldText(p.szChoices), FieldText(p.szNote)});
        }
        const CLPartialMarks marks = CLPartial::Of(pRec);
        doc.reservedText = marks.rest;
        doc.partial = marks.bParameters;
        for (RecordDocParam& p : doc.parameters)
            p.partialChoices = std::find(marks.choices.begin(), marks.choices.end(), p.keyword) !=
                               marks.choices.end();
        for (uint32_t i = 0; pRec->pErrors && i < pRec->dwErrorCount; ++i) {
            const CLCmdError& e = pRec->pErrors[i];
            doc.errors.push_back({FieldText(e.szCode), FieldText(e.szText)});
        }
    }
    doc.category = idx.dwCatID;
    std::string file = FieldText(idx.szFileName);
    if (file != CLCmdManager::RecordFileName(doc.name))
        doc.file = file;
    if (idx.dwReserved1 != 0 || idx.dwReserved2 != 0)
        doc.indexReserved = std::make_pair(idx.dwReserved1, idx.dwReserved2);
    return doc;
}

void RecordDoc::ToRecord(CLCmdRecord* pRec) const
{
    CopyField(pRec->szName, name);
    CopyField(pRec->szDesc, description);
    CopyField(pRec->szEnv, environment);
    pRec->bReserved = reservedByte;
    pRec->dwParamCount = static_cast<uint32_t>(parameters.size());
    if (!parameters.empty())
        pRec->pParams = new CLCmdParam[parameters.size()]();
    for (size_t i = 0; i < parameters.size(); ++i) {
        CopyField(pRec->pParams[i].szKeyword, parameters[i].keyword);
        CopyField(pRec->pParams[i].szDesc, parameters[i].description);
        CopyField(pRec->pParams[i].szChoices, parameters[i].choices);
        CopyField(pRec->pParams[i].szNote, parameters[i].note);
    }
    pRec->dwErrorCount = static_cast<uint32_t>(errors.size());
    if (!errors.empty())
        pRec->pErrors = new CLCmdError[errors.size()]();
    for (size_t i = 0; i < errors.size(); ++i) {
        CopyField(pRec->pErrors[i].szCode, errors[i].code);
        CopyField(pRec->pErrors[i].szText, errors[i].text);
    }
    SetText(pRec->pszDetail, detail);
    SetText(pRec->pszReserved, ReservedText());
    SetText(pRec->pszExample, examples);
}

std::string RecordDoc::ReservedText() const
{
    CLPartialMarks marks;
    marks.bParameters = partial;
    for (const RecordDocParam& p : parameters)
        if (p.partialChoices)
            marks.choices.push_back(p.keyword);
    marks.rest = reservedText;
    return CLPartial::Compose(marks);
}
