#include "CLHtmlWriter.h"

#include "CLCmdManager.h"
#include "CLPartial.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr uint32_t kPerPage = 50;

// Text as HTML reads it back: the four characters that would start markup,
// an entity or end an attribute are written as entities.
std::string Escaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Puts values into a template line in place of its %s or %d markers, in order.
std::string Fill(const char* text, std::initializer_list<std::string> values)
{
    std::string out;
    auto value = values.begin();
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && value != values.end()) {
            out += *value++;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

} // namespace

CLHtmlWriter::CLHtmlWriter(CLCmdManager* pCmdManager)
    : m_pFile(new CxFile), m_pCmdManager(pCmdManager)
{
}

CLHtmlWriter::~CLHtmlWriter()
{
    delete m_pFile;
}

void CLHtmlWriter::SetOutputFolder(const std::string& folder)
{
    m_sFolder = folder;
    if (!m_sFolder.empty() && m_sFolder.back() != '/' && m_sFolder.back() != '\\')
        m_sFolder += '/';
}

std::string CLHtmlWriter::GetCmdHtmlPath() const
{
    CX_ASSERT(m_pIdx != nullptr);
    return m_sFolder + FieldText(m_pIdx->szName) + ".htm";
}

uint32_t CLHtmlWriter::PageCount() const
{
    return (m_pCmdManager->GetCmdIdxCount() + kPerPage - 1) / kPerPage;
}

// Writes one whole page through a temporary file that replaces the old page
// only when every line was written.
bool CLHtmlWriter::WritePage(const std::string& path, const std::string& title, bool bIndex)
{
    bool ok = m_pFile->OpenReplace(path.c_str()) && WriteHeader(title) && WriteSponsorLinks() &&
              (bIndex ? WriteIndexBody() : WriteCmdBody()) && WriteDirectory() && WriteFooter();
    // Pages of a whole site are synced once at its end, not one by one.
    if (ok && m_pFile->Commit(!m_bBatch))
        return true;
    m_pFile->Close();
    m_bWriteFailed = true;
    return Fail("The page \"" + path + "\" cannot be written.");
}

bool CLHtmlWriter::Fail(const std::string& why)
{
    m_sError = why;
    m_errors.push_back(why);
    return false;
}

std::string CLHtmlWriter::Value(const std::string& text) const
{
    return m_options.bRaw ? text : Escaped(text);
}

bool CLHtmlWriter::RecordsReachable()
{
    std::error_code ec;
    if (m_pCmdManager->ReadsRecordFiles() &&
        !std::filesystem::is_directory(CLCmdManager::GetDataFolder(), ec))
        return Fail("The folder \"" + CLCmdManager::GetDataFolder() +
                    "\" that the records are read from is missing; no page was written.");
    return true;
}

bool CLHtmlWriter::CreateCmdHtml(CLCmdIndex* pIdx)
{
    if (!pIdx)
        return false;
    m_pIdx = pIdx;
    m_bWriteFailed = false;
    if (!CLCmdManager::IsSafeFileName(pIdx->szName))
        return Fail("The command name \"" + Printable(FieldText(pIdx->szName)) +
                    "\" cannot name a page.");
    if (!m_bBatch && !RecordsReachable())
        return false;
    bool bLoaded = false, bRead = true;
    m_pCmdManager->AttachCmdRecord(pIdx, &bLoaded, &bRead);
    bool ok;
    if (!bRead && m_pCmdManager->HasStoredRecord(pIdx)) {
        // A damaged record must not replace a good page with an empty one.
        ok = Fail("The record of " + Printable(FieldText(pIdx->szName)) +
                  " cannot be read; its page was not written.");
    } else {
        ok =
            WritePage(GetCmdHtmlPath(), "CL Command Reference - " + FieldText(pIdx->szName), false);
    }
    if (bLoaded)
        CLCmdManager::DetachCmdRecord(pIdx);
    return ok;
}

bool CLHtmlWriter::CreateAllHtml()
{
    if (!m_pCmdManager)
        return false;
    m_errors.clear();
    if (m_pCmdManager->GetCmdIdxCount() == 0)
        return Fail("The index holds no command; no page was written.");
    if (!RecordsReachable())
        return false;
    // Writing a command page reads at most its record, never the index, so
    // this walk's cursor stays put.
    m_bBatch = true;
    bool ok = true;
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p;) {
        if (!CreateCmdHtml(p)) {
            ok = false;
            if (m_bWriteFailed)
                break;
        }
        p = m_pCmdManager->GetNextCmdIdx();
    }
    if (ok || !m_bWriteFailed)
        ok = CreateIndexHtml() && ok;
    m_bBatch = false;
    CxFile::SyncFolder(m_sFolder);
    if (!ok)
        m_sError = m_errors.back();
    return ok;
}

bool CLHtmlWriter::CreateIndexHtml()
{
    m_dwListed = 0;
    uint32_t nCount = m_pCmdManager->GetCmdIdxCount();
    while (m_dwListed < nCount) {
        uint32_t n = m_dwListed / kPerPage + 1;
        std::string path = m_sFolder + "index-" + std::to_string(n) + ".htm";
        uint32_t dwBefore = m_dwListed;
        m_bWriteFailed = false;
        if (!WritePage(path, "CL Commands References - Page " + std::to_string(n), true))
            return false;
        if (m_dwListed == dwBefore) // the index changed under us; never loop forever
            break;
    }
    return true;
}

bool CLHtmlWriter::WriteHeader(const std::string& title)
{
    m_sTitle = title;
    return WriteBlock(kHtmlHeader);
}

