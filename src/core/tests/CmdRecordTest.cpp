#include "CLCmdManager.h"
#include "FileLimit.h"
#include "RecordMaker.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

struct Fixture
{
    explicit Fixture(int32_t nRunMode = kRunModeRead) : m(CLOptions{nRunMode}) {}
    TestHome home;
    CLCmdManager m;
    CLCmdIndex* Add(const std::string& name)
    {
        CLCmdIndex e = MakeIdx(name);
        return m.AddCmdIdx(&e);
    }
    // Saves a record through the manager, as the editor does.
    void Save(CLCmdIndex* pIdx, const std::vector<ParamSpec>& params = {},
              const std::vector<ErrorSpec>& errors = {}, const std::string& detail = "",
              const std::string& reserved = "", const std::string& example = "")
    {
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), pIdx, pIdx->szName, "desc", "env", params, errors, detail, reserved,
                   example);
        EXPECT_TRUE(m.SaveCmdRecord(rec.get()));
    }
};

} // namespace

TEST(CmdRecord, InitAndFree)
{
    CLCmdIndex e = MakeIdx("X");
    CLCmdRecord rec;
    std::memset(&rec, 0xAB, sizeof(rec));
    EXPECT_FALSE(CLCmdManager::InitCmdRecord(&e, nullptr));
    EXPECT_TRUE(CLCmdManager::InitCmdRecord(&e, &rec));
    EXPECT_EQ(rec.pIdx, &e);
    CLCmdRecord zero{};
    zero.pIdx = &e;
    // Zero-filled, padding included, as the format's reader relies on.
    EXPECT_EQ(std::memcmp(&rec, &zero, sizeof(rec)),
              0); // NOLINT(bugprone-suspicious-memory-comparison)
    EXPECT_FALSE(CLCmdManager::FreeCmdRecord(nullptr));
    EXPECT_TRUE(CLCmdManager::FreeCmdRecord(new CLCmdRecord{}));
}

TEST(CmdRecord, NameOnlyRecordIs39Bytes)
{
    Fixture f;
    CLCmdIndex* p = f.Add("CRTLIB");
    CLCmdRecord rec;
    FillRecord(&rec, p, "CRTLIB");
    ASSERT_TRUE(f.m.SaveCmdRecord(&rec));
    Bytes expect = ByteWriter()
                       .str("CRTLIB")
                       .str("")
                       .str("")
                       .byte(0)
                       .dw(0)
                       .dw(0)
                       .str("")
                       .str("")
                       .str("")
                       .bytes();
    Bytes got = ReadBytes(f.home.File("data/CRTLIB.dat"));
    EXPECT_EQ(got.size(), 39u);
    EXPECT_EQ(got, expect);
}

TEST(CmdRecord, ParametersAndErrorsAreLaidOutInOrder)
{
    Fixture f;
    CLCmdIndex* p = f.Add("DSPLIB");
    RecordPtr rec = NewRecord();
    FillRecord(rec.get(), p, "DSPLIB", "Display Library", "*ALL",
               {{"LIB", "Library", "*LIBL", "Optional"}, {"OUTPUT", "Output", "*, *PRINT", ""}}, {},
               "A\r\nB", "", "DSPLIB LIB(X)");
    ASSERT_TRUE(f.m.SaveCmdRecord(rec.get()));
    ByteWriter w;
    w.str("DSPLIB").str("Display Library").str("*ALL").byte(0).dw(2);
    w.str("LIB").str("Library").str("*LIBL").str("Optional");
    w.str("OUTPUT").str("Output").str("*, *PRINT").str("");
    w.dw(0).str("A\r\nB").str("").str("DSPLIB LIB(X)");
    EXPECT_EQ(ReadBytes(f.home.File("data/DSPLIB.dat")), w.bytes());

    RecordPtr withErrors = NewRecord();
    FillRecord(withErrors.get(), p, "DSPLIB", "", "", {}, {{"CPF2110", "Library not found."}});
    ASSERT_TRUE(f.m.SaveCmdRecord(withErrors.get()));
    ByteWriter e;
    e.str("DSPLIB")
        .str("")
        .str("")
        .byte(0)
        .dw(0)
        .dw(1)
        .str("CPF2110")
        .str("Library not found.")
        .str("")
        .str("")
        .str("");
    EXPECT_EQ(ReadBytes(f.home.File("data/DSPLIB.dat")), e.bytes());
}

