#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLRecordUtil.h"
#include "TestHome.h"
#include "WinUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Entry
{
    std::string name, file, desc;
    uint32_t cat;
    bool operator==(const Entry&) const = default;
};

struct Imported
{
    std::vector<std::pair<uint32_t, std::string>> cats;
    std::vector<Entry> entries;
    std::vector<std::string> messages;
    bool ok;
};

// Imports text into a manager of the test's own, to see the records too.
Imported Import(const TestHome& home, const std::string& text)
{
    WriteText(home.File("clcmd.txt"), text);
    MessageRecorder rec;
    CLCmdManager m;
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(&m);
    Imported out;
    out.ok = analyzer.AnalyzeFile(home.File("clcmd.txt").c_str());
    for (CLCategory* p = m.GetFirstCat(); p; p = m.GetNextCat())
        out.cats.emplace_back(p->dwID, p->szName);
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx())
        out.entries.push_back(
            {p->szName, p->szFileName, p->pRec ? p->pRec->szDesc : "<no record>", p->dwCatID});
    out.messages = rec.Texts();
    return out;
}

using Cats = std::vector<std::pair<uint32_t, std::string>>;
using Entries = std::vector<Entry>;

} // namespace

TEST(Analyzer, CategoryLinesAndTheCurrentCategory)
{
    TestHome home;
    Imported r = Import(home, "CALL - Call Program\n"
                              "[05] - Library Commands\n"
                              "CRTLIB - Create Library\n"
                              "[7] - Display Commands\n"
                              "DSPLIB - Display Library\n"
                              "[123] - X\n"
                              "[08]\n"
                              "WRKOBJ - Work with Objects\n"
                              "[ab] - No digits\n"
                              "[-3x\n"
                              "DLTLIB - Delete Library\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(
        r.cats,
        (Cats{{0, "No digits"}, {5, "Library Commands"}, {7, "Display Commands"}, {12, "X"}}));
    EXPECT_EQ(r.entries, (Entries{{"CALL", "CALL.dat", "Call Program", 1},
                                  {"CRTLIB", "CRTLIB.dat", "Create Library", 5},
                                  {"DLTLIB", "DLTLIB.dat", "Delete Library", 0xFFFFFFFD},
                                  {"DSPLIB", "DSPLIB.dat", "Display Library", 7},
                                  {"WRKOBJ", "WRKOBJ.dat", "Work with Objects", 8}}));
    EXPECT_TRUE(r.messages.empty());
}

TEST(Analyzer, CommandLineRules)
{
    TestHome home;
    Imported r = Import(home, "DSPLIB - Display Library - details\n"
                              "CRTLIB -Create Library\n"
                              "CRTLIB\n"
                              "CRTLIB - \n"
                              "   CRTLIB - Create Library\n"
                              "CHGLIB  - Two blanks\n"
                              "TRAIL - Trailing white space \t \v\f\r\n"
                              "\n   \n");
    EXPECT_EQ(r.entries, (Entries{{"   CRTLIB", "   CRTLIB.dat", "Create Library", 1},
                                  {"CHGLIB ", "CHGLIB .dat", "Two blanks", 1},
                                  {"DSPLIB", "DSPLIB.dat", "Display Library - details", 1},
                                  {"TRAIL", "TRAIL.dat", "Trailing white space", 1}}));
}

TEST(Analyzer, LfAndCrLfGiveTheSameFiles)
{
    TestHome home;
    const std::string text = "[01] - Libraries\nCRTLIB - Create Library\nDSPLIB - Display\n";
    Import(home, text);
    Bytes cat = ReadBytes(home.File("clcat.dat"));
    Bytes idx = ReadBytes(home.File("cldict.dat"));
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Import(home, crlf);
    EXPECT_EQ(ReadBytes(home.File("clcat.dat")), cat);
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")), idx);
    // The files hold the categories and entries, never records.
    ByteWriter w;
    w.str("CLDICT").dw(10000).dw(2);
    w.str("CRTLIB").str("CRTLIB.dat").dw(0).dw(0).dw(1).dw(0).dw(0);
    w.str("DSPLIB").str("DSPLIB.dat").dw(0).dw(0).dw(1).dw(0).dw(0);
    EXPECT_EQ(idx, w.bytes());
    EXPECT_EQ(ListDir(home.File("data")), std::vector<std::string>{});
}

