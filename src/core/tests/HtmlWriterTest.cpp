#include "CLCmdManager.h"
#include "CLHtmlWriter.h"
#include "CLRecordUtil.h"
#include "RecordMaker.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef ZENTRIVO_TEST_DATA
#error "ZENTRIVO_TEST_DATA must name the folder of the expected files"
#endif

namespace {

struct Site
{
    TestHome home;
    CLCmdManager m{CLOptions{kRunModeEdit}};
    CLHtmlWriter writer{&m};
    std::string out;
    Site()
    {
        out = home.File("html/");
        MakeDir(out);
        writer.SetOutputFolder(out);
    }
    CLCmdIndex* Add(const std::string& name, const std::string& desc = "",
                    const std::string& detail = "", const std::string& example = "")
    {
        CLCmdIndex e = MakeIdx(name);
        CLCmdIndex* p = m.AddCmdIdx(&e);
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), p, name, desc, "", {}, {}, detail, "", example);
        EXPECT_TRUE(m.SaveCmdRecord(rec.get()));
        return p;
    }
    std::string Page(const std::string& name) { return ReadText(out + name); }
};

// The lines of a page between its two breadcrumb markers, for the text rules.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t crlf; (crlf = text.find("\r\n", at)) != std::string::npos; at = crlf + 2)
        lines.push_back(text.substr(at, crlf - at));
    EXPECT_EQ(at, text.size()) << "every line ends in CR LF";
    return lines;
}

std::vector<std::string> Section(const std::string& page, const std::string& heading)
{
    std::vector<std::string> lines = Lines(page);
    auto it = std::find(lines.begin(), lines.end(), "      <B>" + heading + ":</B><BR><BR>");
    EXPECT_NE(it, lines.end());
    std::vector<std::string> section;
    for (++it; it != lines.end() && *it != "      <B>Examples:</B><BR><BR>" &&
               *it != "      </BLOCKQUOTE>";
         ++it)
        section.push_back(*it);
    return section;
}

std::vector<std::string> Detail(Site& s, const std::string& detail)
{
    CLCmdIndex* p = s.Add("T", "", detail);
    EXPECT_TRUE(s.writer.CreateCmdHtml(p));
    std::vector<std::string> lines = Section(s.Page("T.htm"), "Description");
    s.m.DeleteCmdIdx(p);
    return lines;
}

using Lns = std::vector<std::string>;

} // namespace

TEST(HtmlWriter, CommandPageMatchesTheExpectedPage)
{
    Site s;
    // Raw values and the publisher's ad ids give the page as it always was.
    CLHtmlOptions options;
    options.bRaw = true;
    options.adClient = "pub-0000000000000000";
    options.adChannel = "0000000000";
    s.writer.SetOptions(options);
    CLCmdIndex* p =
        s.Add("CRTLIB", "Create Library", "Creates a library.\r\nUse it <often> & well.\r\n",
              "CRTLIB LIB(X)\r\n\r\nLast\n line");
    ASSERT_TRUE(s.writer.CreateCmdHtml(p));
    EXPECT_EQ(ReadBytes(s.out + "CRTLIB.htm"), ReadBytes(ZENTRIVO_TEST_DATA "/CRTLIB.htm"));
    EXPECT_EQ(p->pRec, nullptr); // loaded for the page and freed again
    EXPECT_EQ(ListDir(s.out), std::vector<std::string>{"CRTLIB.htm"});
}

TEST(HtmlWriter, TextSections)
{
    Site s;
    EXPECT_EQ(Detail(s, "A\r\nB"), (Lns{"      A", "      <BR>", "", "      B", "      <BR>", "",
                                        "      <BR><BR>", ""}));
    EXPECT_EQ(Detail(s, "A\r\n"), (Lns{"      A", "      <BR>", "", "      <BR><BR>", ""}));
    EXPECT_EQ(Detail(s, "\r\n"), (Lns{"      ", "      <BR>", "", "      <BR><BR>", ""}));
    EXPECT_EQ(Detail(s, ""), (Lns{"    None.", "      <BR><BR>", ""}));
    // A lone LF stays inside its piece, and the piece gets one <BR> line.
    std::vector<std::string> lf = Detail(s, "one\ntwo");
    EXPECT_EQ(lf, (Lns{"      one\ntwo", "      <BR>", "", "      <BR><BR>", ""}));
    // Text is escaped, and a very long line is written whole.
    std::string longLine(10000, 'w');
    EXPECT_EQ(Detail(s, "<b>&amp;\"" + longLine), (Lns{"      &lt;b&gt;&amp;amp;&quot;" + longLine,
                                                       "      <BR>", "", "      <BR><BR>", ""}));
}

