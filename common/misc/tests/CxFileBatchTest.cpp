// CxFileBatch: many replacements put in place together, every file durable
// before the first of them is, and no temporary left whatever fails.
#include "CxFileBatch.h"

#include "CxFile.h"
#include "FileLimit.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::string> g_events;

bool Write(CxFileBatch& batch, const std::string& path, const std::string& text)
{
    CxFile f;
    return batch.OpenReplace(&f, path) && f.Write(text.data(), static_cast<int>(text.size())) &&
           batch.Finish(&f);
}

// Commits with the syncs and the steps logged in one list.
bool LoggedCommit(CxFileBatch& batch, std::string* pFailed)
{
    g_events.clear();
    CxFile::s_pSyncHook = [](const std::string& path) { g_events.push_back("sync " + path); };
    CxFileBatch::s_pStepHook = [](int n) { g_events.push_back("step " + std::to_string(n)); };
    const bool ok = batch.Commit(pFailed);
    CxFile::s_pSyncHook = nullptr;
    CxFileBatch::s_pStepHook = nullptr;
    return ok;
}

} // namespace

TEST(CxFileBatch, NothingChangesUntilCommitThenEveryFileDurableBeforeItsRename)
{
    TestHome home;
    const std::string data = home.File("data/");
    WriteText(data + "A.dat", "old A");
    CxFileBatch batch;
    std::vector<std::string> names;
    for (char c = 'A'; c <= 'T'; ++c) {
        names.push_back(std::string(1, c) + ".dat");
        ASSERT_TRUE(Write(batch, data + names.back(), std::string("new ") + c));
    }
    EXPECT_EQ(batch.Count(), 20u);
    EXPECT_EQ(ReadText(data + "A.dat"), "old A");
    EXPECT_EQ(ListDir(data).size(), 21u); // A.dat and the 20 temporaries

    std::string failed;
    ASSERT_TRUE(LoggedCommit(batch, &failed)) << failed;
    EXPECT_EQ(ListDir(data), names);
    EXPECT_EQ(ReadText(data + "A.dat"), "new A");
    EXPECT_EQ(ReadText(data + "T.dat"), "new T");

    // The syncs of the files come before the first rename, the folder's after
    // the last.
    auto at = [](const std::string& e) {
        return std::find(g_events.begin(), g_events.end(), e) - g_events.begin();
    };
    ASSERT_EQ(g_events.front(), "step 0");
    ASSERT_LT(at("step 1"), at("step 2"));
    ASSERT_LT(at("step 2"), at("step 3"));
    EXPECT_EQ(g_events.back(), "sync " + data);
    EXPECT_EQ(static_cast<size_t>(at("step 3")), g_events.size() - 2);
#ifdef __linux__
    // One sync of the file system for the whole batch, not one a file.
    EXPECT_EQ(at("step 1"), 2);
#else
    EXPECT_EQ(at("step 1"), 21);
#endif
    // A batch committed holds nothing more.
    EXPECT_EQ(batch.Count(), 0u);
    EXPECT_TRUE(batch.Commit(&failed));
}

TEST(CxFileBatch, WhatFailsLeavesNoTemporaryAndNamesTheFile)
{
    TestHome home;
    const std::string data = home.File("data/");
    WriteText(data + "A.dat", "old A");
    if (FileLimit::kWorks) {
        CxFileBatch batch;
        ASSERT_TRUE(Write(batch, data + "A.dat", "new A"));
        {
            FileLimit full(64); // a full disk for the second file
            EXPECT_FALSE(Write(batch, data + "B.dat", std::string(4096, 'x')));
        }
        EXPECT_EQ(batch.Count(), 1u);
        EXPECT_EQ(ListDir(data).size(), 2u); // A.dat and its temporary
    }                                        // dropped uncommitted
    EXPECT_EQ(ListDir(data), std::vector<std::string>{"A.dat"});
    EXPECT_EQ(ReadText(data + "A.dat"), "old A");

    // A rename that fails: the files before it are in place, the others'
    // temporaries are gone.
    CxFileBatch batch;
    for (const char* name : {"B.dat", "C.dat", "D.dat"})
        ASSERT_TRUE(Write(batch, data + name, name));
    MakeDir(data + "C.dat");
    WriteText(data + "C.dat/in the way", "");
    std::string failed;
    EXPECT_FALSE(batch.Commit(&failed));
    EXPECT_EQ(failed, data + "C.dat");
    EXPECT_EQ(ListDir(data), (std::vector<std::string>{"A.dat", "B.dat", "C.dat"}));
    EXPECT_EQ(ReadText(data + "B.dat"), "B.dat");
}