TEST(Analyzer, OrderAndEmptyImport)
{
    TestHome home;
    Imported r = Import(home, "[09] - Nine\nZZZ - z\n[02] - Two\nAAA - a\nMMM - m\n");
    EXPECT_EQ(r.cats, (Cats{{2, "Two"}, {9, "Nine"}}));
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[0].name, "AAA");
    EXPECT_EQ(r.entries[2].name, "ZZZ");

    // An import with nothing to add rewrites both files empty.
    Import(home, "just a comment\n\n");
    EXPECT_EQ(ReadBytes(home.File("clcat.dat")), ByteWriter().str("CLCAT").dw(10000).dw(0).bytes());
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")),
              ByteWriter().str("CLDICT").dw(10000).dw(0).bytes());
}

TEST(Analyzer, RefusedLinesAreReportedAndTheImportGoesOn)
{
    TestHome home;
    Imported r = Import(home, "[01] - Libraries\n"
                              "CRTLIB - Create Library\n"
                              "CRTLIB - Again\n"
                              " - No name\n"
                              "[01] - Libraries again\n"
                              "../ETC - Escape\n"
                              "A/B - Slash\n"
                              "..\r\n"
                              ".. - Dots\n"
                              "BEL\x07 - Control\n"
                              "DSPLIB - Display Library\n");
    EXPECT_EQ(r.messages,
              (std::vector<std::string>{
                  "CL Command \"CRTLIB\" is already in the database.", "Invalid CL Command Name.",
                  "CL Command category \"Libraries again\" is already in the database.",
                  "Invalid CL Command Name \"../ETC\" in line 6.",
                  "Invalid CL Command Name \"A/B\" in line 7.",
                  "Invalid CL Command Name \"..\" in line 9.",
                  "Invalid CL Command Name \"BEL?\" in line 10."}));
    EXPECT_EQ(r.entries, (Entries{{"CRTLIB", "CRTLIB.dat", "Create Library", 1},
                                  {"DSPLIB", "DSPLIB.dat", "Display Library", 1}}));
    EXPECT_EQ(r.cats, (Cats{{1, "Libraries"}}));
}

TEST(Analyzer, OverLongTextsAreCutToTheirFields)
{
    TestHome home;
    std::string longDesc(300, 'd');
    std::string longCat(100, 'c');
    Imported r = Import(home, "[03] - " + longCat + "\nABCDEFGHIJKLMN - " + longDesc + "\n" +
                                  "X - " + std::string(1500, 'x') + " - tail\n");
    ASSERT_EQ(r.cats.size(), 1u);
    EXPECT_EQ(r.cats[0].second, std::string(79, 'c'));
    ASSERT_EQ(r.entries.size(), 3u);
    EXPECT_EQ(r.entries[0].name, "ABCDEFGHIJ");
    EXPECT_EQ(r.entries[0].file, "ABCDEFGHIJ.dat");
    EXPECT_EQ(r.entries[0].desc, std::string(255, 'd'));
    // A line longer than 1023 characters is read as several pieces: the
    // second piece holds a separator of its own.
    EXPECT_EQ(r.entries[1].desc, std::string(255, 'x'));
    EXPECT_EQ(r.entries[2].name, std::string(10, 'x'));
    EXPECT_EQ(r.entries[2].desc, "tail");
}

TEST(Analyzer, FailuresNameTheFileAndTouchNothing)
{
    TestHome home;
    WriteText(home.File("clcat.dat"), "old cat");
    WriteText(home.File("cldict.dat"), "old idx");
    CLFileAnalyzer analyzer;
    EXPECT_FALSE(analyzer.AnalyzeFile(home.File("missing.txt").c_str()));
    EXPECT_EQ(analyzer.GetLastError(),
              "The import file \"" + home.File("missing.txt") + "\" cannot be read.");
    EXPECT_FALSE(analyzer.AnalyzeFile(nullptr));
    EXPECT_EQ(ReadText(home.File("clcat.dat")), "old cat");
    EXPECT_EQ(ReadText(home.File("cldict.dat")), "old idx");

    // The index cannot be written: the import fails and says which file.
    WriteText(home.File("list.txt"), "A - a\n");
    std::filesystem::remove(home.File("cldict.dat"));
    MakeDir(home.File("cldict.dat"));
    EXPECT_FALSE(analyzer.AnalyzeFile(home.File("list.txt").c_str()));
    EXPECT_EQ(analyzer.GetLastError(),
              "The file \"" + home.File("cldict.dat") + "\" cannot be written.");
    EXPECT_EQ(ReadText(home.File("clcat.dat")), "old cat");
}