TEST(HtmlWriter, TextsLongerThan32767CharactersAreWrittenWhole)
{
    Site s;
    CLCmdIndex* p = s.Add("BIG");
    p->pRec = nullptr;
    RecordPtr rec = NewRecord(p);
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    ASSERT_GT(text.size(), 32767u);
    SetText(rec->pszDetail, text);
    p->pRec = rec.get(); // a record already loaded is used as it is and stays
    ASSERT_TRUE(s.writer.CreateCmdHtml(p));
    EXPECT_EQ(p->pRec, rec.get());
    std::vector<std::string> section = Section(s.Page("BIG.htm"), "Description");
    ASSERT_EQ(section.size(), 5000u * 3 + 2);
    EXPECT_EQ(section[3 * 4999], "      line 4999");
    p->pRec = nullptr;
}

TEST(HtmlWriter, UnreadableRecordsGetNoneAndAnEmptyDescription)
{
    Site s;
    CLCmdIndex e = MakeIdx("GHOST");
    CLCmdIndex* p = s.m.AddCmdIdx(&e);
    ASSERT_TRUE(s.writer.CreateAllHtml());
    std::string page = s.Page("GHOST.htm");
    EXPECT_EQ(Section(page, "Description"), (Lns{"    None.", "      <BR><BR>", ""}));
    EXPECT_EQ(Section(page, "Examples"), (Lns{"    None.", "      <BR><BR>", ""}));
    EXPECT_NE(s.Page("index-1.htm")
                  .find("      <LI><A href=\"GHOST.htm\"><B>GHOST</B></A>: </LI><BR><BR>\r\n"),
              std::string::npos);
    EXPECT_EQ(p->pRec, nullptr);
}

TEST(HtmlWriter, IndexPagesHold50CommandsEach)
{
    for (int nCount : {0, 50, 51, 120}) {
        Site s;
        for (int i = 0; i < nCount; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "C%04d", i);
            s.Add(name, std::string("Command ") + name);
        }
        ASSERT_TRUE(s.writer.CreateIndexHtml()) << nCount;
        int nPages = (nCount + 49) / 50;
        std::vector<std::string> expect;
        for (int n = 1; n <= nPages; ++n)
            expect.push_back("index-" + std::to_string(n) + ".htm");
        std::sort(expect.begin(), expect.end());
        EXPECT_EQ(ListDir(s.out), expect) << nCount;
        for (int n = 1; n <= nPages; ++n) {
            std::vector<std::string> lines = Lines(s.Page("index-" + std::to_string(n) + ".htm"));
            int nItems = 0, nLinks = 0;
            std::string first;
            for (const std::string& l : lines) {
                if (l.rfind("      <LI>", 0) == 0 && nItems++ == 0)
                    first = l;
                if (l.rfind("      <A href=\"index-", 0) == 0)
                    ++nLinks;
            }
            EXPECT_EQ(nItems, n < nPages ? 50 : nCount - 50 * (nPages - 1)) << nCount << " " << n;
            EXPECT_EQ(nLinks, nPages);
            char name[16];
            std::snprintf(name, sizeof name, "C%04d", 50 * (n - 1));
            EXPECT_EQ(first, std::string("      <LI><A href=\"") + name + ".htm\"><B>" + name +
                                 "</B></A>: Command " + name + "</LI><BR><BR>");
            EXPECT_NE(
                std::find(lines.begin(), lines.end(),
                          "<TITLE>CL Commands References - Page " + std::to_string(n) + "</TITLE>"),
                lines.end());
            EXPECT_NE(std::find(lines.begin(), lines.end(),
                                "          <TD><B><FONT size=\"2\">CL Commands List ( Page " +
                                    std::to_string(n) + " )</FONT></B></TD>"),
                      lines.end());
        }
        if (nPages == 2) {
            EXPECT_NE(s.Page("index-2.htm")
                          .find("      <A href=\"index-2.htm\">2</A> &nbsp; | "
                                "&nbsp;\r\n      </BLOCKQUOTE>"),
                      std::string::npos);
        }
    }
}

