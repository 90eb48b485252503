// CLHtmlWriter publishes the reference as static HTML pages: one page per
// command ("NAME.htm") and numbered index pages ("index-N.htm", 50 commands
// each), all in one output folder, which must exist. Pages are streamed line
// by line (CR LF) and each page replaces its file only when it was written
// whole. Values go into the pages as HTML text (& < > " escaped) unless the
// options ask for them raw, as the bytes of the database.
//
// A command whose stored record cannot be read gets no page (a good page
// published earlier stays); its index line has no description.
//
// A record that is not loaded is read for the page or index line that needs it
// and freed right after; records that were loaded before stay loaded.
#ifndef CLHTMLWRITER_H
#define CLHTMLWRITER_H

#include "CLHtmlTemplate.h"
#include "CLRecords.h"

#include <cstdint>
#include <string>
#include <vector>

class CLCmdManager;
class CxFile;

class CLHtmlWriter
{
public:
    explicit CLHtmlWriter(CLCmdManager* pCmdManager);
    ~CLHtmlWriter();

    CLHtmlWriter(const CLHtmlWriter&) = delete;
    CLHtmlWriter& operator=(const CLHtmlWriter&) = delete;

    // The folder the pages are written to; a separator is appended when missing.
    void SetOutputFolder(const std::string& folder);

    void SetOptions(const CLHtmlOptions& options) { m_options = options; }
    const CLHtmlOptions& GetOptions() const { return m_options; }

    // Writes the page of one command. False for a null entry, a name that
    // cannot be a file name, a stored record that cannot be read (no page is
    // written then), records to be read from a missing data/ folder, or a
    // page that cannot be written.
    bool CreateCmdHtml(CLCmdIndex* pIdx);
    // Writes every command page, then the index pages. A record that cannot
    // be read is reported and the others are written; false at the end then.
    // Stops with false at the first page that cannot be written (no index
    // pages are written then), and refuses an empty index or records to be
    // read from a missing data/ folder.
    bool CreateAllHtml();
    // Writes the index pages; false when one cannot be written.
    bool CreateIndexHtml();
    // The page path of the entry being written (m_pIdx).
    std::string GetCmdHtmlPath() const;
    // What the last failure was, naming the file.
    const std::string& GetLastError() const { return m_sError; }
    // Every failure of the last CreateAllHtml, in order (the records that
    // could not be read, then what stopped the run, if anything).
    const std::vector<std::string>& GetErrors() const { return m_errors; }

    // The blocks of a page, written to the open page.
    bool WriteHeader(const std::string& title);
    bool WriteSponsorLinks();
    bool WriteCmdBody();
    bool WriteIndexBody();
    bool WriteDirectory();
    bool WriteFooter();
    // A text section: each piece up to a CR LF gives three lines; an empty
    // text gives "None.".
    bool WriteText(const char* text);

private:
    bool WriteBlock(const CLHtmlBlock& block);
    bool WriteSlot(const CLHtmlLine& line);
    bool WritePiece(const char* p, size_t n);
    bool WritePage(const std::string& path, const std::string& title, bool bIndex);
    bool Fail(const std::string& why);
    // False, with the reason, when records are to come from a missing data/.
    bool RecordsReachable();
    // A value as the page holds it: escaped, or raw when the options say so.
    std::string Value(const std::string& text) const;
    uint32_t PageCount() const;

    CxFile* m_pFile;
    CLCmdIndex* m_pIdx = nullptr;
    CLCmdManager* m_pCmdManager;
    uint32_t m_dwListed = 0;
    std::string m_sTitle;
    std::string m_sFolder;
    std::string m_sError;
    std::vector<std::string> m_errors;
    bool m_bWriteFailed = false; // the last failure was a page that could not be written
    CLHtmlOptions m_options;
    bool m_bBatch = false; // writing a whole site: pages are not synced one by one
};

#endif
