#include "CxFile.h"
#include "TestHome.h"
#include "WinUtil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

Bytes WrittenBy(const std::function<void(CxFile&)>& write)
{
    TestHome home;
    std::string path = home.File("out.bin");
    CxFile f;
    EXPECT_TRUE(f.Open(path.c_str(), "wb"));
    write(f);
    EXPECT_TRUE(f.Close());
    return ReadBytes(path);
}

} // namespace

TEST(CxFile, EncodesValuesStringsAndLines)
{
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteString(""); }), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteString(static_cast<const char*>(nullptr)); }),
              (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteString("CLCAT"); }),
              (Bytes{0x05, 0, 0, 0, 0x43, 0x4C, 0x43, 0x41, 0x54}));
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteDWORD(10000); }), (Bytes{0x10, 0x27, 0, 0}));
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteDWORD(0xFFFFFFFF); }),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteByte(0xAB); }), (Bytes{0xAB}));
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteLine(static_cast<const char*>(nullptr)); }),
              (Bytes{0x0D, 0x0A}));
    EXPECT_EQ(WrittenBy([](CxFile& f) { f.WriteLine("a%sb"); }),
              (Bytes{'a', '%', 's', 'b', 0x0D, 0x0A}));
}

TEST(CxFile, ReadsBackWhatItWrote)
{
    TestHome home;
    std::string path = home.File("x");
    WriteBytes(path, ByteWriter().str("HELLO").dw(0x01020304).byte(7).str("").bytes());
    CxFile f;
    ASSERT_TRUE(f.Open(path.c_str(), "rb"));
    char buf[6] = {};
    int n = -1;
    EXPECT_TRUE(f.ReadString(buf, &n));
    EXPECT_STREQ(buf, "HELLO");
    EXPECT_EQ(n, 5);
    uint32_t dw = 0;
    EXPECT_TRUE(f.ReadDWORD(&dw));
    EXPECT_EQ(dw, 0x01020304u);
    uint8_t b = 0;
    EXPECT_TRUE(f.ReadByte(&b));
    EXPECT_EQ(b, 7);
    // A stored length of 0 leaves the destination as it was.
    char keep[4] = "abc";
    EXPECT_TRUE(f.ReadString(keep, &n));
    EXPECT_STREQ(keep, "abc");
    EXPECT_EQ(n, 0);
    // At the end: false, and the value is not touched.
    dw = 42;
    EXPECT_FALSE(f.ReadDWORD(&dw));
    EXPECT_EQ(dw, 42u);
    EXPECT_FALSE(f.ReadByte(&b));
    EXPECT_EQ(f.ReadString(keep, &n), false);
}

TEST(CxFile, RefusesStringsThatDoNotFit)
{
    TestHome home;
    std::string path = home.File("x");
    // "HELLO" needs 6 bytes; a 5-byte buffer refuses it untouched.
    WriteBytes(path, ByteWriter().str("HELLO").bytes());
    CxFile f;
    ASSERT_TRUE(f.Open(path.c_str(), "rb"));
    char small[5] = "wxyz";
    EXPECT_FALSE(f.ReadString(small));
    EXPECT_STREQ(small, "wxyz");
    f.Close();

    // A negative length, and a length beyond the end of the file.
    WriteBytes(path, ByteWriter().dw(0xFFFFFFF0).bytes());
    ASSERT_TRUE(f.Open(path.c_str(), "rb"));
    char buf[32] = "same";
    EXPECT_FALSE(f.ReadString(buf));
    EXPECT_STREQ(buf, "same");
    f.Close();
    WriteBytes(path, ByteWriter().dw(10).raw("abc").bytes());
    ASSERT_TRUE(f.Open(path.c_str(), "rb"));
    EXPECT_FALSE(f.ReadString(buf));
    EXPECT_STREQ(buf, "same");
}

TEST(CxFile, ReadLimitStopsReads)
{
    TestHome home;
    std::string path = home.File("x");
    WriteBytes(path, ByteWriter().dw(1).dw(2).bytes());
    CxFile f;
    ASSERT_TRUE(f.Open(path.c_str(), "rb"));
    EXPECT_EQ(f.Remaining(), 8u);
    f.SetReadLimit(4);
    uint32_t v = 0;
    EXPECT_TRUE(f.ReadDWORD(&v));
    EXPECT_EQ(f.Remaining(), 0u);
    EXPECT_FALSE(f.ReadDWORD(&v));
    EXPECT_EQ(v, 1u);
}

TEST(CxFile, OpenAndFileSizeEdgeCases)
{
    TestHome home;
    CxFile f;
    EXPECT_FALSE(f.Open(nullptr, "rb"));
    EXPECT_FALSE(f.Open("", "rb"));
    EXPECT_FALSE(f.Open(home.File("new").c_str(), ""));
    EXPECT_FALSE(FileExists(home.File("new")));
    EXPECT_FALSE(f.Open(home.File("missing").c_str(), "rb"));
    EXPECT_FALSE(f.Open(home.Path().c_str(), "rb")); // a folder is not a file
    EXPECT_TRUE(f.Close());

    EXPECT_EQ(CxFile::FileSize(""), -1);
    EXPECT_EQ(CxFile::FileSize(nullptr), -1);
    EXPECT_EQ(CxFile::FileSize(home.File("missing").c_str()), -1);
    WriteBytes(home.File("empty"), {});
    EXPECT_EQ(CxFile::FileSize(home.File("empty").c_str()), 0);
    WriteBytes(home.File("three"), {1, 2, 3});
    EXPECT_EQ(CxFile::FileSize(home.File("three").c_str()), 3);
}

