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
                              "[08]\n"
                              "WRKOBJ - Work with Objects\n"
                              "DLTLIB - Delete Library\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.cats, (Cats{{5, "Library Commands"}, {7, "Display Commands"}}));
    EXPECT_EQ(r.entries, (Entries{{"CALL", "CALL.dat", "Call Program", 1},
                                  {"CRTLIB", "CRTLIB.dat", "Create Library", 5},
                                  {"DLTLIB", "DLTLIB.dat", "Delete Library", 8},
                                  {"DSPLIB", "DSPLIB.dat", "Display Library", 7},
                                  {"WRKOBJ", "WRKOBJ.dat", "Work with Objects", 8}}));
    EXPECT_TRUE(r.messages.empty());
}

TEST(Analyzer, CategoryNumbersOutsideOneToNinetyNineAreRefusedByLine)
{
    TestHome home;
    // Three digits were once read as their first two, a sign or no digits as
    // some other number: each is now refused, and the category stays.
    Imported r = Import(home, "[02] - Two\n"
                              "[100] - Hundred\n"
                              "[-1] - Minus\n"
                              "[4294967295] - Big\n"
                              "[ab] - No digits\n"
                              "[00] - Zero\n"
                              "[12 - Open\n"
                              "A - a\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.cats, (Cats{{2, "Two"}}));
    EXPECT_EQ(r.entries, (Entries{{"A", "A.dat", "a", 2}}));
    ASSERT_EQ(r.messages.size(), 6u);
    EXPECT_EQ(r.messages[0], "Line 2: \"[100] - Hundred\" does not begin with a category number "
                             "[1] to [99]; the line was skipped.");
    EXPECT_EQ(r.messages[5].substr(0, 8), "Line 7: ");
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

    // An import with nothing to add fails and leaves both files as they were.
    const Bytes cats = ReadBytes(home.File("clcat.dat")),
                index = ReadBytes(home.File("cldict.dat"));
    for (const std::string& text :
         {std::string(), std::string("just a comment\n\n"),
          std::string("\xFF\xFE"
                      "A\0 \0-\0 \0a\0",
                      11),
          std::string("[01] - Only a category\n"), " - No name\n" + std::string(10 << 20, 'x')}) {
        r = Import(home, text);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(ReadBytes(home.File("clcat.dat")), cats);
        EXPECT_EQ(ReadBytes(home.File("cldict.dat")), index);
    }
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

TEST(Analyzer, OverLongTextsAreCutAndOverLongNamesRefusedNeverSplit)
{
    TestHome home;
    std::string longDesc(300, 'd');
    std::string longCat(100, 'c');
    WriteText(home.File("clcmd.txt"), "[03] - " + longCat + "\nABCDEFGHIJKLMN - " + longDesc +
                                          "\nCRTLIB - " + std::string(1500, 'a') +
                                          "EVIL - injected\nX - " + longDesc + "\n");
    MessageRecorder rec;
    CLCmdManager m;
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(&m);
    ASSERT_TRUE(analyzer.AnalyzeFile(home.File("clcmd.txt").c_str()));
    ASSERT_EQ(m.GetCatCount(), 1u);
    EXPECT_EQ(FieldText(m.GetFirstCat()->szName), std::string(79, 'c'));
    // A line is one line: text deep inside a long title never becomes a command.
    ASSERT_EQ(m.GetCmdIdxCount(), 2u);
    CLCmdIndex* p = m.GetFirstCmdIdx();
    EXPECT_STREQ(p->szName, "CRTLIB");
    EXPECT_EQ(FieldText(p->pRec->szDesc), std::string(255, 'a'));
    EXPECT_STREQ(m.GetNextCmdIdx()->szName, "X");
    EXPECT_EQ(rec.Texts(), std::vector<std::string>{
                               "Line 2: the command name \"ABCDEFGHIJKLMN\" is longer than 10 "
                               "characters; the line was skipped."});
    EXPECT_EQ(analyzer.GetWarnings(),
              (std::vector<std::string>{"Line 1: the category name was cut to 79 characters.",
                                        "Line 3: the title of CRTLIB was cut to 255 characters.",
                                        "Line 4: the title of X was cut to 255 characters."}));
}

TEST(Analyzer, AListMostlyNotTakenSaysHowMany)
{
    TestHome home;
    WriteText(home.File("clcmd.txt"), "A - a\nnoise\nmore noise\n[x] - y\n");
    CLCmdManager m;
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(&m);
    MessageRecorder rec;
    ASSERT_TRUE(analyzer.AnalyzeFile(home.File("clcmd.txt").c_str()));
    EXPECT_EQ(analyzer.GetWarnings(),
              std::vector<std::string>{"3 of the 4 lines of \"" + home.File("clcmd.txt") +
                                       "\" were not taken."});
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
