// The lines of the published HTML pages. Every page is, in this order: the
// header, the sponsored links, a body (a command page or an index page), the
// directory and the footer. Tables opened in one block close in a later one.
//
// Lines are written as they stand followed by CR LF. A line with a slot other
// than None is filled in by the writer: its text's %s or %d takes a value, or
// the slot stands for lines of its own (a text section, the index lines, the
// page links, the publisher's settings below).
#ifndef CLHTMLTEMPLATE_H
#define CLHTMLTEMPLATE_H

#include <cstddef>

enum class CLHtmlSlot
{
    None,          // written as it stands
    Title,         // %s: the page title
    Name,          // %s: the command name
    PageNo,        // %d: the index page number
    Detail,        // the text section of the detail text
    Examples,      // the text section of the examples
    IndexEntries,  // one line per command on the page: %s name, %s name, %s description
    PageLinks,     // one line per index page: %d number, %d number
    CopyrightMeta, // the publisher's settings, below
    CopyrightFooter,
    AdClient,
    AdChannel,
    AdScript
};

struct CLHtmlLine
{
    CLHtmlSlot slot;
    const char* text;
};

struct CLHtmlBlock
{
    const CLHtmlLine* lines;
    size_t count;
};

extern const CLHtmlBlock kHtmlHeader;
extern const CLHtmlBlock kHtmlSponsorLinks;
extern const CLHtmlBlock kHtmlCmdBody;
extern const CLHtmlBlock kHtmlIndexBody;
extern const CLHtmlBlock kHtmlDirectory;
extern const CLHtmlBlock kHtmlFooter;

// The publisher's own lines, kept in one place.
extern const char* const kHtmlCopyrightMeta;
extern const char* const kHtmlCopyrightFooter;
extern const char* const kHtmlAdClient;
extern const char* const kHtmlAdChannel;
extern const char* const kHtmlAdScript;

#endif
