// The folder's files survive a killed build, a second writer, a foreign
// record and lists in any order.
#include "CLBuildCommit.h"
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLFolderLock.h"
#include "RecordMaker.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// A record file holding a record named name, with a detail text of n bytes.
Bytes RecordBytes(const std::string& name, size_t n)
{
    return ByteWriter()
        .str(name)
        .str("")
        .str("")
        .byte(0)
        .dw(0)
        .dw(0)
        .str(std::string(n, 'd'))
        .str("")
        .str("")
        .bytes();
}

struct Folder
{
    TestHome home;
    CLCmdManager m;

    Folder()
    {
        for (const char* name : {"A", "B", "C"}) {
            CLCmdIndex e = MakeIdx(name);
            m.AddCmdIdx(&e);
            WriteBytes(home.File(std::string("data/") + name + ".dat"), RecordBytes(name, 10));
        }
        Build();
    }
    bool Build()
    {
        CLFileAnalyzer analyzer;
        analyzer.SetCmdManager(&m);
        return analyzer.BuildDataFile();
    }
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> names;
        for (const std::string& n : ListDir(home.Path()))
            if (n.find(".tmp") != std::string::npos || n == CLBuildCommit::kMarker)
                names.push_back(n);
        return names;
    }
};

// Every entry of the index on disk has its record at its position in clcmd.dat.
void ExpectPairFits()
{
    CLCmdManager m(CLOptions{kRunModeRead});
    ASSERT_TRUE(m.LoadCmdIdxList());
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx()) {
        if (p->dwPos == kNoRecordPos)
            continue;
        bool bRead = false;
        CLCmdRecord* pRec = m.AttachCmdRecord(p, nullptr, &bRead);
        EXPECT_TRUE(bRead) << p->szName;
        EXPECT_STREQ(pRec->szName, p->szName);
    }
}

} // namespace

TEST(FolderSafety, AKilledBuildLeavesTheOldPairOrTheNew)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs fork";
#else
    for (int step = 0; step <= 3; ++step) {
        Folder f;
        Bytes oldJoined = ReadBytes(f.home.File("clcmd.dat"));
        Bytes oldIndex = ReadBytes(f.home.File("cldict.dat"));
        WriteBytes(f.home.File("data/A.dat"), RecordBytes("A", 500)); // moves B and C
        fflush(nullptr);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            static int s_step;
            s_step = step;
            CLBuildCommit::s_pStepHook = [](int n) {
                if (n == s_step)
                    _exit(0); // killed here
            };
            f.Build();
            _exit(1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << step;

        // The next writer finishes or undoes the build.
        {
            CLFolderLock lock;
            ASSERT_TRUE(lock.Acquire(0));
        }
        EXPECT_TRUE(f.Leftovers().empty()) << step;
        bool bOld = ReadBytes(f.home.File("clcmd.dat")) == oldJoined;
        EXPECT_EQ(bOld, ReadBytes(f.home.File("cldict.dat")) == oldIndex) << step;
        EXPECT_EQ(bOld, step == 0) << step; // once the marker is written, the build completes
        ExpectPairFits();
    }
#endif
}

TEST(FolderSafety, RecoveryTouchesOnlyItsOwnTemporaries)
{
    Folder f;
    // A marker that names files it has no business with is ignored.
    // Process 999999999 never runs; this process does.
    const std::string live = std::to_string(getpid());
    WriteText(f.home.File("keep.tmp999999999-1"), "mine");
    WriteText(f.home.File("clcat.dat.tmp999999999-2"), "left over");
    WriteText(f.home.File("cldict.dat.tmp" + live + "-3"), "a live writer's");
    WriteText(f.home.File("clcmd.commit.tmp999999999-4"), "left over");
    WriteText(f.home.File("data/A.dat.tmp999999999-5"), "left over");
    WriteText(f.home.File("data/B.dat.tmp" + live + "-6"), "a live writer's");
    WriteText(f.home.File(CLBuildCommit::kMarker),
              "../evil\tclcmd.dat\r\nkeep.tmp999999999-1\tcldict.dat\r\n"
              "clcat.dat.tmp999999999-2\tclcat.dat\r\n");
    Bytes index = ReadBytes(f.home.File("cldict.dat"));
    CLFolderLock lock;
    ASSERT_TRUE(lock.Acquire(0));
    EXPECT_EQ(ReadBytes(f.home.File("cldict.dat")), index);
    EXPECT_TRUE(FileExists(f.home.File("keep.tmp999999999-1")));
    EXPECT_EQ(f.Leftovers(),
              (std::vector<std::string>{"cldict.dat.tmp" + live + "-3", "keep.tmp999999999-1"}));
    EXPECT_FALSE(FileExists(f.home.File("data/A.dat.tmp999999999-5")));
    EXPECT_TRUE(FileExists(f.home.File("data/B.dat.tmp" + live + "-6")));
}

TEST(FolderSafety, TheLockKeepsASecondWriterWaiting)
{
    TestHome home;
    CLFolderLock first;
    ASSERT_TRUE(first.Acquire(0));
#ifdef _WIN32
    // A lock taken through another handle conflicts within one process too.
    {
        CLFolderLock second;
        EXPECT_FALSE(second.Acquire(100));
    }
#else
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        CLFolderLock second;
        bool bGot = second.Acquire(100);
        _exit(bGot ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0); // it timed out
#endif
    first.Release();
    CLFolderLock again;
    EXPECT_TRUE(again.Acquire(0));
}

