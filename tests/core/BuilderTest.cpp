#include "AppSettings.h"
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
    AppSettings.RunMode = 1;
    for (const char* name : {"A", "B", "C"}) {
        CLCmdIndex* p = b.Add(name);
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), p, name, std::string("about ") + name, "", {{"K", "k", "", ""}}, {},
                   std::string(name) + " detail");
        ASSERT_TRUE(b.m.SaveCmdRecord(rec.get()));
    }
    ASSERT_TRUE(b.analyzer.BuildDataFile());
    AppSettings.RunMode = 2;
    CLCmdIndex* pC = b.m.FindCmdIdx("C");
    EXPECT_EQ(pC->dwPos, 2 * pC->dwLength);
    RecordPtr rec = NewRecord(pC);
    ASSERT_TRUE(b.m.ReadCmdRecord(rec.get()));
    EXPECT_STREQ(rec->szDesc, "about C");
    EXPECT_STREQ(rec->pszDetail, "C detail");
    AppSettings.RunMode = 0;
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