bool CLHtmlWriter::WriteSponsorLinks()
{
    return WriteBlock(kHtmlSponsorLinks);
}

bool CLHtmlWriter::WriteCmdBody()
{
    CX_ASSERT(m_pIdx != nullptr);
    return WriteBlock(kHtmlCmdBody);
}

bool CLHtmlWriter::WriteIndexBody()
{
    return WriteBlock(kHtmlIndexBody);
}

bool CLHtmlWriter::WriteDirectory()
{
    return WriteBlock(kHtmlDirectory);
}

bool CLHtmlWriter::WriteFooter()
{
    return WriteBlock(kHtmlFooter);
}

bool CLHtmlWriter::WriteBlock(const CLHtmlBlock& block)
{
    for (size_t i = 0; i < block.count; ++i) {
        const CLHtmlLine& line = block.lines[i];
        if (!(line.slot == CLHtmlSlot::None ? m_pFile->WriteLine(line.text) : WriteSlot(line)))
            return false;
    }
    return true;
}

bool CLHtmlWriter::WriteSlot(const CLHtmlLine& line)
{
    switch (line.slot) {
    case CLHtmlSlot::None:
        return m_pFile->WriteLine(line.text);
    case CLHtmlSlot::Ad:
        return !m_options.HasAds() || m_pFile->WriteLine(line.text);
    case CLHtmlSlot::Title:
        return m_pFile->WriteLine(Fill(line.text, {Value(m_sTitle)}));
    case CLHtmlSlot::Name:
        return m_pFile->WriteLine(Fill(line.text, {Value(FieldText(m_pIdx->szName))}));
    case CLHtmlSlot::PageNo:
        return m_pFile->WriteLine(Fill(line.text, {std::to_string(m_dwListed / kPerPage + 1)}));
    case CLHtmlSlot::Detail: {
        // A partial record says so after its detail text.
        const CLCmdRecord* pRec = m_pIdx->pRec;
        const std::string notice = CLPartial::Notice(pRec);
        if (notice.empty())
            return WriteText(pRec ? pRec->pszDetail : nullptr);
        const std::string detail = TextOf(pRec->pszDetail);
        return WriteText(((detail.empty() ? "" : detail + "\r\n\r\n") + notice).c_str());
    }
    case CLHtmlSlot::Examples:
        return WriteText(m_pIdx->pRec ? m_pIdx->pRec->pszExample : nullptr);
    case CLHtmlSlot::IndexEntries: {
        // The page lists the next (up to) 50 entries, continuing the walk of
        // the previous page from m_pIdx.
        CLCmdIndex* p = m_dwListed == 0 ? m_pCmdManager->GetFirstCmdIdx() : m_pIdx;
        uint32_t nListed = 0;
        for (; p && nListed < kPerPage; ++nListed) {
            bool bLoaded = false;
            const CLCmdRecord* pRec = m_pCmdManager->AttachCmdRecord(p, &bLoaded);
            // The link is the page's file name; what is shown is text.
            const std::string name = FieldText(p->szName);
            bool ok = m_pFile->WriteLine(
                Fill(line.text, {Value(name), Value(name), Value(FieldText(pRec->szDesc))}));
            if (bLoaded)
                CLCmdManager::DetachCmdRecord(p);
            if (!ok)
                return false;
            p = m_pCmdManager->GetNextCmdIdx();
        }
        m_pIdx = p;
        m_dwListed += nListed;
        return true;
    }
    case CLHtmlSlot::PageLinks: {
        uint32_t nPages = PageCount();
        for (uint32_t m = 1; m <= nPages; ++m)
            if (!m_pFile->WriteLine(Fill(line.text, {std::to_string(m), std::to_string(m)})))
                return false;
        return true;
    }
    case CLHtmlSlot::CopyrightMeta:
        return m_pFile->WriteLine(Fill(kHtmlCopyrightMeta, {Escaped(m_options.copyrightHolder)}));
    case CLHtmlSlot::CopyrightFooter:
        return m_pFile->WriteLine(Fill(kHtmlCopyrightFooter, {Escaped(m_options.copyrightHolder)}));
    case CLHtmlSlot::AdClient:
        return !m_options.HasAds() || m_pFile->WriteLine(Fill(kHtmlAdClient, {m_options.adClient}));
    case CLHtmlSlot::AdChannel:
        return !m_options.HasAds() ||
               m_pFile->WriteLine(Fill(kHtmlAdChannel, {m_options.adChannel}));
    case CLHtmlSlot::AdScript:
        return !m_options.HasAds() || m_pFile->WriteLine(kHtmlAdScript);
    }
    return false;
}

bool CLHtmlWriter::WritePiece(const char* p, size_t n)
{
    return m_pFile->WriteLine("      " + Value(std::string(p, n))) &&
           m_pFile->WriteLine("      <BR>") && m_pFile->WriteLine("");
}

bool CLHtmlWriter::WriteText(const char* text)
{
    if (!text || !*text)
        return m_pFile->WriteLine("    None.") && m_pFile->WriteLine("      <BR><BR>") &&
               m_pFile->WriteLine("");
    // Pieces end at each CR LF; a lone CR or LF stays inside its piece.
    const char* p = text;
    for (const char* q; (q = std::strstr(p, "\r\n")) != nullptr; p = q + 2)
        if (!WritePiece(p, static_cast<size_t>(q - p)))
            return false;
    if (*p && !WritePiece(p, std::strlen(p)))
        return false;
    return m_pFile->WriteLine("      <BR><BR>") && m_pFile->WriteLine("");
}
