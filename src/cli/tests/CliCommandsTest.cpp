// import, build, html, list, categories and show, run as a user runs them.
#include "CliHome.h"

#include "FileLimit.h"
#include "RecordMaker.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The bytes of a record holding only a name and a description.
Bytes TitleRecord(const std::string& name, const std::string& title)
{
    return ByteWriter()
        .str(name)
        .str(title)
        .str("")
        .byte(0)
        .dw(0)
        .dw(0)
        .str("")
        .str("")
        .str("")
        .bytes();
}

RecordDoc FullRecord()
{
    RecordDoc d;
    d.name = "CRTLIB";
    d.description = "Create Library";
    d.environment = "Batch\r\nInteractive";
    d.parameters = {{"LIB", "Library", "Name", "Required"},
                    {"TYPE", "Library type", "*PROD, *TEST", ""}};
    d.examples = "CRTLIB LIB(X)\r\n\r\nCreates X.";
    d.detail = "Line 1\r\nLine 2";
    d.errors = {{"CPF2111", "Library exists."}};
    return d;
}

} // namespace

TEST(CliImport, ReplacesTheListsAndReportsRefusedLines)
{
    CliHome home;
    WriteText(home.File("list.txt"), std::string(kSmallList) + "BAD/NAME - Refused\n");
    CliResult r = home.Run({"import", home.File("list.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "zentrivo-cli: Invalid CL Command Name \"BAD/NAME\" in line 7.\n");
    EXPECT_EQ(home.Run({"list"}).out, "CPYF\nCRTLIB\nDLTLIB\nDSPFD\n");
    EXPECT_EQ(home.Run({"categories"}).out, "1\tLibraries\t\n2\tFiles\t\n");
    EXPECT_TRUE(ListDir(home.File("data")).empty()); // no --records

    // A second import replaces both lists.
    WriteText(home.File("list.txt"), "[07] - Other\nWRKLIB - Work with Libraries\n");
    EXPECT_EQ(home.Run({"import", home.File("list.txt")}).status, 0);
    EXPECT_EQ(home.Run({"list"}).out, "WRKLIB\n");
    EXPECT_EQ(home.Run({"categories"}).out, "7\tOther\t\n");

    r = home.Run({"import", home.File("missing.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.txt"), std::string::npos);
    EXPECT_EQ(home.Run({"list"}).out, "WRKLIB\n"); // untouched
    r = RunCliIn(home.File("no-such-folder"), {"import", home.File("list.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be written"), std::string::npos);
}

TEST(CliImport, RecordsAreCreatedButNeverOverwritten)
{
    CliHome home;
    fs::remove_all(home.File("data"));
    home.Import(); // creates data/
    EXPECT_EQ(ListDir(home.File("data")),
              (std::vector<std::string>{"CPYF.dat", "CRTLIB.dat", "DLTLIB.dat", "DSPFD.dat"}));
    EXPECT_EQ(ReadBytes(home.File("data/CRTLIB.dat")), TitleRecord("CRTLIB", "Create Library"));

    home.Save(FullRecord());
    const Bytes edited = ReadBytes(home.File("data/CRTLIB.dat"));
    fs::remove(home.File("data/DLTLIB.dat"));
    home.Import("[01] - Libraries\nCRTLIB - New title\nDLTLIB - Delete a Library\n"
                "NEWCMD - New Command\n");
    EXPECT_EQ(ReadBytes(home.File("data/CRTLIB.dat")), edited);
    EXPECT_EQ(ReadBytes(home.File("data/DLTLIB.dat")), TitleRecord("DLTLIB", "Delete a Library"));
    EXPECT_EQ(ReadBytes(home.File("data/NEWCMD.dat")), TitleRecord("NEWCMD", "New Command"));
    EXPECT_TRUE(FileExists(home.File("data/CPYF.dat"))); // left alone though no longer listed

    // A data/ that cannot be created fails the import before the lists are written.
    const Bytes index = ReadBytes(home.File("cldict.dat"));
    fs::remove_all(home.File("data"));
    WriteText(home.File("data"), "a file in the way");
    WriteText(home.File("list.txt"), "[01] - Libraries\nOTHER - Another\n");
    CliResult r = home.Run({"import", "--records", home.File("list.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be created"), std::string::npos);
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")), index);
}

TEST(CliList, NamesInIndexOrderAndByCategory)
{
    CliHome home;
    CliResult r = home.Run({"list"});
    EXPECT_EQ(r.status, 1); // no index yet
    EXPECT_NE(r.err.find("cldict.dat"), std::string::npos);
    EXPECT_EQ(home.Run({"categories"}).status, 1);

    home.Import(std::string(kSmallList) + "[03] - Caf\xE9s\nCR\xC9"
                                          "ER - Cr\xE9"
                                          "er\n[04] - Empty\n");
    EXPECT_EQ(home.Run({"list"}).out, "CPYF\nCRTLIB\nCR\xC9"
                                      "ER\nDLTLIB\nDSPFD\n");
    EXPECT_EQ(home.Run({"list", "--category", "2"}).out, "CPYF\nDSPFD\n");
    EXPECT_EQ(home.Run({"list", "--category=03"}).out, "CR\xC9"
                                                       "ER\n");
    r = home.Run({"list", "--category", "4"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    r = home.Run({"list", "--category", "9"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "zentrivo-cli: category 9 does not exist.\n");
    EXPECT_EQ(home.Run({"categories"}).out,
              "1\tLibraries\t\n2\tFiles\t\n3\tCaf\xE9s\t\n4\tEmpty\t\n");

    CLCategory cat{};
    cat.dwID = 5;
    CopyField(cat.szName, "With file");
    CopyField(cat.szFileName, "w.htm");
    home.WriteCategories({cat});
    EXPECT_EQ(home.Run({"categories"}).out, "5\tWith file\tw.htm\n");
}

TEST(CliShow, PrintsEverySectionOfTheRecord)
{
    CliHome home;
    home.Import();
    home.Save(FullRecord());
    home.Build();
    CliResult r = home.Run({"show", "CRTLIB"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Name:         CRTLIB\n"
                     "Description:  Create Library\n"
                     "\n"
                     "Environment\n"
                     "  Batch\n"
                     "  Interactive\n"
                     "\n"
                     "Parameters\n"
                     "  LIB         Library\n"
                     "              Choices:  Name\n"
                     "              Note:     Required\n"
                     "  TYPE        Library type\n"
                     "              Choices:  *PROD, *TEST\n"
                     "\n"
                     "Examples\n"
                     "  CRTLIB LIB(X)\n"
                     "\n"
                     "  Creates X.\n"
                     "\n"
                     "Detail\n"
                     "  Line 1\n"
                     "  Line 2\n"
                     "\n"
                     "Error messages\n"
                     "  CPF2111   Library exists.\n");

    r = home.Run({"show", "DLTLIB"});
    EXPECT_EQ(r.out, "Name:         DLTLIB\n"
                     "Description:  Delete Library\n"
                     "\n"
                     "Environment\n  (none)\n"
                     "\n"
                     "Parameters\n  (none)\n"
                     "\n"
                     "Examples\n  (none)\n"
                     "\n"
                     "Detail\n  (none)\n"
                     "\n"
                     "Error messages\n  (none)\n");
}

TEST(CliShow, NamesMatchExactlyAndUnreadableRecordsFail)
{
    CliHome home;
    home.Import("CR\xC9"
                "ER - Cr\xE9"
                "er\nCRTLIB - Create Library\n");
    home.Build();
    CliResult r = home.Run({"show", "CR\xC9"
                                    "ER"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(LinesOf(r.out)[1], "Description:  Cr\xE9"
                                 "er"); // the bytes as they are
    for (const char* name : {"crtlib", "CRTLI", "CRTLIB ",
                             "CR\xC3\x89"
                             "ER",
                             "NONE"}) {
        r = home.Run({"show", name});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "zentrivo-cli: CL command \"" + std::string(name) + "\" not found.\n");
    }
    fs::remove(home.File("clcmd.dat"));
    r = home.Run({"show", "CRTLIB"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentrivo-cli: the record of \"CRTLIB\" cannot be read.\n");
    EXPECT_EQ(home.Run({"--run-mode", "1", "show", "CRTLIB"}).status, 0);
}

TEST(CliBuild, JoinsTheRecordsAndNeverWritesAnEmptyIndex)
{
    CliHome home;
    home.Import();
    home.Save(FullRecord());
    home.Build();
    Bytes joined;
    for (const char* name : {"CPYF", "CRTLIB", "DLTLIB", "DSPFD"}) {
        Bytes b = ReadBytes(home.File(std::string("data/") + name + ".dat"));
        joined.insert(joined.end(), b.begin(), b.end());
    }
    EXPECT_EQ(ReadBytes(home.File("clcmd.dat")), joined);
    EXPECT_EQ(home.Run({"check"}).out, "");

    // An index that cannot be loaded leaves everything as it was.
    WriteText(home.File("cldict.dat"), "not an index");
    CliResult r = home.Run({"build"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cldict.dat"), std::string::npos);
    EXPECT_EQ(ReadText(home.File("cldict.dat")), "not an index");
    EXPECT_EQ(ReadBytes(home.File("clcmd.dat")), joined);
    fs::remove(home.File("cldict.dat"));
    EXPECT_EQ(home.Run({"build"}).status, 1);
    EXPECT_FALSE(FileExists(home.File("cldict.dat")));

    // A clcmd.dat that cannot be replaced.
    home.Import();
    fs::remove(home.File("clcmd.dat"));
    fs::create_directory(home.File("clcmd.dat"));
    r = home.Run({"build"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("clcmd.dat"), std::string::npos);
}

TEST(CliHtml, WritesThePagesOfTheNamedOrAllCommands)
{
    CliHome home;
    home.Import();
    home.Save(FullRecord());
    home.Build();

    CliResult r = home.Run({"html", "--out", home.File("site/all")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ListDir(home.File("site/all")),
              (std::vector<std::string>{"CPYF.htm", "CRTLIB.htm", "DLTLIB.htm", "DSPFD.htm",
                                        "index-1.htm"}));
    std::string page = ReadText(home.File("site/all/CRTLIB.htm"));
    EXPECT_NE(page.find("Creates X."), std::string::npos);
    EXPECT_NE(ReadText(home.File("site/all/index-1.htm")).find("Delete Library"),
              std::string::npos);

    r = home.Run({"html", "--out=" + home.File("site/one"), "CRTLIB"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ListDir(home.File("site/one")), std::vector<std::string>{"CRTLIB.htm"});
    EXPECT_EQ(ReadText(home.File("site/one/CRTLIB.htm")), page);

    r = home.Run({"html", "--out", home.File("site/two"), "NOPE", "DLTLIB"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentrivo-cli: CL command \"NOPE\" not found.\n");
    EXPECT_EQ(ListDir(home.File("site/two")), std::vector<std::string>{"DLTLIB.htm"});

    WriteText(home.File("site/file"), "in the way");
    r = home.Run({"html", "--out", home.File("site/file")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be created"), std::string::npos);
    {
        FileLimit full(1024); // a full disk for the pages, inherited by the tool
        r = home.Run({"html", "--out", home.File("site/all")});
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be written"), std::string::npos);
}

TEST(CliShow, APartialRecordSaysWhatItLeavesOut)
{
    CliHome home;
    home.Import();
    RecordDoc doc = FullRecord();
    doc.partial = true;
    doc.parameters[1].partialChoices = true;
    home.Save(doc);
    CliResult r = home.Run({"--run-mode", "1", "show", "CRTLIB"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("              Choices:  *PROD, *TEST\n"
                         "                        Only some values are listed; see IBM's "
                         "documentation for the rest.\n"
                         "  Only the first 2 parameters are listed; see IBM's documentation for "
                         "the rest.\n"),
              std::string::npos)
        << r.out;
}
