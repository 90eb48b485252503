#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "FileLimit.h"
#include "RecordMaker.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Built
{
    TestHome home;
    CLCmdManager m;
    CLFileAnalyzer analyzer;
    Built() { analyzer.SetCmdManager(&m); }
    CLCmdIndex* Add(const std::string& name)
    {
        CLCmdIndex e = MakeIdx(name);
        return m.AddCmdIdx(&e);
    }
    void Data(const std::string& name, const Bytes& bytes)
    {
        WriteBytes(home.File("data/" + name), bytes);
    }
};

Bytes Filled(size_t n, uint8_t v)
{
    return Bytes(n, v);
}

} // namespace

TEST(Builder, JoinsFilesAndRecordsPositions)
{
    Built b;
    CLCmdIndex* pA = b.Add("A");
    CLCmdIndex* pB = b.Add("B");
    CLCmdIndex* pC = b.Add("C");
    b.Data("A.dat", Filled(100, 'a'));
    b.Data("C.dat", Filled(50, 'c'));
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    Bytes joined = ReadBytes(b.home.File("clcmd.dat"));
    ASSERT_EQ(joined.size(), 150u);
    EXPECT_EQ(Bytes(joined.begin(), joined.begin() + 100), Filled(100, 'a'));
    EXPECT_EQ(Bytes(joined.begin() + 100, joined.end()), Filled(50, 'c'));
    EXPECT_EQ(pA->dwPos, 0u);
    EXPECT_EQ(pA->dwLength, 100u);
    EXPECT_EQ(pB->dwPos, kNoRecordPos);
    EXPECT_EQ(pB->dwLength, 0u);
    EXPECT_EQ(pC->dwPos, 100u);
    EXPECT_EQ(pC->dwLength, 50u);

    // The index file carries the positions.
    CLCmdManager loaded;
    ASSERT_TRUE(loaded.LoadCmdIdxList());
    CLCmdIndex* p = loaded.FindCmdIdx("C");
    EXPECT_EQ(p->dwPos, 100u);
    EXPECT_EQ(p->dwLength, 50u);
    EXPECT_EQ(loaded.FindCmdIdx("B")->dwPos, kNoRecordPos);

    // An empty B.dat counts as missing; building again gives the same bytes.
    b.Data("B.dat", {});
    Bytes idx = ReadBytes(b.home.File("cldict.dat"));
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")), joined);
    EXPECT_EQ(ReadBytes(b.home.File("cldict.dat")), idx);
}

TEST(Builder, EmptyIndexGivesEmptyFiles)
{
    Built b;
    WriteText(b.home.File("clcmd.dat"), "stale");
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")), Bytes{});
    EXPECT_EQ(ReadBytes(b.home.File("cldict.dat")),
              ByteWriter().str("CLDICT").dw(10000).dw(0).bytes());
}

TEST(Builder, UsesTheNameNotTheFileNameAndCopiesLargeFilesWhole)
{
    Built b;
    CLCmdIndex* pBig = b.Add("BIG");
    CopyField(pBig->szFileName, "other.dat");
    Bytes big(100000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 7);
    b.Data("BIG.dat", big);
    b.Data("other.dat", Filled(3, 'o'));
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")), big);
    EXPECT_EQ(pBig->dwLength, 100000u);
}

TEST(Builder, RecordsReadFromTheJoinedFileMatchTheirFiles)
{
    Built b;
    b.m.SetOptions(CLOptions{kRunModeEdit});
    for (const char* name : {"A", "B", "C"}) {
        CLCmdIndex* p = b.Add(name);
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), p, name, std::string("about ") + name, "", {{"K", "k", "", ""}}, {},
                   std::string(name) + " detail");
        ASSERT_TRUE(b.m.SaveCmdRecord(rec.get()));
    }
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    b.m.SetOptions(CLOptions{kRunModeRead});
    CLCmdIndex* pC = b.m.FindCmdIdx("C");
    EXPECT_EQ(pC->dwPos, 2 * pC->dwLength);
    RecordPtr rec = NewRecord(pC);
    ASSERT_TRUE(b.m.ReadCmdRecord(rec.get()));
    EXPECT_STREQ(rec->szDesc, "about C");
    EXPECT_STREQ(rec->pszDetail, "C detail");
}

