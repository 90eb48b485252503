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
    // Refusals are reported in line order, though duplicates are found only
    // once every line is read: the messages wait, with their lines.
    struct Held
    {
        unsigned nLine;
        std::string text, caption;
        CLMsgIcon icon;
    };
    std::vector<Held> held;
    CLMessageHook shown = SetMessageHook(
        [this, &held](const std::string& text, const std::string& caption, CLMsgIcon icon) {
            held.push_back({m_nLine, text, caption, icon});
        });
    struct Replay
    {
        CLMessageHook& shown;
        std::vector<Held>& held;
        ~Replay()
        {
            SetMessageHook(shown);
            std::stable_sort(held.begin(), held.end(),
                             [](const Held& a, const Held& b) { return a.nLine < b.nLine; });
            for (const Held& h : held)
                ShowMessage(h.text, h.caption, h.icon);
        }
    } replay{shown, held};
    char buf[1024];
    unsigned nLine = 1;
    bool bFirst = true;
    while (m_pFile->ReadLine(buf, sizeof(buf))) {
        std::string_view line(buf);
        // Editors on Windows start UTF-8 files with a byte-order mark.
        if (bFirst && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        bFirst = false;
        bool bLineEnd = !line.empty() && line.back() == '\n';
        size_t n = line.find_last_not_of(" \t\n\v\f\r");
        line = line.substr(0, n == std::string_view::npos ? 0 : n + 1);
        m_nLine = nLine;
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

void CLFileAnalyzer::AnalyzeLine(std::string_view line, unsigned nLine)
{
    size_t sep = line.find(kSeparator);
    if (line[0] == '[') {
        // The two characters after "[" are the number, read the way atol does.
        m_dwCurCat = static_cast<unsigned long>(std::atol(std::string(line.substr(1, 2)).c_str()));
        if (sep == std::string_view::npos)
            return;
        CLCategory cat{};
        cat.dwID = static_cast<uint32_t>(m_dwCurCat);
        CopyField(cat.szName, std::string(line.substr(sep + 3)));
        m_pCmdManager->AddCat(&cat);
        return;
    }
    if (sep == std::string_view::npos)
        return;

    CLCmdIndex idx{};
    CopyField(idx.szName, line.data(), sep);
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
    CopyField(idx.szFileName, FieldText(idx.szName) + ".dat");
    idx.dwCatID = static_cast<uint32_t>(m_dwCurCat);
    if (m_bMakeRecords) {
        CLCmdRecord* pRec = new CLCmdRecord;
        CLCmdManager::InitCmdRecord(nullptr, pRec);
        CopyField(pRec->szName, idx.szName);
        CopyField(pRec->szDesc, std::string(line.substr(sep + 3)));
        idx.pRec = pRec;
    }
    m_pending.push_back(idx);
    m_pendingLines.push_back(nLine);
}

void CLFileAnalyzer::AddPending()
{
    // Sorted by the first eight bytes of the name as one number, then by the
    // name, then by line: a fraction of the comparisons of names alone, and a
    // name listed twice keeps its first line. Names are zero-filled, so whole
    // fields compare as strcmp does.
    const size_t n = m_pending.size();
    std::vector<uint64_t> keys(n);
    for (size_t i = 0; i < n; ++i)
        for (int b = 0; b < 8; ++b)
            keys[i] = keys[i] << 8 | static_cast<uint8_t>(m_pending[i].szName[b]);
    std::vector<uint32_t> order(n);
    for (uint32_t i = 0; i < n; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        if (keys[a] != keys[b])
            return keys[a] < keys[b];
        int cmp = std::memcmp(m_pending[a].szName, m_pending[b].szName, sizeof(CLCmdIndex::szName));
        return cmp != 0 ? cmp < 0 : a < b;
    });
    const CLCmdIndex* pPrev = nullptr;
    for (uint32_t i : order) {
        CLCmdIndex& idx = m_pending[i];
        if (pPrev && std::strcmp(pPrev->szName, idx.szName) == 0) {
            m_nLine = m_pendingLines[i];
            ShowMessage(CLCmdManager::DuplicateCmdMessage(idx.szName));
            CLCmdManager::FreeCmdRecord(idx.pRec);
            continue;
        }
        pPrev = &idx;
        m_nLine = m_pendingLines[i];
        // An entry the manager refuses leaves its record with us.
        CLCmdIndex* pStored = m_pCmdManager->AddCmdIdx(&idx);
        if (idx.pRec && (!pStored || pStored->pRec != idx.pRec))
            CLCmdManager::FreeCmdRecord(idx.pRec);
    }
    m_pending.clear();
    m_pendingLines.clear();
}

void CLFileAnalyzer::DropPending()
{
    for (CLCmdIndex& idx : m_pending)
        CLCmdManager::FreeCmdRecord(idx.pRec);
    m_pending.clear();
    m_pendingLines.clear();
}