TEST(HtmlWriter, AllPagesTwiceAreIdentical)
{
    Site s;
    s.Add("CPYF", "Copy File", "x < y & z");
    s.Add("DSPLIB", "Display Library");
    ASSERT_TRUE(s.writer.CreateAllHtml());
    EXPECT_EQ(ListDir(s.out), (std::vector<std::string>{"CPYF.htm", "DSPLIB.htm", "index-1.htm"}));
    std::string a = s.Page("CPYF.htm"), idx = s.Page("index-1.htm");
    EXPECT_NE(a.find("      x &lt; y &amp; z\r\n"), std::string::npos);
    ASSERT_TRUE(s.writer.CreateAllHtml());
    EXPECT_EQ(s.Page("CPYF.htm"), a);
    EXPECT_EQ(s.Page("index-1.htm"), idx);
    // Every command page's breadcrumb leads to the first index page.
    EXPECT_NE(a.find("<A href=\"index-1.htm\"><FONT size=\"2\"><U><B>CL Commands List</B></U>"
                     "</FONT></A> &nbsp; &gt; <B><FONT size=\"2\">CPYF</FONT></B></TD>\r\n"),
              std::string::npos);
}

TEST(HtmlWriter, FailuresStopTheRun)
{
    Site s;
    s.Add("A");
    CLCmdIndex* pB = s.Add("B");
    EXPECT_FALSE(s.writer.CreateCmdHtml(nullptr));
    // A page that cannot be written stops the run before the index pages.
    MakeDir(s.out + "B.htm");
    EXPECT_FALSE(s.writer.CreateAllHtml());
    EXPECT_EQ(s.writer.GetLastError(), "The page \"" + s.out + "B.htm\" cannot be written.");
    EXPECT_FALSE(FileExists(s.out + "index-1.htm"));
    EXPECT_TRUE(FileExists(s.out + "A.htm"));
    EXPECT_EQ(pB->pRec, nullptr);
    // A missing output folder.
    s.writer.SetOutputFolder(s.home.File("nowhere"));
    EXPECT_FALSE(s.writer.CreateIndexHtml());
    // A name that cannot be a file name.
    s.writer.SetOutputFolder(s.out);
    CLCmdIndex bad = MakeIdx("../X");
    EXPECT_FALSE(s.writer.CreateCmdHtml(&bad));
    EXPECT_FALSE(FileExists(s.home.File("X.htm")));
}

TEST(HtmlWriter, EveryValueIsEscapedUnlessRawIsAsked)
{
    Site s;
    s.Add("IF", "Run <IF> & \"then\"", "IF COND(&A *LT &B) THEN(GOTO X)", "<script>x</script>");
    ASSERT_TRUE(s.writer.CreateAllHtml());
    std::string page = s.Page("IF.htm"), index = s.Page("index-1.htm");
    EXPECT_NE(page.find("      IF COND(&amp;A *LT &amp;B) THEN(GOTO X)\r\n"), std::string::npos);
    EXPECT_NE(page.find("      &lt;script&gt;x&lt;/script&gt;\r\n"), std::string::npos);
    EXPECT_EQ(page.find("<script>x"), std::string::npos);
    EXPECT_NE(index.find(": Run &lt;IF&gt; &amp; &quot;then&quot;</LI>"), std::string::npos);

    CLHtmlOptions raw;
    raw.bRaw = true;
    s.writer.SetOptions(raw);
    ASSERT_TRUE(s.writer.CreateAllHtml());
    EXPECT_NE(s.Page("IF.htm").find("      <script>x</script>\r\n"), std::string::npos);
    EXPECT_NE(s.Page("index-1.htm").find(": Run <IF> & \"then\"</LI>"), std::string::npos);
}