TEST(FolderSafety, BuildSkipsARecordOfAnotherCommand)
{
    Folder f;
    WriteBytes(f.home.File("data/B.dat"), RecordBytes("C", 10));
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(&f.m);
    ASSERT_TRUE(analyzer.BuildDataFile());
    EXPECT_EQ(analyzer.GetWarnings(),
              std::vector<std::string>{
                  "data/B.dat holds the record of another command; it was not joined."});
    CLCmdIndex* pB = f.m.GetFirstCmdIdx();
    pB = f.m.GetNextCmdIdx();
    EXPECT_EQ(pB->dwPos, kNoRecordPos);
    ExpectPairFits();
}

TEST(FolderSafety, ASaveRefusesAListChangedOnDisk)
{
    Folder f;
    CLCmdManager other;
    ASSERT_TRUE(other.LoadCmdIdxList());
    // Another program adds an entry and saves.
    CLCmdIndex e = MakeIdx("D");
    other.AddCmdIdx(&e);
    ASSERT_TRUE(other.SaveCmdIdxList());
    Bytes theirs = ReadBytes(f.home.File("cldict.dat"));
    CLCmdIndex mine = MakeIdx("E");
    f.m.AddCmdIdx(&mine);
    EXPECT_FALSE(f.m.SaveCmdIdxList());
    EXPECT_EQ(f.m.GetSaveError(), "The file \"" + f.home.File("cldict.dat") +
                                      "\" was changed by another program since it was loaded; it "
                                      "was not overwritten.");
    EXPECT_FALSE(f.Build());
    EXPECT_EQ(ReadBytes(f.home.File("cldict.dat")), theirs);
    // Loaded again, it saves.
    ASSERT_TRUE(f.m.LoadCmdIdxList());
    EXPECT_TRUE(f.m.SaveCmdIdxList());

    // The category file the same way.
    ASSERT_TRUE(f.m.SaveCatList());
    ASSERT_TRUE(other.LoadCatList());
    CLCategory cat{};
    cat.dwID = 7;
    std::strcpy(cat.szName, "Theirs");
    other.AddCat(&cat);
    ASSERT_TRUE(other.SaveCatList());
    const Bytes theirCats = ReadBytes(f.home.File("clcat.dat"));
    cat.dwID = 8;
    std::strcpy(cat.szName, "Mine");
    f.m.AddCat(&cat);
    EXPECT_TRUE(f.m.IsCatFileChanged());
    EXPECT_FALSE(f.m.SaveCatList());
    EXPECT_EQ(f.m.GetSaveError(), "The file \"" + f.home.File("clcat.dat") +
                                      "\" was changed by another program since it was loaded; it "
                                      "was not overwritten.");
    EXPECT_EQ(ReadBytes(f.home.File("clcat.dat")), theirCats);
}

TEST(FolderSafety, ListsInAnyOrderLoadSorted)
{
    TestHome home;
    const int n = 2000;
    ByteWriter idx;
    idx.str("CLDICT").dw(10000).dw(n);
    for (int i = n - 1; i >= 0; --i) { // reversed
        char name[11];
        std::snprintf(name, sizeof(name), "C%05d", i);
        idx.str(name).str(std::string(name) + ".dat").dw(kNoRecordPos).dw(0).dw(1).dw(0).dw(0);
    }
    idx.str("C00001").str("x").dw(0).dw(0).dw(1).dw(0).dw(0); // beyond the count: ignored
    WriteBytes(home.File("cldict.dat"), idx.bytes());
    CLCmdManager m;
    ASSERT_TRUE(m.LoadCmdIdxList());
    ASSERT_EQ(m.GetCmdIdxCount(), uint32_t(n));
    std::string last;
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx()) {
        EXPECT_LT(last, std::string(p->szName));
        last = p->szName;
    }
    // Categories too, and a duplicate keeps the first as stored.
    WriteBytes(home.File("clcat.dat"), ByteWriter()
                                           .str("CLCAT")
                                           .dw(10000)
                                           .dw(3)
                                           .dw(9)
                                           .str("Nine")
                                           .str("")
                                           .dw(2)
                                           .str("Two")
                                           .str("")
                                           .dw(9)
                                           .str("Again")
                                           .str("")
                                           .bytes());
    MessageRecorder messages;
    ASSERT_TRUE(m.LoadCatList());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{
                                    "CL Command category \"Again\" is already in the database."});
    EXPECT_EQ(m.GetFirstCat()->dwID, 2u);
    EXPECT_STREQ(m.GetNextCat()->szName, "Nine");
}

TEST(FolderSafety, ImportSkipsAByteOrderMark)
{
    TestHome home;
    WriteText(home.File("list.txt"), "\xEF\xBB\xBF[01] - Libraries\r\nCRTLIB - Create Library\r\n");
    CLFileAnalyzer analyzer;
    ASSERT_TRUE(analyzer.AnalyzeFile(home.File("list.txt").c_str()));
    CLCmdManager m;
    ASSERT_TRUE(m.LoadAll());
    ASSERT_EQ(m.GetCatCount(), 1u);
    EXPECT_STREQ(m.GetFirstCat()->szName, "Libraries");
    ASSERT_EQ(m.GetCmdIdxCount(), 1u);
    EXPECT_STREQ(m.GetFirstCmdIdx()->szName, "CRTLIB");
}