TEST(CmdRecord, RoundTripInRunMode1KeepsEveryField)
{
    Fixture f(1);
    CLCmdIndex* p = f.Add("SBMJOB");
    CLCmdRecord* pRec = new CLCmdRecord;
    FillRecord(pRec, p, "SBMJOB", "Submit Job", "Batch, interactive",
               {{"CMD", "Command to run", "Command string", "Optional, Positional 1"},
                {"JOB", "Job name", "", ""}},
               {{"CPF1338", "Errors occurred."}, {"CPF1651", "Sbm failed."}},
               "Line one\r\nLine two", "kept as it is", "SBMJOB CMD(CALL X)");
    pRec->bReserved = 0x5A;
    ASSERT_TRUE(f.m.SaveCmdRecord(pRec));
    CLCmdManager::FreeCmdRecord(pRec);

    CLCmdRecord* pRead = f.m.AttachCmdRecord(p);
    EXPECT_STREQ(pRead->szName, "SBMJOB");
    EXPECT_STREQ(pRead->szDesc, "Submit Job");
    EXPECT_STREQ(pRead->szEnv, "Batch, interactive");
    EXPECT_EQ(pRead->bReserved, 0x5A);
    ASSERT_EQ(pRead->dwParamCount, 2u);
    EXPECT_STREQ(pRead->pParams[0].szNote, "Optional, Positional 1");
    EXPECT_STREQ(pRead->pParams[1].szChoices, ""); // stored empty, read empty
    EXPECT_STREQ(pRead->pParams[1].szNote, "");
    ASSERT_EQ(pRead->dwErrorCount, 2u);
    EXPECT_STREQ(pRead->pErrors[1].szCode, "CPF1651");
    EXPECT_STREQ(pRead->pszDetail, "Line one\r\nLine two");
    EXPECT_STREQ(pRead->pszReserved, "kept as it is");
    EXPECT_STREQ(pRead->pszExample, "SBMJOB CMD(CALL X)");
    EXPECT_EQ(pRead->pIdx, p);

    // Saved again unchanged, the file is byte-identical.
    Bytes before = ReadBytes(f.home.File("data/SBMJOB.dat"));
    ASSERT_TRUE(f.m.SaveCmdRecord(pRead));
    EXPECT_EQ(ReadBytes(f.home.File("data/SBMJOB.dat")), before);
}

TEST(CmdRecord, LongTextsUpTo32768CharactersAreReadWhole)
{
    Fixture f(1);
    CLCmdIndex* p = f.Add("BIG");
    std::string big(kMaxLongText, 'x');
    big[0] = 'A';
    big.back() = 'Z';
    WriteBytes(f.home.File("data/BIG.dat"), ByteWriter()
                                                .str("BIG")
                                                .str("")
                                                .str("")
                                                .byte(0)
                                                .dw(0)
                                                .dw(0)
                                                .str(big)
                                                .str("")
                                                .str(big)
                                                .bytes());
    CLCmdRecord* pRec = f.m.AttachCmdRecord(p);
    ASSERT_NE(pRec->pszDetail, nullptr);
    EXPECT_EQ(std::string(pRec->pszDetail), big);
    EXPECT_EQ(std::string(pRec->pszExample), big);

    // One character more is refused by the reader and by the writer.
    CLCmdIndex* q = f.Add("BIGGER");
    WriteBytes(f.home.File("data/BIGGER.dat"), ByteWriter()
                                                   .str("BIGGER")
                                                   .str("")
                                                   .str("")
                                                   .byte(0)
                                                   .dw(0)
                                                   .dw(0)
                                                   .str(big + "!")
                                                   .str("")
                                                   .str("")
                                                   .bytes());
    CLCmdRecord* pBigger = f.m.AttachCmdRecord(q);
    EXPECT_EQ(pBigger->pszDetail, nullptr);
    EXPECT_STREQ(pBigger->szName, ""); // a failed read leaves the record empty
    SetText(pBigger->pszDetail, big + "!");
    Bytes old = ReadBytes(f.home.File("data/BIGGER.dat"));
    EXPECT_FALSE(f.m.SaveCmdRecord(pBigger));
    EXPECT_EQ(ReadBytes(f.home.File("data/BIGGER.dat")), old);
}

TEST(CmdRecord, RunMode2ReadsTheJoinedFileAtThePosition)
{
    Fixture f(2);
    CLCmdIndex* p = f.Add("B");
    Bytes recA = ByteWriter()
                     .str("A")
                     .str("first")
                     .str("")
                     .byte(0)
                     .dw(0)
                     .dw(0)
                     .str("")
                     .str("")
                     .str("")
                     .bytes();
    Bytes recB = ByteWriter()
                     .str("B")
                     .str("second")
                     .str("")
                     .byte(0)
                     .dw(0)
                     .dw(0)
                     .str("dt")
                     .str("")
                     .str("")
                     .bytes();
    WriteBytes(f.home.File("clcmd.dat"), ByteWriter().raw(recA).raw(recB).bytes());

    // No position: no record, whatever the file holds.
    p->dwPos = kNoRecordPos;
    p->dwLength = static_cast<uint32_t>(recB.size());
    CLCmdRecord rec;
    CLCmdManager::InitCmdRecord(p, &rec);
    EXPECT_FALSE(f.m.ReadCmdRecord(&rec));
    p->dwPos = 0;
    p->dwLength = 0;
    EXPECT_FALSE(f.m.ReadCmdRecord(&rec));

    p->dwPos = static_cast<uint32_t>(recA.size());
    p->dwLength = static_cast<uint32_t>(recB.size());
    EXPECT_TRUE(f.m.ReadCmdRecord(&rec));
    EXPECT_STREQ(rec.szDesc, "second");
    EXPECT_STREQ(rec.pszDetail, "dt");

    // A length too short for the record fails it: reading stops at its end.
    p->dwLength -= 1;
    EXPECT_FALSE(f.m.ReadCmdRecord(&rec));
    // A position beyond the file fails too.
    p->dwPos = 1000;
    EXPECT_FALSE(f.m.ReadCmdRecord(&rec));

    // Run mode 2 never reads the per-command file.
    f.Save(p);
    p->dwPos = kNoRecordPos;
    EXPECT_FALSE(f.m.ReadCmdRecord(&rec));
}

