// Truncated and damaged files: loaders keep the whole records before the
// damage, record reads fail cleanly, and nothing reads or writes out of bounds
// (the sanitizer run checks that).
#include "CLCmdManager.h"
#include "RecordMaker.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Records come from the per-command files, where these tests plant them.
const CLOptions kEdit{kRunModeEdit};

Bytes ValidCatFile()
{
    ByteWriter w;
    w.str("CLCAT").dw(10000).dw(3);
    w.dw(1).str("Libraries").str("lib.htm");
    w.dw(2).str("Files").str("");
    w.dw(3).str("Jobs").str("jobs.htm");
    return w.bytes();
}

Bytes ValidIdxFile()
{
    ByteWriter w;
    w.str("CLDICT").dw(10000).dw(3);
    for (const char* name : {"CPYF", "CRTLIB", "DSPLIB"})
        w.str(name).str(std::string(name) + ".dat").dw(0).dw(10).dw(1).dw(0).dw(0);
    return w.bytes();
}

Bytes ValidRecord()
{
    ByteWriter w;
    w.str("CPYF").str("Copy File").str("Anywhere").byte(1).dw(2);
    w.str("FROMFILE").str("From file").str("Qualified name").str("Required");
    w.str("TOFILE").str("To file").str("").str("");
    w.dw(1).str("CPF2817").str("Copy command ended.");
    w.str("Detail\r\ntext").str("").str("CPYF A B");
    return w.bytes();
}

// The offsets at which a whole record of each list file ends.
const std::vector<size_t> kCatEnds = {17 + 4 + 4 + 9 + 4 + 7, 17 + 28 + 4 + 4 + 5 + 4,
                                      17 + 28 + 17 + 4 + 4 + 4 + 4 + 8};

size_t WholeRecordsIn(const std::vector<size_t>& ends, size_t nSize)
{
    size_t n = 0;
    while (n < ends.size() && ends[n] <= nSize)
        ++n;
    return n;
}

} // namespace

TEST(Corruption, EveryPrefixOfTheCategoryFile)
{
    TestHome home;
    Bytes full = ValidCatFile();
    ASSERT_EQ(full.size(), kCatEnds.back());
    for (size_t n = 0; n <= full.size(); ++n) {
        WriteBytes(home.File("clcat.dat"), Bytes(full.begin(), full.begin() + n));
        CLCmdManager m(kEdit);
        bool ok = m.LoadCatList();
        EXPECT_EQ(ok, n >= 13) << n; // magic word and version present
        EXPECT_EQ(m.GetCatCount(), WholeRecordsIn(kCatEnds, n)) << n;
    }
}

TEST(Corruption, EveryPrefixOfTheIndexFile)
{
    TestHome home;
    Bytes full = ValidIdxFile();
    std::vector<size_t> ends;
    size_t at = 18;
    for (const char* name : {"CPYF", "CRTLIB", "DSPLIB"}) {
        at += 4 + std::strlen(name) + 4 + std::strlen(name) + 4 + 20;
        ends.push_back(at);
    }
    ASSERT_EQ(full.size(), ends.back());
    for (size_t n = 0; n <= full.size(); ++n) {
        WriteBytes(home.File("cldict.dat"), Bytes(full.begin(), full.begin() + n));
        CLCmdManager m;
        EXPECT_EQ(m.LoadCmdIdxList(), n >= 14) << n;
        EXPECT_EQ(m.GetCmdIdxCount(), WholeRecordsIn(ends, n)) << n;
    }
}

TEST(Corruption, EveryPrefixOfARecordFails)
{
    TestHome home;
    Bytes full = ValidRecord();
    CLCmdIndex e = MakeIdx("CPYF");
    for (size_t n = 0; n <= full.size(); ++n) {
        WriteBytes(home.File("data/CPYF.dat"), Bytes(full.begin(), full.begin() + n));
        RecordPtr rec = NewRecord(&e);
        bool ok = CLCmdManager(kEdit).ReadCmdRecord(rec.get());
        EXPECT_EQ(ok, n == full.size()) << n;
        if (!ok) {
            EXPECT_EQ(rec->dwParamCount, 0u) << n;
            EXPECT_EQ(rec->pParams, nullptr) << n;
            EXPECT_STREQ(rec->szName, "") << n;
        }
    }
}

TEST(Corruption, HugeCountsAreRefusedBeforeAllocating)
{
    TestHome home;
    CLCmdIndex e = MakeIdx("X");
    for (uint32_t nCount : {0xFFFFFFFFu, 0x10000000u, 3u}) {
        WriteBytes(home.File("data/X.dat"), ByteWriter()
                                                .str("X")
                                                .str("")
                                                .str("")
                                                .byte(0)
                                                .dw(nCount)
                                                .str("K")
                                                .str("")
                                                .str("")
                                                .str("")
                                                .dw(0)
                                                .str("")
                                                .str("")
                                                .str("")
                                                .bytes());
        RecordPtr rec = NewRecord(&e);
        EXPECT_FALSE(CLCmdManager(kEdit).ReadCmdRecord(rec.get())) << nCount;
        WriteBytes(home.File("data/X.dat"), ByteWriter()
                                                .str("X")
                                                .str("")
                                                .str("")
                                                .byte(0)
                                                .dw(0)
                                                .dw(nCount)
                                                .str("C")
                                                .str("")
                                                .bytes());
        EXPECT_FALSE(CLCmdManager(kEdit).ReadCmdRecord(rec.get())) << nCount;
    }
}

TEST(Corruption, FlippedBytesNeverCrash)
{
    TestHome home;
    std::mt19937 rng(20261209);
    const Bytes files[3] = {ValidCatFile(), ValidIdxFile(), ValidRecord()};
    for (int round = 0; round < 600; ++round) {
        Bytes b = files[round % 3];
        int nFlips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < nFlips; ++i)
            b[rng() % b.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        CLCmdManager m;
        if (round % 3 == 0) {
            WriteBytes(home.File("clcat.dat"), b);
            m.LoadCatList();
            EXPECT_LE(m.GetCatCount(), 3u);
        } else if (round % 3 == 1) {
            WriteBytes(home.File("cldict.dat"), b);
            m.LoadCmdIdxList();
            EXPECT_LE(m.GetCmdIdxCount(), 3u);
        } else {
            WriteBytes(home.File("data/CPYF.dat"), b);
            CLCmdIndex e = MakeIdx("CPYF");
            RecordPtr rec = NewRecord(&e);
            m.ReadCmdRecord(rec.get());
            EXPECT_LT(std::strlen(rec->szName), sizeof(rec->szName));
            EXPECT_LE(rec->dwParamCount, 2u + 0x100u);
        }
    }
}
