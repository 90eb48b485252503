// What the tool must never do: lose records, wait without a word, report a
// failure as success, or take a hostile input without a word.
#include "CLFolderLock.h"
#include "CLRecordUtil.h"
#include "CliHome.h"
#include "FileLimit.h"
#include "WinUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

TEST(CliSafety, BuildKeepsRecordsWhoseFilesAreGone)
{
    CliHome home;
    home.Import();
    home.Build();
    const Bytes joined = ReadBytes(home.File("clcmd.dat"));

    // A folder shipped for reading holds clcmd.dat alone.
    fs::remove_all(home.File("data"));
    CliResult r = home.Run({"build"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("4 commands have a record"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("(CPYF, CRTLIB, DLTLIB, DSPFD)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("build --drop-missing"), std::string::npos);
    EXPECT_EQ(ReadBytes(home.File("clcmd.dat")), joined);
    EXPECT_EQ(home.Run({"show", "CRTLIB"}).status, 0); // still readable

    MakeDir(home.File("data"));
    r = home.Run({"build", "--drop-missing"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("dropped the records of 4 commands"), std::string::npos);
    EXPECT_EQ(ReadBytes(home.File("clcmd.dat")).size(), 0u);
}

#ifndef _WIN32
TEST(CliSafety, AWriterWaitsForTheLockWithAWordAndALimit)
{
    CliHome home;
    home.Import();
    // Another process holds the folder's lock for a while.
    int pipefd[2];
    ASSERT_EQ(pipe(pipefd), 0);
    pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        SetAppPath(home.Path());
        CLFolderLock lock;
        bool ok = lock.Acquire(1000);
        char c = ok ? '1' : '0';
        if (write(pipefd[1], &c, 1) != 1)
            _exit(2);
        sleep(30);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(pipefd[0], &c, 1), 1);
    ASSERT_EQ(c, '1');

    CliResult r = home.Run({"--wait", "2", "build"});
    EXPECT_EQ(r.status, 1);
    const std::string pid = std::to_string(holder);
    EXPECT_EQ(r.err, "zentrivo-cli: waiting for the folder lock held by process " + pid +
                         "...\nzentrivo-cli: the folder lock is still held by process " + pid +
                         " after 2 s; nothing was done.\n");
    EXPECT_EQ(home.Run({"--wait", "x", "build"}).status, 2);
    // Readers never wait.
    EXPECT_EQ(home.Run({"list"}).status, 0);

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(pipefd[0]);
    close(pipefd[1]);
    r = home.Run({"--wait", "2", "build"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}
#endif

TEST(CliSafety, HtmlNeverReplacesAGoodPageWithAnEmptyOne)
{
    CliHome home;
    home.Import();
    home.Build();
    const std::string site = home.File("site");
    ASSERT_EQ(home.Run({"html", "--out", site}).status, 0);
    const std::string good = ReadText(site + "/CRTLIB.htm");

    // CRTLIB's record in clcmd.dat is damaged: its length runs past the end.
    std::vector<CLCmdIndex> index = home.Index();
    for (CLCmdIndex& e : index)
        if (FieldText(e.szName) == "CRTLIB")
            e.dwLength += 1000;
    home.WriteIndex(index);
    fs::remove(site + "/CPYF.htm");
    CliResult r = home.Run({"html", "--out", site});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentrivo-cli: The record of CRTLIB cannot be read; its page was not "
                     "written.\n");
    EXPECT_EQ(ReadText(site + "/CRTLIB.htm"), good);
    EXPECT_TRUE(FileExists(site + "/CPYF.htm")); // the others are written

    // Nothing to write, or records to come from a missing data/: errors too.
    CliHome empty;
    empty.Import("[01] - Libraries\nCRTLIB - Create Library\n");
    empty.Build();
    fs::remove_all(empty.File("data"));
    r = empty.Run({"--run-mode", "1", "html", "--out", empty.File("site")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is missing; no page was written"), std::string::npos) << r.err;
    EXPECT_EQ(empty.Run({"html", "--out", empty.File("site"), "--ad-client", "x\";"}).status, 2);
}

TEST(CliSafety, HtmlEscapesAndWritesAdsOnlyWithThePublishersIds)
{
    CliHome home;
    home.Import("[01] - Control\nIF - Run <b> & \"more\"\n");
    home.Build();
    CliResult r = home.Run({"html", "--out", home.File("a")});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string index = ReadText(home.File("a/index-1.htm"));
    EXPECT_NE(index.find("Run &lt;b&gt; &amp; &quot;more&quot;"), std::string::npos);
    EXPECT_EQ(ReadText(home.File("a/IF.htm")).find("<script"), std::string::npos);

    r = home.Run(
        {"html", "--out", home.File("b"), "--raw", "--ad-client", "pub-1", "--ad-channel", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadText(home.File("b/index-1.htm")).find("Run <b> & \"more\""), std::string::npos);
    EXPECT_NE(ReadText(home.File("b/IF.htm")).find("google_ad_client = \"pub-1\";"),
              std::string::npos);
    // The settings file gives them too.
    WriteText(home.File("tarvexa.ini"),
              "[Zentrivo]\nAdClient=pub-3\nAdChannel=4\nCopyrightHolder=Example Co\n");
    ASSERT_EQ(home.Run({"html", "--out", home.File("c")}).status, 0);
    std::string page = ReadText(home.File("c/IF.htm"));
    EXPECT_NE(page.find("google_ad_channel = \"4\";"), std::string::npos);
    EXPECT_NE(page.find("Copyright &copy; 2026 Example Co. All rights reserved."),
              std::string::npos);
}

TEST(CliSafety, AnImportWithNoCommandKeepsTheOldFiles)
{
    CliHome home;
    home.Import();
    const Bytes cats = ReadBytes(home.File("clcat.dat")),
                index = ReadBytes(home.File("cldict.dat"));
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[01] - Libraries\r\nCRTLIB - Create Library\r\n"))
        utf16 += std::string(1, c) + '\0';
    for (const std::string& text :
         {std::string(), utf16, std::string(10 << 20, 'x') + "\n", std::string("# notes only\n")}) {
        WriteText(home.File("bad.txt"), text);
        CliResult r = home.Run({"import", home.File("bad.txt")});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("holds no command that could be taken; nothing was imported"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(ReadBytes(home.File("clcat.dat")), cats);
        EXPECT_EQ(ReadBytes(home.File("cldict.dat")), index);
    }
    // Text inside a long title never becomes a command of its own.
    WriteText(home.File("long.txt"),
              "[01] - Libraries\nCRTLIB - " + std::string(2000, 'a') + "EVIL - injected\n");
    CliResult r = home.Run({"import", home.File("long.txt")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(home.Run({"list"}).out, "CRTLIB\n");
    EXPECT_EQ(r.err, "zentrivo-cli: Line 2: the title of CRTLIB was cut to 255 characters.\n");
}

TEST(CliSafety, LeftOverTemporariesAreReportedAndRemovedStraysNoted)
{
    CliHome home;
    home.Import();
    home.Build();
    // Process 999999999 never runs: its temporaries were left by a writer that was stopped.
    WriteText(home.File("cldict.dat.tmp999999999-1"), "x");
    WriteText(home.File("clcmd.commit.tmp999999999-2"), "x");
    WriteText(home.File("data/CRTLIB.dat.tmp999999999-3"), "x");
    WriteBytes(home.File("data/OLD.dat"), ReadBytes(home.File("data/CPYF.dat")));
    CliResult r = home.Run({"check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "clcmd.commit.tmp999999999-2: left by a writer that was stopped; the next "
                     "writer removes it\n"
                     "cldict.dat.tmp999999999-1: left by a writer that was stopped; the next "
                     "writer removes it\n"
                     "data/CRTLIB.dat.tmp999999999-3: left by a writer that was stopped; the next "
                     "writer removes it\n"
                     "data/OLD.dat: note: no index entry names this file (a stray record; build "
                     "ignores it)\n");
    // The next writer removes them; the stray record is only noted.
    ASSERT_EQ(home.Run({"build"}).status, 0);
    EXPECT_FALSE(FileExists(home.File("cldict.dat.tmp999999999-1")));
    EXPECT_FALSE(FileExists(home.File("clcmd.commit.tmp999999999-2")));
    EXPECT_FALSE(FileExists(home.File("data/CRTLIB.dat.tmp999999999-3")));
    r = home.Run({"check"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "data/OLD.dat: note: no index entry names this file (a stray record; build "
                     "ignores it)\n");
}

TEST(CliSafety, ANewCommandIsReportedOnlyOnceTheIndexHoldsIt)
{
    if (!FileLimit::kWorks)
        GTEST_SKIP() << "needs a file size limit";
    CliHome home;
    // An index too large for the limit below, so saving it fails while the
    // small record file of the new command is written.
    std::string list = "[01] - Many\n";
    for (int i = 0; i < 300; ++i)
        list += "CMD" + std::to_string(i) + " - Command " + std::to_string(i) + "\n";
    home.Import(list);
    const Bytes index = ReadBytes(home.File("cldict.dat"));
    WriteText(home.File("new.xml"), "<QcdCLCmd><Cmd CmdName=\"CRTFOO\" Prompt=\"Create Foo\">"
                                    "<Parm Kwd=\"FOO\" Type=\"NAME\"/></Cmd></QcdCLCmd>");
    CliResult r;
    {
        FileLimit full(4096);
        r = home.Run({"import-cmd", home.File("new.xml")});
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("These new commands were not added: CRTFOO."), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(home.File("data/CRTFOO.dat")));
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")), index);
    home.Build();
    r = home.Run({"check"});
    EXPECT_EQ(r.out, "");
}

TEST(CliSafety, HostileYamlIsRefusedBeforeItIsParsed)
{
    CliHome home;
    home.Import();
    const std::string dir = home.File("in");
    MakeDir(dir);
    WriteText(dir + "/CRTLIB.yaml",
              "name: CRTLIB\ndetail: |-\n" + std::string(9 << 20, 'x') + "\n");
    CliResult r = home.Run({"load", dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("larger than 8 MB"), std::string::npos) << r.err;
    // A category id of 0 is refused in the category list too.
    fs::remove(dir + "/CRTLIB.yaml");
    WriteText(dir + "/categories.yaml", "categories:\n  - id: 0\n    name: Zero\n");
    r = home.Run({"load", dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("id: 0 is never a category"), std::string::npos) << r.err;
}
