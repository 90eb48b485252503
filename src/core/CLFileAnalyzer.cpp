#include "CLFileAnalyzer.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "CLMessage.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"
#include "CxFileBatch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSeparator = " - ";

// "Line N: " before a message about that line.
std::string LineRef(unsigned nLine)
{
    return "Line " + std::to_string(nLine) + ": ";
}

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
    m_warnings.clear();
    m_counts = {};
    std::string path = szPath ? szPath : "";
    std::string text;
    const long long nSize = szPath ? CxFile::FileSize(szPath) : -1;
    if (nSize > static_cast<long long>(CLFormat::kMaxImportFile)) {
        m_sError = "The import file \"" + path + "\" is larger than " +
                   std::to_string(CLFormat::kMaxImportFile >> 20) + " MB; nothing was imported.";
        return false;
    }
    if (!szPath || !CxFile::ReadWholeFile(path, &text)) {
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
    };
    {
        Replay replay{shown, held};
        // A line is one line however long: it is never read in pieces, so no
        // text inside it can pass for a line of its own.
        std::string_view rest(text);
        // Editors on Windows start UTF-8 files with a byte-order mark.
        if (rest.substr(0, 3) == "\xEF\xBB\xBF")
            rest.remove_prefix(3);
        for (unsigned nLine = 1; !rest.empty(); ++nLine) {
            size_t lf = rest.find('\n');
            std::string_view line = rest.substr(0, lf);
            rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
            size_t n = line.find_last_not_of(" \t\n\v\f\r");
            line = line.substr(0, n == std::string_view::npos ? 0 : n + 1);
            m_nLine = nLine;
            if (!line.empty()) {
                ++m_counts.nLines;
                AnalyzeLine(line, nLine);
            }
        }
        AddPending();
    }
    if (m_counts.nCommands == 0) {
        m_sError = "The import file \"" + path +
                   "\" holds no command that could be taken; nothing was imported.";
        return false;
    }
    // Most lines not taken: a file in another encoding, or not a list at all.
    const unsigned nTaken = m_counts.nCommands + m_counts.nCategoryLines;
    if (m_counts.nLines - nTaken > nTaken)
        m_warnings.push_back(std::to_string(m_counts.nLines - nTaken) + " of the " +
                             std::to_string(m_counts.nLines) + " lines of \"" + path +
                             "\" were not taken.");
    // The records first: the lists name their commands only once every
    // record is durable.
    if (m_bCreateFiles && !CreateRecordFiles())
        return false;
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

bool CLFileAnalyzer::CreateRecordFiles()
{
    const std::string folder = CLCmdManager::GetDataFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        m_sError = "The folder \"" + folder + "\" cannot be created.";
        return false;
    }
    // Every file to its temporary, then all of them durable and in place at
    // once: two syncs a file would cost more than writing it.
    CxFileBatch batch;
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx()) {
        const std::string path = m_pCmdManager->GetCmdRecordFileName(p);
        // A dangling link counts as existing too: it is never written through.
        if (!p->pRec || fs::exists(fs::symlink_status(path, ec)))
            continue;
        if (!m_pCmdManager->SaveCmdRecord(p->pRec, &batch)) {
            m_sError = "The file \"" + path + "\" cannot be written; nothing was imported.";
            return false; // the batch removes the temporaries written so far
        }
    }
    std::string failed;
    if (!batch.Commit(&failed)) {
        m_sError = "The file \"" + failed + "\" cannot be written; the lists stay as they were.";
        return false;
    }
    return true;
}

void CLFileAnalyzer::AnalyzeLine(std::string_view line, unsigned nLine)
{
    size_t sep = line.find(kSeparator);
    if (line[0] == '[') {
        // "[N]" with one or two digits, 1 to 99, then the name after the separator.
        size_t close = line.find(']');
        std::string_view digits = line.substr(1, close == std::string_view::npos ? 0 : close - 1);
        bool bNumber = !digits.empty() && digits.size() <= 2 &&
                       digits.find_first_not_of("0123456789") == std::string_view::npos;
        unsigned long id = bNumber ? std::strtoul(std::string(digits).c_str(), nullptr, 10) : 0;
        if (!bNumber || id < 1 || id > CLFormat::kMaxListCatID) {
            ShowMessage(LineRef(nLine) + "\"" +
                        Printable(std::string(line.substr(0, std::min<size_t>(line.size(), 20)))) +
                        "\" does not begin with a category number [1] to [" +
                        std::to_string(CLFormat::kMaxListCatID) + "]; the line was skipped.");
            return;
        }
        m_dwCurCat = id;
        ++m_counts.nCategoryLines;
        if (sep == std::string_view::npos)
            return;
        std::string name(line.substr(sep + 3));
        if (name.size() > CLFormat::kCatName) {
            m_warnings.push_back(LineRef(nLine) + "the category name was cut to " +
                                 std::to_string(CLFormat::kCatName) + " characters.");
            name.resize(CLFormat::kCatName);
        }
        CLCategory cat{};
        cat.dwID = static_cast<uint32_t>(m_dwCurCat);
        CopyField(cat.szName, name);
        m_pCmdManager->AddCat(&cat);
        return;
    }
    if (sep == std::string_view::npos)
        return;

    const std::string_view name = line.substr(0, sep);
    // Refusals are reported in line order, with the index's own messages.
    if (name.empty()) {
        ShowMessage(CLCmdManager::kInvalidCmdName);
        return;
    }
    if (name.size() > CLFormat::kCmdName) {
        ShowMessage(LineRef(nLine) + "the command name \"" +
                    Printable(std::string(name.substr(0, 20))) + (name.size() > 20 ? "..." : "") +
                    "\" is longer than " + std::to_string(CLFormat::kCmdName) +
                    " characters; the line was skipped.");
        return;
    }
    // The text list's entries carry position 0, as the importer always wrote them.
    CLCmdIndex idx =
        CLCmdManager::MakeCmdIdx(std::string(name), static_cast<uint32_t>(m_dwCurCat), 0);
    if (!CLCmdManager::IsSafeFileName(idx.szName)) {
        ShowMessage("Invalid CL Command Name \"" + Printable(idx.szName) + "\" in line " +
                    std::to_string(nLine) + ".");
        return;
    }
    std::string_view title = line.substr(sep + 3);
    if (title.size() > CLFormat::kDesc) {
        m_warnings.push_back(LineRef(nLine) + "the title of " + Printable(idx.szName) +
                             " was cut to " + std::to_string(CLFormat::kDesc) + " characters.");
        title = title.substr(0, CLFormat::kDesc);
    }
    if (m_bMakeRecords) {
        CLCmdRecord* pRec = new CLCmdRecord;
        CLCmdManager::InitCmdRecord(nullptr, pRec);
        CopyField(pRec->szName, idx.szName);
        CopyField(pRec->szDesc, std::string(title));
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
        const uint32_t nBefore = m_pCmdManager->GetCmdIdxCount();
        CLCmdIndex* pStored = m_pCmdManager->AddCmdIdx(&idx);
        if (m_pCmdManager->GetCmdIdxCount() > nBefore)
            ++m_counts.nCommands;
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