TEST(CxFile, ReadLineReadsPiecesLikeFgets)
{
    TestHome home;
    WriteText(home.File("t.txt"), "abcdef\r\nxy");
    CxFile f;
    ASSERT_TRUE(f.Open(home.File("t.txt").c_str(), "rb"));
    char buf[5];
    EXPECT_EQ(f.ReadLine(nullptr, 5), nullptr);
    ASSERT_NE(f.ReadLine(buf, 5), nullptr);
    EXPECT_STREQ(buf, "abcd");
    ASSERT_NE(f.ReadLine(buf, 5), nullptr);
    EXPECT_STREQ(buf, "ef\r\n");
    ASSERT_NE(f.ReadLine(buf, 5), nullptr);
    EXPECT_STREQ(buf, "xy");
    EXPECT_EQ(f.ReadLine(buf, 5), nullptr);
}

TEST(CxFile, ReportsWriteErrors)
{
#ifdef _WIN32
    GTEST_SKIP() << "needs /dev/full";
#endif
    // /dev/full accepts the open and fails every write once it is flushed.
    CxFile f;
    ASSERT_TRUE(f.Open("/dev/full", "wb"));
    f.WriteString("some bytes that are buffered first");
    EXPECT_FALSE(f.Close());

    ASSERT_TRUE(f.Open("/dev/full", "wb"));
    std::string big(1 << 16, 'x');
    EXPECT_FALSE(f.Write(big.data(), static_cast<int>(big.size())));
    EXPECT_TRUE(f.HasError());
    EXPECT_FALSE(f.Close());
}

TEST(CxFile, ReplaceKeepsTheOldFileUntilCommit)
{
    TestHome home;
    std::string path = home.File("target.dat");
    WriteText(path, "old contents");
#ifndef _WIN32
    chmod(path.c_str(), 0640);
#endif

    CxFile f;
    ASSERT_TRUE(f.OpenReplace(path.c_str()));
    f.WriteString("new");
    EXPECT_EQ(ReadText(path), "old contents"); // nothing visible before the commit
    EXPECT_FALSE(f.Close());                   // closing without a commit discards
    EXPECT_EQ(ReadText(path), "old contents");
    EXPECT_EQ(ListDir(home.Path()), (std::vector<std::string>{"data", "target.dat"}));

    ASSERT_TRUE(f.OpenReplace(path.c_str()));
    f.WriteString("new");
    EXPECT_TRUE(f.Commit());
    EXPECT_EQ(ReadBytes(path), ByteWriter().str("new").bytes());
    EXPECT_EQ(ListDir(home.Path()), (std::vector<std::string>{"data", "target.dat"}));
#ifndef _WIN32
    struct stat st; // the file keeps its permissions
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif

    // A folder that cannot take the temporary file: the open fails.
    EXPECT_FALSE(f.OpenReplace(home.File("no/such/folder/x").c_str()));
    EXPECT_FALSE(f.OpenReplace(home.File("data").c_str()));
}

TEST(ProgramFolder, EndsInASeparatorAndCanBeSet)
{
    char buf[8];
    EXPECT_EQ(GetAppPath(nullptr, 260), 0);
    std::string own = GetAppPath();
    ASSERT_FALSE(own.empty());
#ifdef _WIN32
    EXPECT_EQ(own.back(), '\\'); // as GetModuleFileName gives the folder
#else
    EXPECT_EQ(own.back(), '/');
#endif
    {
        TestHome home;
        EXPECT_EQ(GetAppPath(), home.Path());
        EXPECT_EQ(AppFile("clcat.dat"), home.Path() + "clcat.dat");
        EXPECT_EQ(GetAppPath(buf, sizeof buf), 0); // does not fit: nothing written
        char big[4096];
        EXPECT_EQ(GetAppPath(big, sizeof big), 1);
        EXPECT_EQ(std::string(big), home.Path());
        SetAppPath("/no/separator");
        EXPECT_EQ(GetAppPath(), "/no/separator/");
    }
    EXPECT_EQ(GetAppPath(), own); // restored
}

// A file read into memory is its bytes, whatever its size: empty, small, and
// over the size read into large pages (an odd length, the last bytes checked).
TEST(CxFile, ReadsWholeFilesIntoMemory)
{
    TestHome home;
    for (size_t n : {size_t(0), size_t(5), (size_t(3) << 20) + 7}) {
        Bytes bytes(n);
        for (size_t i = 0; i < n; ++i)
            bytes[i] = static_cast<uint8_t>(i * 131 + i / 251);
        const std::string path = home.File("whole" + std::to_string(n));
        WriteBytes(path, bytes);
        CxFile f;
        ASSERT_TRUE(f.OpenToMemory(path.c_str()));
        ASSERT_EQ(f.Size(), n);
        EXPECT_EQ(n == 0 || std::memcmp(f.Data(), bytes.data(), n) == 0, true) << n;
        std::string whole;
        ASSERT_TRUE(CxFile::ReadWholeFile(path, &whole));
        EXPECT_EQ(whole, std::string(bytes.begin(), bytes.end()));
    }
}
