// An import that creates the per-command files: all of them durable together,
// the lists saved only after, and a killed import leaving the old lists and
// whole records only.
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLFolderLock.h"
#include "CxFile.h"
#include "CxFileBatch.h"
#include "FileLimit.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const char* const kOldList = "[01] - Old\nOLD - Old command\n";
const char* const kNewList = "[01] - Libraries\nCRTLIB - Create Library\nDLTLIB - Delete Library\n"
                             "[02] - Files\nCPYF - Copy File\n";

// Imports list.txt, creating the records.
bool ImportWithRecords(const TestHome& home)
{
    MessageRecorder quiet;
    CLFileAnalyzer analyzer;
    analyzer.SetCreateRecordFiles(true);
    return analyzer.AnalyzeFile(home.File("list.txt").c_str());
}

bool ImportWithRecords(const TestHome& home, const std::string& list)
{
    WriteText(home.File("list.txt"), list);
    return ImportWithRecords(home);
}

// The files of a folder with their bytes.
std::map<std::string, Bytes> Files(const std::string& folder)
{
    std::map<std::string, Bytes> files;
    for (const std::string& name : ListDir(folder))
        files[name] = ReadBytes(folder + name);
    return files;
}

std::vector<std::string> g_events;

} // namespace

TEST(ImportRecords, TheRecordsAreDurableTogetherBeforeTheListsAreSaved)
{
    TestHome home;
    std::string list = "[01] - Many\n";
    for (int i = 0; i < 200; ++i)
        list += "CMD" + std::to_string(i) + " - Command " + std::to_string(i) + "\n";
    g_events.clear();
    CxFile::s_pSyncHook = [](const std::string& path) { g_events.push_back("sync " + path); };
    CxFileBatch::s_pStepHook = [](int n) { g_events.push_back("step " + std::to_string(n)); };
    const bool ok = ImportWithRecords(home, list);
    CxFile::s_pSyncHook = nullptr;
    CxFileBatch::s_pStepHook = nullptr;
    ASSERT_TRUE(ok);
    EXPECT_EQ(ListDir(home.File("data")).size(), 200u);

    EXPECT_NE(std::find(g_events.begin(), g_events.end(), "step 3"), g_events.end());
#ifndef _WIN32
    // The program folder is synced only for the lists' renames, after every
    // record is in place and its folder synced. (Windows writes the lists'
    // renames through instead of syncing their folder.)
    const auto firstList = std::find(g_events.begin(), g_events.end(), "sync " + home.Path());
    const auto lastData =
        std::find(g_events.rbegin(), g_events.rend(), "sync " + home.File("data/")).base();
    ASSERT_NE(firstList, g_events.end());
    EXPECT_LT(std::find(g_events.begin(), g_events.end(), "step 3"), lastData);
    EXPECT_LE(lastData, firstList);
#endif
#ifdef __linux__
    // A handful of syncs for 200 records, not two a record.
    EXPECT_LE(g_events.size() - 4, 4u); // the steps aside
#endif
}

TEST(ImportRecords, AKilledImportLeavesTheOldListsAndWholeRecords)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs fork";
#else
    // What an import that runs to its end writes.
    std::map<std::string, Bytes> records;
    {
        TestHome done;
        ASSERT_TRUE(ImportWithRecords(done, kNewList));
        records = Files(done.File("data/"));
        ASSERT_EQ(records.size(), 3u);
    }
    for (int step = 0; step <= 3; ++step) {
        TestHome home;
        ASSERT_TRUE(ImportWithRecords(home, kOldList));
        const std::map<std::string, Bytes> oldLists = {
            {"cldict.dat", ReadBytes(home.File("cldict.dat"))},
            {"clcat.dat", ReadBytes(home.File("clcat.dat"))}};
        std::map<std::string, Bytes> before = Files(home.File("data/"));
        fflush(nullptr);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            static int s_step;
            s_step = step;
            CxFileBatch::s_pStepHook = [](int n) {
                if (n == s_step)
                    _exit(0); // killed here
            };
            ImportWithRecords(home, kNewList);
            _exit(1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << step;

        // The next writer removes the dead import's temporaries.
        {
            CLFolderLock lock;
            ASSERT_TRUE(lock.Acquire(0));
        }
        EXPECT_EQ(ReadBytes(home.File("cldict.dat")), oldLists.at("cldict.dat")) << step;
        EXPECT_EQ(ReadBytes(home.File("clcat.dat")), oldLists.at("clcat.dat")) << step;
        // Every file in data/ is the old one or a whole new record: none
        // before the renames, the first after one, all three at their end.
        std::map<std::string, Bytes> after = Files(home.File("data/"));
        const size_t nNew[] = {0, 0, 1, 3};
        EXPECT_EQ(after.size(), before.size() + nNew[step]) << step;
        for (const auto& [name, bytes] : after)
            EXPECT_EQ(bytes, before.count(name) ? before.at(name) : records.at(name))
                << step << " " << name;
    }
#endif
}

TEST(ImportRecords, ExistingFilesStayAndAFileThatCannotBeWrittenImportsNothing)
{
    TestHome home;
    WriteText(home.File("data/CRTLIB.dat"), "edited");
    ASSERT_TRUE(ImportWithRecords(home, kNewList));
    EXPECT_EQ(ReadText(home.File("data/CRTLIB.dat")), "edited");
    EXPECT_EQ(ListDir(home.File("data")).size(), 3u);

    // A new record that cannot be written (a full disk): the lists stay as
    // they were and no temporary is left.
    const Bytes index = ReadBytes(home.File("cldict.dat"));
    WriteText(home.File("list.txt"), std::string(kNewList) + "NEWCMD - New command\n");
    if (FileLimit::kWorks) {
        bool ok = true;
        {
            FileLimit full(16);
            ok = ImportWithRecords(home);
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(ReadBytes(home.File("cldict.dat")), index);
        EXPECT_EQ(ListDir(home.File("data")),
                  (std::vector<std::string>{"CPYF.dat", "CRTLIB.dat", "DLTLIB.dat"}));
    }

    // A data/ that cannot be created: the same.
    std::filesystem::remove_all(home.File("data"));
    WriteText(home.File("data"), "a file in the way");
    CLFileAnalyzer analyzer;
    analyzer.SetCreateRecordFiles(true);
    {
        MessageRecorder quiet;
        EXPECT_FALSE(analyzer.AnalyzeFile(home.File("list.txt").c_str()));
    }
    EXPECT_EQ(analyzer.GetLastError(),
              "The folder \"" + home.File("data/") + "\" cannot be created.");
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")), index);
}
