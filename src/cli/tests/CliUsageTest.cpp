// The command line itself: usage errors, help, the program folder and the run mode.
#include "CliCommands.h"
#include "CliDocs.h"
#include "CliHome.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(CliUsage, UsageErrorsExitWithTwo)
{
    CliHome home;
    home.Import();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"bogus"},
        {"--bogus", "list"},
        {"list", "--bogus"},
        {"import"},
        {"import", "a", "b"},
        {"build", "x"},
        {"show"},
        {"show", "CRTLIB", "DLTLIB"},
        {"export"},
        {"load"},
        {"check", "x"},
        {"categories", "x"},
        {"html", "CRTLIB"},
        {"html", "--out"},
        {"list", "--category", "x"},
        {"list", "--category", "-1"},
        {"list", "--category", "4294967296"},
        {"list", "--category", ""},
        {"--run-mode", "x", "list"},
        {"--run-mode", "1.5", "list"},
        {"--run-mode", "99999999999", "list"},
        {"help", "bogus"},
        {"help", "list", "show"},
    };
    for (const auto& args : cases) {
        CliResult r = home.Run(args);
        std::string line;
        for (const auto& a : args)
            line += a + " ";
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_NE(r.err, "") << line;
        EXPECT_EQ(r.out, "") << line;
    }
    CliResult r = RunCli({"--home"});
    EXPECT_EQ(r.status, 2);
    r = RunCli({"--home", "", "list"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(home.Run({"list", "--category", "2"}).status, 0); // the same, valid
}

TEST(CliUsage, HelpForTheProgramAndEveryCommand)
{
    CliResult program = RunCli({"--help"});
    EXPECT_EQ(program.status, 0);
    EXPECT_EQ(program.err, "");
    EXPECT_EQ(
        program.out.rfind(
            "Usage: zentrivo-cli [--home DIR] [--run-mode N] [--wait SECONDS] COMMAND [ARGS]\n", 0),
        0u);
    EXPECT_EQ(RunCli({"help"}).out, program.out);
    EXPECT_EQ(RunCli({"-h"}).out, program.out);

    for (const CliCommand& command : CliCommands()) {
        const std::string cmd = command.name;
        EXPECT_NE(program.out.find("\n  " + std::string(cmd)), std::string::npos) << cmd;
        CliResult viaHelp = RunCli({"help", cmd});
        CliResult viaOption = RunCli({cmd, "--help"});
        EXPECT_EQ(viaHelp.status, 0) << cmd;
        EXPECT_EQ(viaOption.status, 0) << cmd;
        EXPECT_EQ(viaHelp.out, viaOption.out) << cmd;
        EXPECT_EQ(viaHelp.out.rfind(
                      "Usage: zentrivo-cli [--home DIR] [--run-mode N] " + std::string(cmd), 0),
                  0u)
            << cmd;
        EXPECT_NE(viaHelp.out.find("  -h, --help"), std::string::npos) << cmd;
    }
}

TEST(CliUsage, RunModeComesFromTheSettingsUnlessGiven)
{
    CliHome home;
    home.Import();
    home.Build();
    RecordDoc changed;
    changed.name = "CRTLIB";
    changed.description = "Changed, not built";
    home.Save(changed);

    auto description = [&home](const std::vector<std::string>& args) {
        CliResult r = home.Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> lines = LinesOf(r.out);
        return lines.size() > 1 ? lines[1] : "";
    };
    const std::string joined = "Description:  Create Library";
    const std::string perCommand = "Description:  Changed, not built";

    // No settings file: run mode 2, records from clcmd.dat.
    EXPECT_EQ(description({"show", "CRTLIB"}), joined);
    EXPECT_EQ(description({"--run-mode", "1", "show", "CRTLIB"}), perCommand);
    EXPECT_EQ(description({"--run-mode", "-1", "show", "CRTLIB"}), joined);
    EXPECT_FALSE(FileExists(home.File("tarvexa.ini")));

    const std::string ini = "[Zentrivo]\r\nRunMode=1\r\nLastCmd=DLTLIB\r\n";
    WriteText(home.File("tarvexa.ini"), ini);
    EXPECT_EQ(description({"show", "CRTLIB"}), perCommand);
    EXPECT_EQ(description({"--run-mode", "2", "show", "CRTLIB"}), joined);
    EXPECT_EQ(description({"--run-mode=3", "show", "CRTLIB"}), joined);
    EXPECT_EQ(ReadText(home.File("tarvexa.ini")), ini); // never written
}

TEST(CliUsage, HomeDefaultsToTheProgramFolder)
{
    // A copy of the tool inside a program folder works on that folder,
    // whatever the current folder is.
    CliHome home;
    home.Import();
    const std::string program = home.File("zentrivo-cli");
    std::filesystem::copy_file(ZENTRIVO_CLI, program);
    CliResult r = RunProgram(program, {"list"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CPYF\nCRTLIB\nDLTLIB\nDSPFD\n");
    r = RunProgram(program, {"--home", home.File("data"), "list"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(home.File("data/cldict.dat")), std::string::npos);
}

TEST(CliUsage, AnInstalledToolWorksInTheUsersFolder)
{
    // PREFIX/bin holds the tool and no data; PREFIX/share/zentrivo the reference.
    CliHome prefix;
    std::filesystem::create_directories(prefix.File("bin"));
    std::filesystem::create_directories(prefix.File("share/zentrivo"));
    const std::string program = prefix.File("bin/zentrivo-cli");
    std::filesystem::copy_file(ZENTRIVO_CLI, program);
    WriteText(prefix.File("list.txt"), kSmallList);
    ASSERT_EQ(
        RunCliIn(prefix.File("share/zentrivo"), {"import", "--records", prefix.File("list.txt")})
            .status,
        0);

    struct Env
    {
        const char* name;
        Env(const char* n, const std::string& v) : name(n) { setenv(n, v.c_str(), 1); }
        ~Env() { unsetenv(name); }
    };
    Env xdg("XDG_DATA_HOME", prefix.File("xdg"));
    CliResult r = RunProgram(program, {"list"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CPYF\nCRTLIB\nDLTLIB\nDSPFD\n");
    const std::string user = prefix.File("xdg/zentrivo/");
    EXPECT_EQ(ReadBytes(user + "cldict.dat"), ReadBytes(prefix.File("share/zentrivo/cldict.dat")));
    EXPECT_TRUE(FileExists(user + "data/CRTLIB.dat"));
    // Changes go to the user's copy; the installed reference stays as it is.
    WriteText(prefix.File("more.txt"), "[01] - Libraries\nCLRLIB - Clear Library\n");
    EXPECT_EQ(RunProgram(program, {"import", prefix.File("more.txt")}).status, 0);
    EXPECT_EQ(RunProgram(program, {"list"}).out, "CLRLIB\n");
    EXPECT_EQ(RunCliIn(prefix.File("share/zentrivo"), {"list"}).out,
              "CPYF\nCRTLIB\nDLTLIB\nDSPFD\n");

    // ZENTRIVO_HOME goes before it, --home before both.
    Env env("ZENTRIVO_HOME", prefix.File("share/zentrivo"));
    EXPECT_EQ(RunProgram(program, {"list"}).out, "CPYF\nCRTLIB\nDLTLIB\nDSPFD\n");
    EXPECT_EQ(RunProgram(program, {"--home", user, "list"}).out, "CLRLIB\n");
}

TEST(CliUsage, TheManualAndTheDocsAreTheHelp)
{
    // One source: the command table. scripts/cli-docs.sh writes it into both.
    const std::string page = ReadText(ZENTRIVO_SOURCE_DIR "/packaging/man/zentrivo-cli.1");
    EXPECT_EQ(CliDocs::Between(page, CliDocs::kManBegin, CliDocs::kManEnd), CliDocs::Man())
        << "run scripts/cli-docs.sh";
    EXPECT_EQ(RunCli({"help", "--man"}).out, CliDocs::Man());
    const std::string docs = ReadText(ZENTRIVO_SOURCE_DIR "/docs/cli.md");
    EXPECT_EQ(CliDocs::Between(docs, CliDocs::kMarkdownBegin, CliDocs::kMarkdownEnd),
              CliDocs::Markdown())
        << "run scripts/cli-docs.sh";
    // And the program's help lists every command of the table, then help.
    const std::vector<std::string> lines = LinesOf(RunCli({"--help"}).out);
    size_t nListed = 0;
    for (const std::string& line : lines)
        nListed += line.rfind("  ", 0) == 0 && line.size() > 2 && line[2] >= 'a' && line[2] <= 'z';
    EXPECT_EQ(nListed, CliCommands().size() + 1);
}