TEST(Builder, AFailedBuildKeepsTheOldFilesAndPositions)
{
    Built b;
    CLCmdIndex* pA = b.Add("A");
    b.Data("A.dat", Filled(10, 'a'));
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    Bytes oldJoined = ReadBytes(b.home.File("clcmd.dat"));
    Bytes oldIdx = ReadBytes(b.home.File("cldict.dat"));

    CLCmdIndex* pB = b.Add("AA");
    b.Data("AA.dat", Filled(20000, 'b'));
    b.Data("A.dat", Filled(30, 'a'));
    SKIP_WITHOUT_FILE_LIMIT();
    {
        FileLimit limit(5000); // the joined file cannot grow that far
        EXPECT_FALSE(b.analyzer.BuildDataFile());
    }
    EXPECT_EQ(b.analyzer.GetLastError(), "The file \"" + b.home.File("data/AA.dat") +
                                             "\" cannot be copied into \"" +
                                             b.home.File("clcmd.dat") + "\".");
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")), oldJoined);
    EXPECT_EQ(ReadBytes(b.home.File("cldict.dat")), oldIdx);
    EXPECT_EQ(pA->dwLength, 10u);
    EXPECT_EQ(pB->dwPos, kNoRecordPos);

    // The index cannot be written: the joined file is not replaced either.
    std::filesystem::remove(b.home.File("cldict.dat"));
    MakeDir(b.home.File("cldict.dat"));
    EXPECT_FALSE(b.analyzer.BuildDataFile());
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")), oldJoined);
    EXPECT_EQ(pA->dwLength, 10u);

    // The index changed on disk since the manager wrote it: nothing is built.
    std::filesystem::remove(b.home.File("cldict.dat"));
    EXPECT_FALSE(b.analyzer.BuildDataFile());
    EXPECT_EQ(b.analyzer.GetLastError(), "The file \"" + b.home.File("cldict.dat") +
                                             "\" was changed by another program since it was "
                                             "loaded; nothing was built.");
    EXPECT_FALSE(FileExists(b.home.File("cldict.dat")));

    // The joined file cannot be created.
    b.m.LoadCmdIdxList(); // the folder as it is now: no index
    std::filesystem::remove(b.home.File("clcmd.dat"));
    MakeDir(b.home.File("clcmd.dat"));
    EXPECT_FALSE(b.analyzer.BuildDataFile());
    EXPECT_EQ(b.analyzer.GetLastError(),
              "The file \"" + b.home.File("clcmd.dat") + "\" cannot be written.");
    EXPECT_FALSE(FileExists(b.home.File("cldict.dat")));
}

TEST(Builder, RefusesToLoseRecordsWhoseFilesAreGone)
{
    Built b;
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G"}) {
        b.Add(name);
        b.Data(std::string(name) + ".dat", Filled(10, 'x'));
    }
    CLCmdIndex* pNew = b.Add("H"); // never had a record: not a missing file
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    EXPECT_TRUE(b.analyzer.GetMissing().empty());
    const Bytes joined = ReadBytes(b.home.File("clcmd.dat"));
    const Bytes index = ReadBytes(b.home.File("cldict.dat"));
    EXPECT_EQ(pNew->dwLength, 0u);

    // One file gone (or emptied): that record would be dropped.
    std::filesystem::remove(b.home.File("data/B.dat"));
    b.Data("C.dat", {});
    EXPECT_FALSE(b.analyzer.BuildDataFile());
    EXPECT_EQ(b.analyzer.GetMissing(), (std::vector<std::string>{"B", "C"}));
    EXPECT_NE(b.analyzer.GetLastError().find("2 commands have a record in"), std::string::npos);
    EXPECT_NE(b.analyzer.GetLastError().find("(B, C); nothing was built"), std::string::npos);
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")), joined);
    EXPECT_EQ(ReadBytes(b.home.File("cldict.dat")), index);

    // data/ gone, as in a folder shipped for reading: the first five and a count.
    std::filesystem::remove_all(b.home.File("data"));
    EXPECT_FALSE(b.analyzer.BuildDataFile());
    EXPECT_NE(b.analyzer.GetLastError().find("is missing: 7 commands have a record"),
              std::string::npos);
    EXPECT_NE(b.analyzer.GetLastError().find("(A, B, C, D, E and 2 more)"), std::string::npos);
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")), joined);
    EXPECT_EQ(ReadBytes(b.home.File("cldict.dat")), index);

    // On purpose, the records go.
    b.analyzer.SetDropMissing(true);
    EXPECT_TRUE(b.analyzer.BuildDataFile());
    EXPECT_EQ(b.analyzer.GetMissing().size(), 7u);
    EXPECT_EQ(ReadBytes(b.home.File("clcmd.dat")).size(), 0u);
}

TEST(Builder, AMissingDataFolderWithNoRecordsIsStillAnError)
{
    Built b;
    b.Add("A");
    std::filesystem::remove_all(b.home.File("data"));
    EXPECT_FALSE(b.analyzer.BuildDataFile());
    EXPECT_EQ(b.analyzer.GetLastError(),
              "The folder \"" + b.home.File("data/") + "\" is missing; nothing was built.");
    EXPECT_FALSE(FileExists(b.home.File("clcmd.dat")));
}
