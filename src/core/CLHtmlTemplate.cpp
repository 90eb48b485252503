#include "CLHtmlTemplate.h"

// The publisher's lines: copyright notices (%s the holder) and the
// advertising identifiers (%s each).
const char* const kHtmlCopyrightMeta =
    "<META name=\"copyright\" content=\"Copyright (c) 2026 %s. All rights reserved.\">";
const char* const kHtmlCopyrightFooter = "        Copyright &copy; 2026 %s. All rights reserved.";
const char* const kHtmlAdClient = "      google_ad_client = \"%s\";";
const char* const kHtmlAdChannel = "      google_ad_channel = \"%s\";";
const char* const kHtmlAdScript =
    "        src=\"https://pagead2.googlesyndication.com/pagead/show_ads.js\">";

bool CLHtmlOptions::IsAdId(const std::string& id)
{
    if (id.empty() || id.size() > 64)
        return false;
    for (unsigned char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '_'))
            return false;
    return true;
}

namespace {

// clang-format off
const CLHtmlLine kHeader[] = {
    {CLHtmlSlot::None, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "<HTML>"},
    {CLHtmlSlot::None, "<HEAD>"},
    {CLHtmlSlot::Title, "<TITLE>%s</TITLE>"},
    {CLHtmlSlot::None, "<LINK href=\"../main.css\" rel=\"stylesheet\" type=\"text/css\">"},
    {CLHtmlSlot::None, "<META http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"},
    {CLHtmlSlot::CopyrightMeta, ""},
    {CLHtmlSlot::None, "<META name=\"keywords\" content=\"IBM System i, AS/400, AS400, iSeries, i5, OS/400, AS/400 Software, iSeries Software, AS/400 Resource, iSeries Resource\">"},
    {CLHtmlSlot::Title, "<META name=\"description\" content=\"%s\">"},
    {CLHtmlSlot::None, "</HEAD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "<BODY background=\"../images/bg1.gif\" style=\"font-family:Verdana\">"},
    {CLHtmlSlot::None, "<DIV align=\"center\">"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "<TABLE border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"800\" bgcolor=\"#FFFFFF\">"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "  <TR valign=\"middle\">"},
    {CLHtmlSlot::None, "    <TD width=\"800\" bgcolor=\"#8CAAE6\">"},
    {CLHtmlSlot::None, "      <TABLE width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"},
    {CLHtmlSlot::None, "        <TR><TD bgcolor=\"#8CAAE6\"><A href=\"../index.htm\"><IMG src=\"../images/title.jpg\" width=\"800\" height=\"49\" hspace=\"0\" vspace=\"0\" border=\"0\" align=\"absmiddle\" alt=\"Tarvexa - IBM AS/400 Software, IBM iSeries Software, IBM i5 Software\"/></A><A name=\"#top\"></A></TD></TR>"},
    {CLHtmlSlot::None, "      </TABLE>"},
    {CLHtmlSlot::None, "    </TD>"},
    {CLHtmlSlot::None, "  </TR>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "  <TR valign=\"middle\">"},
    {CLHtmlSlot::None, "    <TD id=\"HeadLinks\" nowrap valign=\"top\" height=\"23\"> &nbsp; &nbsp;"},
    {CLHtmlSlot::None, "      <A href=\"../index.htm\">Home</A> &nbsp;|&nbsp;"},
    {CLHtmlSlot::None, "      <A href=\"../product.htm\">Products</A> &nbsp;|&nbsp;"},
    {CLHtmlSlot::None, "      <A href=\"../download.htm\">Downloads</A> &nbsp;|&nbsp;"},
    {CLHtmlSlot::None, "      <A href=\"../order.htm\">Purchase</A> &nbsp;|&nbsp;"},
    {CLHtmlSlot::None, "      <A href=\"../moreinfo.htm\">More About IBM System i (AS/400)</A> &nbsp;|&nbsp;"},
    {CLHtmlSlot::None, "    </TD>"},
    {CLHtmlSlot::None, "  </TR>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "  <TR><TD width=\"800\"><BR>"},
    {CLHtmlSlot::None, "  <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\">"},
};

const CLHtmlLine kSponsorLinks[] = {
    {CLHtmlSlot::None, "  <TR align=\"middle\"><TD width=\"800\">"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::Ad, "  <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\"  style=\"padding-left:32; padding-right:32\">"},
    {CLHtmlSlot::Ad, "    <TR>"},
    {CLHtmlSlot::Ad, "      <TD width=\"15\"><IMG src=\"../images/menuarrow.gif\"/></TD>"},
    {CLHtmlSlot::Ad, "      <TD><FONT size=\"2\"><U><B>Sponsored Links</B></U></FONT></TD>"},
    {CLHtmlSlot::Ad, "    </TR>"},
    {CLHtmlSlot::Ad, "  </TABLE>"},
    {CLHtmlSlot::Ad, "  <BR><BR>"},
    {CLHtmlSlot::Ad, ""},
    {CLHtmlSlot::Ad, "  <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\">"},
    {CLHtmlSlot::Ad, "    <TR><TD width=\"800\" valign=\"top\" align=\"center\">"},
    {CLHtmlSlot::Ad, "      <script type=\"text/javascript\"><!--"},
    {CLHtmlSlot::AdClient, ""},
    {CLHtmlSlot::Ad, "      google_ad_width = 728;"},
    {CLHtmlSlot::Ad, "      google_ad_height = 90;"},
    {CLHtmlSlot::Ad, "      google_ad_format = \"728x90_as\";"},
    {CLHtmlSlot::AdChannel, ""},
    {CLHtmlSlot::Ad, "      google_color_border = \"FFFFFF\";"},
    {CLHtmlSlot::Ad, "      google_color_bg = \"FFFFFF\";"},
    {CLHtmlSlot::Ad, "      google_color_link = \"000080\";"},
    {CLHtmlSlot::Ad, "      google_color_url = \"000000\";"},
    {CLHtmlSlot::Ad, "      google_color_text = \"000000\";"},
    {CLHtmlSlot::Ad, "      //--></script>"},
    {CLHtmlSlot::Ad, "      <script type=\"text/javascript\""},
    {CLHtmlSlot::AdScript, ""},
    {CLHtmlSlot::Ad, "      </script>"},
    {CLHtmlSlot::Ad, "      <BR><BR>"},
    {CLHtmlSlot::Ad, "    </TD></TR>"},
    {CLHtmlSlot::Ad, "  </TABLE>"},
    {CLHtmlSlot::None, "  <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\"  style=\"padding-left:32; padding-right:32\">"},
    {CLHtmlSlot::None, "    <TR>"},
    {CLHtmlSlot::None, "      <TD width=\"15\"><IMG src=\"../images/menuarrow.gif\"/></TD>"},
    {CLHtmlSlot::None, "      <TD><FONT size=\"2\"><B><A href=\"../zentrivo/index.htm\">Zentrivo</A> - Get All CL Command Information on Your PC</B></FONT></TD>"},
    {CLHtmlSlot::None, "    </TR>"},
    {CLHtmlSlot::None, "  </TABLE>"},
    {CLHtmlSlot::None, "  </TD></TR>"},
};

const CLHtmlLine kCmdBody[] = {
    {CLHtmlSlot::None, "  <TR valign=\"middle\">"},
    {CLHtmlSlot::None, "    <TD width=\"800\">"},
    {CLHtmlSlot::None, "    <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\">"},
    {CLHtmlSlot::None, "      <TR><TD width=\"800\" valign=\"top\" align=\"left\">"},
    {CLHtmlSlot::None, "      <BR><BR>"},
    {CLHtmlSlot::None, "      <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\"  style=\"padding-left:32; padding-right:32\">"},
    {CLHtmlSlot::None, "        <TR>"},
    {CLHtmlSlot::None, "          <TD width=\"15\"><IMG src=\"../images/menuarrow.gif\"/></TD>"},
    {CLHtmlSlot::Name, "          <TD><A href=\"index-1.htm\"><FONT size=\"2\"><U><B>CL Commands List</B></U></FONT></A> &nbsp; &gt; <B><FONT size=\"2\">%s</FONT></B></TD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "        </TR>"},
    {CLHtmlSlot::None, "      </TABLE>"},
    {CLHtmlSlot::None, "      <BR><BR>"},
    {CLHtmlSlot::None, "      <BLOCKQUOTE>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "      <P align=\"left\">"},
    {CLHtmlSlot::None, "      <B>Description:</B><BR><BR>"},
    {CLHtmlSlot::Detail, ""},
    {CLHtmlSlot::None, "      <B>Examples:</B><BR><BR>"},
    {CLHtmlSlot::Examples, ""},
    {CLHtmlSlot::None, "      </BLOCKQUOTE>"},
    {CLHtmlSlot::None, "      </TD></TR>"},
    {CLHtmlSlot::None, "    </TABLE>"},
    {CLHtmlSlot::None, "    </TD>"},
    {CLHtmlSlot::None, "  </TR>"},
    {CLHtmlSlot::None, ""},
};

const CLHtmlLine kIndexBody[] = {
    {CLHtmlSlot::None, "  <TR valign=\"middle\">"},
    {CLHtmlSlot::None, "    <TD width=\"800\">"},
    {CLHtmlSlot::None, "    <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\">"},
    {CLHtmlSlot::None, "      <TR><TD width=\"800\" valign=\"top\" align=\"left\">"},
    {CLHtmlSlot::None, "      <BR><BR>"},
    {CLHtmlSlot::None, "      <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\"  style=\"padding-left:32; padding-right:32\">"},
    {CLHtmlSlot::None, "        <TR>"},
    {CLHtmlSlot::None, "          <TD width=\"15\"><IMG src=\"../images/menuarrow.gif\"/></TD>"},
    {CLHtmlSlot::PageNo, "          <TD><B><FONT size=\"2\">CL Commands List ( Page %d )</FONT></B></TD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "        </TR>"},
    {CLHtmlSlot::None, "      </TABLE>"},
    {CLHtmlSlot::None, "      <BR><BR>"},
    {CLHtmlSlot::None, "      <BLOCKQUOTE>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::IndexEntries, "      <LI><A href=\"%s.htm\"><B>%s</B></A>: %s</LI><BR><BR>"},
    {CLHtmlSlot::None, "      <BR><BR>"},
    {CLHtmlSlot::None, "      <B>To Page:</B><BR><BR>"},
    {CLHtmlSlot::PageLinks, "      <A href=\"index-%d.htm\">%d</A> &nbsp; | &nbsp;"},
    {CLHtmlSlot::None, "      </BLOCKQUOTE>"},
    {CLHtmlSlot::None, "      </TD></TR>"},
    {CLHtmlSlot::None, "    </TABLE>"},
    {CLHtmlSlot::None, "    </TD>"},
    {CLHtmlSlot::None, "  </TR>"},
    {CLHtmlSlot::None, ""},
};

const CLHtmlLine kDirectory[] = {
    {CLHtmlSlot::None, "  <TR align=\"middle\"><TD width=\"800\">"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "  <TABLE width=\"100%\" border=\"0\"  cellpadding=\"0\" cellspacing=\"0\"  style=\"padding-left:32; padding-right:32\">"},
    {CLHtmlSlot::None, "    <TR>"},
    {CLHtmlSlot::None, "      <TD width=\"15\"><IMG src=\"../images/menuarrow.gif\"/></TD>"},
    {CLHtmlSlot::None, "      <TD><FONT size=\"2\"><U><B>Browse IBM System i (AS/400) Directory</B></U></FONT></TD>"},
    {CLHtmlSlot::None, "    </TR>"},
    {CLHtmlSlot::None, "  </TABLE>"},
    {CLHtmlSlot::None, "  <BR><BR>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "  <TABLE width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\" style=\"padding-left:0; padding-right:24\">"},
    {CLHtmlSlot::None, "    <TR>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "      <TD width=\"15\">&nbsp; </TD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "      <TD width=\"180\" style=\"padding-left:0; padding-right:0\">"},
    {CLHtmlSlot::None, "        <A href=\"../software.htm\"><FONT color=\"#000080\" size=\"1\"><B><U>AS/400 Software</B></U></FONT></A><BR><BR>"},
    {CLHtmlSlot::None, "        <FONT size=\"1\">Software utilities for IBM <BR>System i (AS/400)</FONT><BR><BR>"},
    {CLHtmlSlot::None, "      </TD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "      <TD width=\"180\" style=\"padding-left:0; padding-right:0\">"},
    {CLHtmlSlot::None, "        <A href=\"../faq.htm\"><FONT color=\"#000080\" size=\"1\"><B><U>AS/400 FAQs</B></U></FONT></A><BR><BR>"},
    {CLHtmlSlot::None, "        <FONT size=\"1\">Frequently asked questions<BR> for IBM System i (AS/400)</FONT><BR><BR>"},
    {CLHtmlSlot::None, "      </TD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "      <TD width=\"180\" style=\"padding-left:0; padding-right:0\">"},
    {CLHtmlSlot::None, "        <A href=\"../book.htm\"><FONT color=\"#000080\" size=\"1\"><B><U>AS/400 Books</B></U></FONT></A><BR><BR>"},
    {CLHtmlSlot::None, "        <FONT size=\"1\">Books for IBM System i (AS/400)</FONT><BR><BR>"},
    {CLHtmlSlot::None, "      </TD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "      <TD width=\"180\" style=\"padding-left:0; padding-right:32\">"},
    {CLHtmlSlot::None, "        <A href=\"../dev.htm\"><FONT color=\"#000080\" size=\"1\"><B><U>AS/400 Development</B></U></FONT></A><BR><BR>"},
    {CLHtmlSlot::None, "        <FONT size=\"1\">Development resources for IBM System i (AS/400)</FONT><BR><BR>"},
    {CLHtmlSlot::None, "      </TD>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "    </TR>"},
    {CLHtmlSlot::None, "  </TABLE>"},
    {CLHtmlSlot::None, "  <BR><BR>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "  </TD></TR>"},
};

const CLHtmlLine kFooter[] = {
    {CLHtmlSlot::None, "      </TD></TR>"},
    {CLHtmlSlot::None, "    </TABLE>"},
    {CLHtmlSlot::None, "  </TD></TR>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "  <TR valign=\"middle\">"},
    {CLHtmlSlot::None, "    <TD width=\"800\">"},
    {CLHtmlSlot::None, "      <TABLE width=\"800\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><TR>"},
    {CLHtmlSlot::None, "        <TD id=\"HeadLinks\" style=\"padding-left:32; padding-top:8;padding-right:32;padding-bottom:8\">"},
    {CLHtmlSlot::None, "        <FONT color=\"#808080\">"},
    {CLHtmlSlot::None, "        System i, AS/400, i5/OS, OS/400 are registered trademarks of IBM Corporation. <BR><BR>"},
    {CLHtmlSlot::CopyrightFooter, ""},
    {CLHtmlSlot::None, "        </FONT></TD>"},
    {CLHtmlSlot::None, "        <TD valign=\"bottom\" align=\"right\" id=\"HeadLinks\"><DIV align=\"right\"><A href=\"#top\"><FONT color=\"#FFFFFF\"><B>Top</B></FONT></A>&nbsp; &nbsp; &nbsp</DIV></TD>"},
    {CLHtmlSlot::None, "      </TR></TABLE>"},
    {CLHtmlSlot::None, "    </TD>"},
    {CLHtmlSlot::None, "  </TR>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "</TABLE>"},
    {CLHtmlSlot::None, ""},
    {CLHtmlSlot::None, "</DIV>"},
    {CLHtmlSlot::None, "</BODY>"},
    {CLHtmlSlot::None, "</HTML>"},
};

// clang-format on

} // namespace

#define CL_BLOCK(a)                                                                                \
    {                                                                                              \
        (a), sizeof(a) / sizeof((a)[0])                                                            \
    }
const CLHtmlBlock kHtmlHeader = CL_BLOCK(kHeader);
const CLHtmlBlock kHtmlSponsorLinks = CL_BLOCK(kSponsorLinks);
const CLHtmlBlock kHtmlCmdBody = CL_BLOCK(kCmdBody);
const CLHtmlBlock kHtmlIndexBody = CL_BLOCK(kIndexBody);
const CLHtmlBlock kHtmlDirectory = CL_BLOCK(kDirectory);
const CLHtmlBlock kHtmlFooter = CL_BLOCK(kFooter);
