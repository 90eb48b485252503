// CLHtmlWriter publishes the reference as static HTML pages: one page per
// command ("NAME.htm") and numbered index pages ("index-N.htm", 50 commands
// each), all in one output folder, which must exist. Pages are streamed line
// by line (CR LF) and each page replaces its file only when it was written
// whole. Values go into the pages unescaped, as the bytes of the database.
//
// A record that is not loaded is read for the page or index line that needs it
// and freed right after; records that were loaded before stay loaded.
#ifndef CLHTMLWRITER_H
#define CLHTMLWRITER_H

#include "CLHtmlTemplate.h"
#include "CLRecords.h"

#include <cstdint>
#include <string>

class CLCmdManager;
class CxFile;

class CLHtmlWriter
{
public:
    explicit CLHtmlWriter(CLCmdManager* pCmdManager);
    virtual ~CLHtmlWriter();

    CLHtmlWriter(const CLHtmlWriter&) = delete;
    CLHtmlWriter& operator=(const CLHtmlWriter&) = delete;

    // The folder the pages are written to; a separator is appended when missing.
    void SetOutputFolder(const std::string& folder);
    const std::string& GetOutputFolder() const { return m_sFolder; }

    // Writes the page of one command. False for a null entry, a name that
    // cannot be a file name, or a page that cannot be written.
    bool CreateCmdHtml(CLCmdIndex* pIdx);
    // Writes every command page, then the index pages. Stops with false at the
    // first command page that fails (no index pages are written then) or when
    // an index page fails.
    bool CreateAllHtml();
    // Writes the index pages; false when one cannot be written.
    bool CreateIndexHtml();
    // The page path of the entry being written (m_pIdx).
    std::string GetCmdHtmlPath() const;
    // What the last failure was, naming the file.
    const std::string& GetLastError() const { return m_sError; }

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
    uint32_t PageCount() const;

    CxFile* m_pFile;
    CLCmdIndex* m_pIdx = nullptr;
    CLCmdManager* m_pCmdManager;
    uint32_t m_dwListed = 0;
    std::string m_sTitle;
    std::string m_sFolder;
    std::string m_sError;
    bool m_bBatch = false; // writing a whole site: pages are not synced one by one
};

#endif
