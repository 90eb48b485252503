#include "CLFileAnalyzer.h"

#include "CLCmdManager.h"
#include "CLMessage.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kSeparator = " - ";

} // namespace

CLFileAnalyzer::CLFileAnalyzer()
    : m_pFile(new CxFile), m_pCmdManager(new CLCmdManager), m_pOwnManager(m_pCmdManager)
{
}

CLFileAnalyzer::~CLFileAnalyzer()
{
    DropPending();
    delete m_pFile;
    delete m_pOwnManager;
}

void CLFileAnalyzer::SetCmdManager(CLCmdManager* pCmdManager)
{
    m_pCmdManager = pCmdManager;
}

bool CLFileAnalyzer::AnalyzeFile(const char* szPath)
{
    CX_ASSERT(m_pCmdManager != nullptr);
    m_sError.clear();
    std::string path = szPath ? szPath : "";
    if (!m_pFile->Open(szPath, "rb")) {
        m_sError = "The import file \"" + path + "\" cannot be read.";
        return false;
    }
    m_dwCurCat = 1;
    char buf[1024];
    unsigned nLine = 1;
    bool bFirst = true;
    while (m_pFile->ReadLine(buf, sizeof(buf))) {
        std::string line(buf);
        // Editors on Windows start UTF-8 files with a byte-order mark.
        if (bFirst && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        bFirst = false;
        bool bLineEnd = !line.empty() && line.back() == '\n';
        size_t n = line.find_last_not_of(" \t\n\v\f\r");
        line.erase(n == std::string::npos ? 0 : n + 1);
        if (!line.empty())
            AnalyzeLine(line, nLine);
        if (bLineEnd)
            ++nLine;
    }
    bool bReadError = m_pFile->HasError();
    m_pFile->Close();
    if (bReadError) {
        DropPending();
        m_sError = "The import file \"" + path + "\" cannot be read.";
        return false;
    }
    AddPending();
    if (!m_pCmdManager->SaveCmdIdxList()) {
        m_sError = "The file \"" + m_pCmdManager->GetCmdIdxFileName() + "\" cannot be written.";
        return false;
    }
    if (!m_pCmdManager->SaveCatList()) {
        m_sError = "The file \"" + m_pCmdManager->GetCatFileName() + "\" cannot be written.";
        return false;
    }
    return true;
}

void CLFileAnalyzer::AnalyzeLine(const std::string& line, unsigned nLine)
{
    size_t sep = line.find(kSeparator);
    if (line[0] == '[') {
        // The two characters after "[" are the number, read the way atol does.
        m_dwCurCat = static_cast<unsigned long>(std::atol(line.substr(1, 2).c_str()));
        if (sep == std::string::npos)
            return;
        CLCategory cat{};
        cat.dwID = static_cast<uint32_t>(m_dwCurCat);
        CopyField(cat.szName, line.substr(sep + 3));
        m_pCmdManager->AddCat(&cat);
        return;
    }
    if (sep == std::string::npos)
        return;

    CLCmdIndex idx{};
    CopyField(idx.szName, line.substr(0, sep));
    // Refusals are reported in line order, with the index's own messages.
    if (idx.szName[0] == 0) {
        ShowMessage(CLCmdManager::kInvalidCmdName);
        return;
    }
    if (!CLCmdManager::IsSafeFileName(idx.szName)) {
        ShowMessage("Invalid CL Command Name \"" + Printable(idx.szName) + "\" in line " +
                    std::to_string(nLine) + ".");
        return;
    }
    if (!m_seen.insert(idx.szName).second) {
        ShowMessage(CLCmdManager::DuplicateCmdMessage(idx.szName));
        return;
    }
    CopyField(idx.szFileName, FieldText(idx.szName) + ".dat");
    idx.dwCatID = static_cast<uint32_t>(m_dwCurCat);
    CLCmdRecord* pRec = new CLCmdRecord;
    CLCmdManager::InitCmdRecord(nullptr, pRec);
    CopyField(pRec->szName, idx.szName);
    CopyField(pRec->szDesc, line.substr(sep + 3));
    idx.pRec = pRec;
    m_pending.push_back(idx);
}

void CLFileAnalyzer::AddPending()
{
    std::stable_sort(m_pending.begin(), m_pending.end(),
                     [](const CLCmdIndex& a, const CLCmdIndex& b) {
                         return std::strcmp(a.szName, b.szName) < 0;
                     });
    for (CLCmdIndex& idx : m_pending) {
        // An entry the manager refuses leaves its record with us.
        CLCmdIndex* pStored = m_pCmdManager->AddCmdIdx(&idx);
        if (!pStored || pStored->pRec != idx.pRec)
            CLCmdManager::FreeCmdRecord(idx.pRec);
    }
    m_pending.clear();
    m_seen.clear();
}

void CLFileAnalyzer::DropPending()
{
    for (CLCmdIndex& idx : m_pending)
        CLCmdManager::FreeCmdRecord(idx.pRec);
    m_pending.clear();
    m_seen.clear();
}