TEST(HtmlWriter, TheAdBlockNeedsThePublishersIdsAndTheHolderIsASetting)
{
    Site s;
    CLCmdIndex* p = s.Add("DSPLIB", "Display Library");
    ASSERT_TRUE(s.writer.CreateCmdHtml(p));
    std::string page = s.Page("DSPLIB.htm");
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("Sponsored Links"), std::string::npos);
    // The block's frame and the program's own link stay.
    EXPECT_NE(page.find("  <TR align=\"middle\"><TD width=\"800\">\r\n\r\n  <TABLE"),
              std::string::npos);
    EXPECT_NE(page.find("Get All CL Command Information on Your PC"), std::string::npos);
    EXPECT_NE(page.find("Copyright &copy; 2026 Zentrivo. All rights reserved."), std::string::npos);

    CLHtmlOptions options;
    options.adClient = "pub-123";
    options.adChannel = "456";
    options.copyrightHolder = "Smith & Sons";
    s.writer.SetOptions(options);
    ASSERT_TRUE(s.writer.CreateCmdHtml(p));
    page = s.Page("DSPLIB.htm");
    EXPECT_NE(page.find("      google_ad_client = \"pub-123\";\r\n"), std::string::npos);
    EXPECT_NE(page.find("      google_ad_channel = \"456\";\r\n"), std::string::npos);
    EXPECT_NE(page.find("Sponsored Links"), std::string::npos);
    EXPECT_NE(page.find("content=\"Copyright (c) 2026 Smith &amp; Sons. All rights reserved.\""),
              std::string::npos);
    EXPECT_TRUE(CLHtmlOptions::IsAdId("pub-0000000000000000"));
    EXPECT_FALSE(CLHtmlOptions::IsAdId("x\";alert(1);//"));
    EXPECT_FALSE(CLHtmlOptions::IsAdId(""));
}

TEST(HtmlWriter, ADamagedRecordKeepsItsPublishedPage)
{
    Site s;
    s.Add("A", "First");
    CLCmdIndex* pB = s.Add("B", "Second", "Good text");
    s.Add("C", "Third");
    ASSERT_TRUE(s.writer.CreateAllHtml());
    const std::string good = s.Page("B.htm");
    // B's file is cut short: its record can no longer be read.
    Bytes bytes = ReadBytes(s.home.File("data/B.dat"));
    bytes.resize(bytes.size() - 3);
    WriteBytes(s.home.File("data/B.dat"), bytes);
    EXPECT_FALSE(s.writer.CreateCmdHtml(pB));
    EXPECT_EQ(s.writer.GetLastError(), "The record of B cannot be read; its page was not written.");
    EXPECT_EQ(s.Page("B.htm"), good);
    // A whole run writes the others and the index, then reports it.
    std::filesystem::remove(s.out + "A.htm");
    std::filesystem::remove(s.out + "index-1.htm");
    EXPECT_FALSE(s.writer.CreateAllHtml());
    EXPECT_EQ(
        s.writer.GetErrors(),
        std::vector<std::string>{"The record of B cannot be read; its page was not written."});
    EXPECT_EQ(s.Page("B.htm"), good);
    EXPECT_TRUE(FileExists(s.out + "A.htm"));
    EXPECT_TRUE(FileExists(s.out + "index-1.htm"));
    EXPECT_EQ(pB->pRec, nullptr);
}

TEST(HtmlWriter, NothingToWriteIsAnError)
{
    Site s;
    EXPECT_FALSE(s.writer.CreateAllHtml());
    EXPECT_EQ(s.writer.GetLastError(), "The index holds no command; no page was written.");
    CLCmdIndex* p = s.Add("A", "First");
    std::filesystem::remove_all(s.home.File("data"));
    EXPECT_FALSE(s.writer.CreateAllHtml());
    EXPECT_FALSE(s.writer.CreateCmdHtml(p));
    EXPECT_NE(s.writer.GetLastError().find("that the records are read from is missing"),
              std::string::npos);
    EXPECT_TRUE(ListDir(s.out).empty());
}

TEST(HtmlWriter, APartialRecordSaysSoAfterItsDetail)
{
    Site s;
    CLCmdIndex* p = s.Add("CRTJOBD", "Create Job Description", "Creates a job description.");
    CLCmdRecord* pRec = s.m.AttachCmdRecord(p);
    SetText(pRec->pszReserved, "partial-parameters");
    ASSERT_TRUE(s.writer.CreateCmdHtml(p));
    EXPECT_EQ(Section(s.Page("CRTJOBD.htm"), "Description"),
              (Lns{"      Creates a job description.", "      <BR>", "", "      ", "      <BR>", "",
                   "      No parameters are listed; see IBM's documentation for the rest.",
                   "      <BR>", "", "      <BR><BR>", ""}));
    CLCmdManager::DetachCmdRecord(p);
}