TEST(CmdRecord, RunModes0And3ReadTheJoinedFileLike2)
{
    for (int32_t runMode : {0, 3}) {
        Fixture f(runMode);
        CLCmdIndex* p = f.Add("X");
        Bytes rec = ByteWriter()
                        .str("X")
                        .str("joined")
                        .str("")
                        .byte(0)
                        .dw(0)
                        .dw(0)
                        .str("")
                        .str("")
                        .str("")
                        .bytes();
        WriteBytes(f.home.File("clcmd.dat"), rec);
        WriteBytes(f.home.File("data/X.dat"), ByteWriter()
                                                  .str("X")
                                                  .str("per-command")
                                                  .str("")
                                                  .byte(0)
                                                  .dw(0)
                                                  .dw(0)
                                                  .str("")
                                                  .str("")
                                                  .str("")
                                                  .bytes());
        p->dwPos = 0;
        p->dwLength = static_cast<uint32_t>(rec.size());
        EXPECT_STREQ(f.m.AttachCmdRecord(p)->szDesc, "joined") << runMode;
    }
}

TEST(CmdRecord, UnsafeFileNamesAreRefused)
{
    Fixture f(1);
    WriteBytes(f.home.File("secret.dat"), ByteWriter()
                                              .str("S")
                                              .str("outside")
                                              .str("")
                                              .byte(0)
                                              .dw(0)
                                              .dw(0)
                                              .str("")
                                              .str("")
                                              .str("")
                                              .bytes());
    for (const char* name : {"../secret.dat", "..", ".", "", "a/b", "a\\b", "x\ty", "del\x7F"}) {
        CLCmdIndex e = MakeIdx("SAFE");
        CopyField(e.szFileName, name);
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), &e, "SAFE");
        EXPECT_FALSE(f.m.SaveCmdRecord(rec.get())) << name;
        EXPECT_FALSE(f.m.ReadCmdRecord(rec.get())) << name;
        EXPECT_STREQ(rec->szDesc, "") << name;
    }
    EXPECT_TRUE(CLCmdManager::IsSafeFileName("   CRTLIB.dat"));
    EXPECT_TRUE(CLCmdManager::IsSafeFileName("...dat"));
    EXPECT_EQ(ListDir(f.home.File("data")), std::vector<std::string>{});
}

TEST(CmdRecord, AFailedSaveKeepsTheOldFile)
{
    Fixture f;
    CLCmdIndex* p = f.Add("KEEP");
    f.Save(p, {}, {}, "old detail");
    Bytes old = ReadBytes(f.home.File("data/KEEP.dat"));
    RecordPtr rec = NewRecord();
    FillRecord(rec.get(), p, "KEEP", "", "", {}, {}, std::string(5000, 'n'));
    SKIP_WITHOUT_FILE_LIMIT();
    {
        FileLimit limit(1000);
        EXPECT_FALSE(f.m.SaveCmdRecord(rec.get()));
    }
    EXPECT_EQ(ReadBytes(f.home.File("data/KEEP.dat")), old);
    EXPECT_EQ(ListDir(f.home.File("data")), std::vector<std::string>{"KEEP.dat"});

    // Without the data folder nothing can be saved.
    std::filesystem::remove_all(f.home.File("data"));
    EXPECT_FALSE(f.m.SaveCmdRecord(rec.get()));
}

TEST(CmdRecord, MissingFileLeavesTheRecordEmptyAndAttached)
{
    Fixture f(1);
    CLCmdIndex* p = f.Add("NOFILE");
    bool bLoaded = false;
    CLCmdRecord* pRec = f.m.AttachCmdRecord(p, &bLoaded);
    EXPECT_TRUE(bLoaded);
    EXPECT_EQ(p->pRec, pRec);
    EXPECT_STREQ(pRec->szName, "");
    // Attached once, it is not read again.
    f.Save(p, {}, {}, "now there");
    EXPECT_EQ(f.m.AttachCmdRecord(p, &bLoaded), pRec);
    EXPECT_FALSE(bLoaded);
    EXPECT_EQ(pRec->pszDetail, nullptr);
}
