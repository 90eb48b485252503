// Hostile input and concurrent use of the command-line tool: every input gets
// an answer, no record replaces another's, two writers lose nothing, and
// what the tool writes passes check.
#include "CliHome.h"

#include "CLRecordUtil.h"
#include "FileLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

namespace fs = std::filesystem;

namespace {

// A folder with one YAML file, loaded into home; the result of the load.
CliResult LoadOne(const CliHome& home, const std::string& name, const std::string& yaml)
{
    const std::string dir = home.File("in-" + name);
    fs::remove_all(dir);
    MakeDir(dir);
    WriteText(dir + "/" + name + ".yaml", yaml);
    return home.Run({"load", dir});
}

} // namespace

TEST(CliReliability, EveryYamlFileGetsAnAnswer)
{
    CliHome home;
    home.Import();
    home.Build();
    // Inputs on which the YAML parser reports documents without end, a NUL
    // byte, and a file of nothing but nesting.
    const std::pair<std::string, std::string> inputs[] = {
        {",", "the file holds more than one document"},
        {"- a\n,", "the file holds more than one document"},
        {"---\n,", "the file holds more than one document"},
        {std::string("name: X\ndescription: a\0b\n", 26), "a NUL byte at offset 22"},
        {std::string(100000, '['), ""},
    };
    for (const auto& [yaml, reason] : inputs) {
        CliResult r = LoadOne(home, "X", yaml);
        EXPECT_EQ(r.status, 1) << yaml.substr(0, 20);
        EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
    }
    // A NUL written as an escape is refused too.
    CliResult r = LoadOne(home, "X", "name: X\ndescription: \"a\\0b\"\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("NUL"), std::string::npos) << r.err;
    EXPECT_EQ(home.Run({"check"}).out, "");
}

TEST(CliReliability, NoRecordTakesAnotherCommandsFile)
{
    CliHome home;
    home.Import();
    home.Build();
    Bytes crtlib = ReadBytes(home.File("data/CRTLIB.dat"));
    CliResult r = LoadOne(home, "YT", "name: YT\nfile: CRTLIB.dat\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the file \"CRTLIB.dat\" belongs to the command \"CRTLIB\""),
              std::string::npos)
        << r.err;
    EXPECT_EQ(ReadBytes(home.File("data/CRTLIB.dat")), crtlib);

    // A command of its own in another file: build joins the same record.
    r = LoadOne(home, "CPYF", "name: CPYF\ndescription: Kept elsewhere\nfile: OTHER.dat\n");
    ASSERT_EQ(r.status, 0) << r.err;
    home.Build();
    EXPECT_EQ(home.Run({"--run-mode", "1", "show", "CPYF"}).out, home.Run({"show", "CPYF"}).out);
    EXPECT_NE(home.Run({"show", "CPYF"}).out.find("Kept elsewhere"), std::string::npos);
    EXPECT_EQ(home.Run({"check"}).out, "");
}

TEST(CliReliability, TwoWritersLoseNothing)
{
    CliHome home;
    home.Import();
    home.Build();
    for (int i = 0; i < 10; ++i) {
        const std::string name = "NEW" + std::to_string(i);
        const std::string dir = home.File("in" + std::to_string(i));
        MakeDir(dir);
        WriteText(dir + "/" + name + ".yaml", "name: " + name + "\n");
        auto build = std::async(std::launch::async, [&] { return home.Run({"build"}); });
        CliResult load = home.Run({"load", dir});
        CliResult built = build.get();
        EXPECT_EQ(load.status, 0) << load.err;
        EXPECT_EQ(built.status, 0) << built.err;
        EXPECT_NE(home.Run({"list"}).out.find(name + "\n"), std::string::npos) << i;
    }
}

TEST(CliReliability, WhatTheImporterWritesPassesCheck)
{
    CliHome home;
    home.Import("[01] - One\nONE - In category 1\n[7] - Seven\nSEVEN - In 7\n[01]\nBACK - In 1\n");
    EXPECT_EQ(home.Run({"categories"}).out, "1\tOne\t\n7\tSeven\t\n");
    home.Build();
    CliResult r = home.Run({"check"});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
    // What load writes passes too; a category that does not exist is refused.
    r = LoadOne(home, "TWO", "name: TWO\ncategory: 7\n");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* cat : {"0", "999"}) {
        r = LoadOne(home, "NOPE", std::string("name: NOPE\ncategory: ") + cat + "\n");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("NOPE.yaml: category: " + std::string(cat) + " does not exist"),
                  std::string::npos)
            << r.err;
    }
    home.Build();
    EXPECT_EQ(home.Run({"check"}).out, "");
    EXPECT_EQ(home.Run({"list"}).out, "BACK\nONE\nSEVEN\nTWO\n");
}

TEST(CliReliability, ALoadThatCannotWriteLeavesTheFolderAsItWas)
{
    CliHome home;
    std::string list = "[01] - Libraries\n";
    for (int i = 0; i < 300; ++i)
        list += "CMD" + std::to_string(i) + " - Command\n";
    home.Import(list);
    home.Build();
    Bytes index = ReadBytes(home.File("cldict.dat"));
    Bytes cats = ReadBytes(home.File("clcat.dat"));
    const std::string dir = home.File("in");
    MakeDir(dir);
    WriteText(dir + "/NEWCMD.yaml", "name: NEWCMD\ncategory: 7\n");
    WriteText(dir + "/categories.yaml", "categories:\n  - id: 7\n    name: Seven\n");
    CliResult r;
    {
        FileLimit limit(4096); // records and categories fit; the index does not
        r = home.Run({"load", dir});
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cldict.dat\" cannot be written."), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")), index);
    EXPECT_FALSE(FileExists(home.File("data/NEWCMD.dat"))); // no record without an entry
    EXPECT_NE(ReadBytes(home.File("clcat.dat")), cats);     // category 7, harmless alone
    EXPECT_EQ(home.Run({"check"}).out, "");
}

TEST(CliReliability, EveryRecordTheFormatHoldsRoundTrips)
{
    CliHome home;
    home.Import();
    RecordDoc d;
    d.name = "CPYF";
    d.errors = {{"CPF123456", std::string(149, 't')}}; // the field holds 9 and 149
    home.Save(d);
    home.Build();
    ASSERT_EQ(home.Run({"export", home.File("out")}).status, 0);
    CliHome second;
    second.Import();
    CliResult r = second.Run({"load", home.File("out")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(second.File("data/CPYF.dat")), ReadBytes(home.File("data/CPYF.dat")));
}

TEST(CliReliability, MessagesShowNoControlCharacters)
{
    CliHome home;
    home.Import();
    home.Build();
    for (const char* cmd : {"show", "html"}) {
        std::vector<std::string> args = {cmd, "A\x1B[31mB\x07"};
        if (std::string(cmd) == "html")
            args.insert(args.begin() + 1, {"--out", home.File("site")});
        CliResult r = home.Run(args);
        EXPECT_EQ(r.status, 1) << cmd;
        EXPECT_EQ(r.err, "zentrivo-cli: CL command \"A?[31mB?\" not found.\n") << cmd;
    }
}
