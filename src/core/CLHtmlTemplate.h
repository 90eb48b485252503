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
#include <string>

// What the publisher sets for the pages.
struct CLHtmlOptions
{
    // Values go into the pages as the database holds them, markup and all
    // (for records that hold markup on purpose); else they are escaped.
    bool bRaw = false;
    // The advertising block is written only when both ids are set.
    std::string adClient;
    std::string adChannel;
    // The holder named by the copyright notices.
    std::string copyrightHolder = "Zentrivo";

    bool HasAds() const { return !adClient.empty() && !adChannel.empty(); }
    // An ad id as the pages may hold it: letters, digits, '-' and '_'.
    static bool IsAdId(const std::string& id);
};

enum class CLHtmlSlot
{
    None,          // written as it stands
    Ad,            // written as it stands, only when the publisher's ad ids are set
    Title,         // %s: the page title
    Name,          // %s: the command name
    PageNo,        // %d: the index page number
    Detail,        // the text section of the detail text
    Examples,      // the text section of the examples
    IndexEntries,  // one line per command on the page: %s name, %s name, %s description
    PageLinks,     // one line per index page: %d number, %d number
    CopyrightMeta, // the publisher's lines below: %s the copyright holder
    CopyrightFooter,
    AdClient,      // %s the ad client id; only when the ad ids are set
    AdChannel,     // %s the ad channel id; likewise
    AdScript       // likewise
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
