#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "FileLimit.h"
#include "TestHome.h"
#include "WinUtil.h"

#include <gtest/gtest.h>

namespace {

CLCategory Cat(uint32_t id, const char* name, const char* file = "")
{
    CLCategory c{};
    c.dwID = id;
    CopyField(c.szName, name);
    CopyField(c.szFileName, file);
    return c;
}

CLCmdIndex Idx(const char* name, uint32_t cat = 1)
{
    CLCmdIndex e{};
    CopyField(e.szName, name);
    CopyField(e.szFileName, std::string(name) + ".dat");
    e.dwCatID = cat;
    return e;
}

std::vector<std::string> Names(CLCmdManager& m)
{
    std::vector<std::string> names;
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx())
        names.push_back(p->szName);
    return names;
}

std::vector<uint32_t> Ids(CLCmdManager& m)
{
    std::vector<uint32_t> ids;
    for (CLCategory* p = m.GetFirstCat(); p; p = m.GetNextCat())
        ids.push_back(p->dwID);
    return ids;
}

Bytes CatHeader(uint32_t n)
{
    return ByteWriter().str("CLCAT").dw(10000).dw(n).bytes();
}

Bytes IdxHeader(uint32_t n)
{
    return ByteWriter().str("CLDICT").dw(10000).dw(n).bytes();
}

} // namespace

TEST(ListFiles, EmptyListsHaveTheirExactHeaders)
{
    TestHome home;
    CLCmdManager m;
    EXPECT_EQ(m.GetFirstCat(), nullptr);
    EXPECT_EQ(m.GetFirstCmdIdx(), nullptr);
    EXPECT_EQ(m.GetCmdIdxCount(), 0u);
    ASSERT_TRUE(m.SaveAll());
    EXPECT_EQ(ReadBytes(home.File("clcat.dat")),
              (Bytes{0x05, 0, 0, 0, 0x43, 0x4C, 0x43, 0x41, 0x54, 0x10, 0x27, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(
        ReadBytes(home.File("cldict.dat")),
        (Bytes{0x06, 0, 0, 0, 0x43, 0x4C, 0x44, 0x49, 0x43, 0x54, 0x10, 0x27, 0, 0, 0, 0, 0, 0}));
}

TEST(ListFiles, SavedRecordsHaveTheirExactBytes)
{
    TestHome home;
    CLCmdManager m;
    CLCategory c = Cat(5, "Library Commands", "lib.htm");
    m.AddCat(&c);
    CLCmdIndex e = Idx("CRTLIB", 5);
    e.dwPos = 0x10;
    e.dwLength = 0x20;
    e.dwReserved1 = 7;
    e.dwReserved2 = 0xFFFFFFFF;
    m.AddCmdIdx(&e);
    ASSERT_TRUE(m.SaveAll());
    Bytes cat = CatHeader(1);
    ByteWriter w;
    w.raw(cat).dw(5).str("Library Commands").str("lib.htm");
    EXPECT_EQ(ReadBytes(home.File("clcat.dat")), w.bytes());
    ByteWriter x;
    x.raw(IdxHeader(1))
        .str("CRTLIB")
        .str("CRTLIB.dat")
        .dw(0x10)
        .dw(0x20)
        .dw(5)
        .dw(7)
        .dw(0xFFFFFFFF);
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")), x.bytes());

    // Loading gives the same fields back, reserved values included, no record.
    CLCmdManager n;
    ASSERT_TRUE(n.LoadAll());
    CLCmdIndex* p = n.GetFirstCmdIdx();
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->szFileName, "CRTLIB.dat");
    EXPECT_EQ(p->dwReserved1, 7u);
    EXPECT_EQ(p->dwReserved2, 0xFFFFFFFFu);
    EXPECT_EQ(p->pRec, nullptr);
    EXPECT_STREQ(n.GetFirstCat()->szFileName, "lib.htm");
}

TEST(ListFiles, CategoriesLoadInAscendingIdOrder)
{
    TestHome home;
    MessageRecorder rec;
    ByteWriter w;
    w.raw(CatHeader(4))
        .dw(9)
        .str("Nine")
        .str("n.htm")
        .dw(3)
        .str("Three")
        .str("")
        .dw(3)
        .str("Again")
        .str("a.htm")
        .dw(1)
        .str("One")
        .str("");
    WriteBytes(home.File("clcat.dat"), w.bytes());
    CLCmdManager m;
    EXPECT_TRUE(m.LoadCatList());
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{1, 3, 9}));
    // The duplicate names the second category and the first one stays.
    EXPECT_EQ(rec.Texts(), (std::vector<std::string>{
                               "CL Command category \"Again\" is already in the database."}));
    EXPECT_EQ(rec.messages[0].caption, "Zentrivo Error");
    EXPECT_EQ(rec.messages[0].icon, CLMsgIcon::Error);
    EXPECT_STREQ(m.FindCat(3)->szName, "Three");
    // An empty file name stays empty after a record that had one.
    EXPECT_STREQ(m.FindCat(3)->szFileName, "");
    EXPECT_STREQ(m.FindCat(9)->szFileName, "n.htm");
}

TEST(ListFiles, LoadStopsAtAnEmptyNameAndKeepsWhatCameBefore)
{
    TestHome home;
    MessageRecorder rec;
    ByteWriter w;
    w.raw(IdxHeader(3)).str("B").str("B.dat").dw(0).dw(0).dw(1).dw(0).dw(0);
    w.str("").str("X.dat").dw(0).dw(0).dw(1).dw(0).dw(0);
    w.str("A").str("A.dat").dw(0).dw(0).dw(1).dw(0).dw(0);
    WriteBytes(home.File("cldict.dat"), w.bytes());
    CLCmdManager m;
    EXPECT_TRUE(m.LoadCmdIdxList());
    EXPECT_EQ(Names(m), (std::vector<std::string>{"B"}));
    EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"Invalid CL Command Name."}));

    w = ByteWriter();
    w.raw(CatHeader(2)).dw(1).str("").str("").dw(2).str("Two").str("");
    WriteBytes(home.File("clcat.dat"), w.bytes());
    EXPECT_TRUE(m.LoadCatList());
    EXPECT_EQ(m.GetFirstCat(), nullptr);
    EXPECT_EQ(rec.Texts().back(), "Invalid CL Command Category Name.");
}

TEST(ListFiles, WrongHeadersFailTheLoad)
{
    TestHome home;
    CLCmdManager m;
    EXPECT_FALSE(m.LoadCatList()); // missing
    WriteBytes(home.File("clcat.dat"), ByteWriter().str("CLCAT").dw(10001).dw(0).bytes());
    EXPECT_FALSE(m.LoadCatList());
    WriteBytes(home.File("clcat.dat"), ByteWriter().str("CLDICT").dw(10000).dw(0).bytes());
    EXPECT_FALSE(m.LoadCatList());
    WriteBytes(home.File("clcat.dat"), ByteWriter().str("").dw(10000).dw(0).bytes());
    EXPECT_FALSE(m.LoadCatList());
    // A magic word longer than its 32-byte buffer is a wrong magic word.
    WriteBytes(home.File("clcat.dat"),
               ByteWriter().str(std::string(40, 'C')).dw(10000).dw(0).bytes());
    EXPECT_FALSE(m.LoadCatList());

    // Categories that fail to load keep the index from loading at all.
    CLCmdManager saved;
    CLCmdIndex e = Idx("DSPLIB");
    saved.AddCmdIdx(&e);
    ASSERT_TRUE(saved.SaveCmdIdxList());
    EXPECT_FALSE(m.LoadAll());
    EXPECT_EQ(m.GetCmdIdxCount(), 0u);
    WriteBytes(home.File("clcat.dat"), CatHeader(0));
    EXPECT_TRUE(m.LoadAll());
    EXPECT_EQ(m.GetCmdIdxCount(), 1u);
}

TEST(ListFiles, LoadingAgainReplacesTheLists)
{
    TestHome home;
    CLCmdManager m;
    CLCategory c = Cat(1, "One");
    m.AddCat(&c);
    CLCmdIndex e = Idx("A");
    m.AddCmdIdx(&e);
    ASSERT_TRUE(m.SaveAll());
    CLCmdIndex f = Idx("B");
    m.AddCmdIdx(&f);
    m.AttachCmdRecord(m.FindCmdIdx("B")); // a loaded record is freed by the reload
    EXPECT_TRUE(m.LoadAll());
    EXPECT_EQ(Names(m), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{1}));
}

TEST(CommandIndex, NamesAreOrderedByteWise)
{
    TestHome home;
    CLCmdManager m;
    for (const char* name : {"WRKOBJ", "CRTLIB", "crtlib", "CRT", "DSPLIB", "CRTLIBX", "Z", "a"}) {
        CLCmdIndex e = Idx(name);
        ASSERT_NE(m.AddCmdIdx(&e), nullptr);
    }
    EXPECT_EQ(Names(m), (std::vector<std::string>{"CRT", "CRTLIB", "CRTLIBX", "DSPLIB", "WRKOBJ",
                                                  "Z", "a", "crtlib"}));
    CLCmdIndex e = Idx("DLTLIB");
    CLCmdIndex* p = m.AddCmdIdx(&e);
    EXPECT_EQ(Names(m)[3], "DLTLIB");
    EXPECT_NE(p, &e); // a copy is stored

    // Bytes above 127 sort after ASCII, as unsigned bytes.
    CLCmdIndex hi = Idx("\xC4NDERN");
    m.AddCmdIdx(&hi);
    EXPECT_EQ(Names(m).back(), "\xC4NDERN");

    // Saved and loaded, the order and the entries stay.
    ASSERT_TRUE(m.SaveCmdIdxList());
    CLCmdManager n;
    ASSERT_TRUE(n.LoadCmdIdxList());
    EXPECT_EQ(Names(n), Names(m));
}

TEST(CommandIndex, ACLNameHasOneToTenCharacters)
{
    EXPECT_TRUE(CLCmdManager::IsCLName("A"));
    EXPECT_TRUE(CLCmdManager::IsCLName("ABCDEFGHIJ"));
    EXPECT_FALSE(CLCmdManager::IsCLName("ABCDEFGHIJK")); // the check itself, not the field
    EXPECT_FALSE(CLCmdManager::IsCLName(""));
    EXPECT_FALSE(CLCmdManager::IsCLName("1ABC"));
    EXPECT_TRUE(CLCmdManager::IsCLName("$A_1#@"));
    // Names in messages show no control character, DEL included.
    EXPECT_EQ(Printable(std::string("A\x01"
                                    "B\x7F"
                                    "\x80"
                                    "C")),
              "A?B?\x80"
              "C");
}

TEST(CommandIndex, DuplicatesAndInvalidNames)
{
    TestHome home;
    MessageRecorder rec;
    CLCmdManager m;
    CLCmdIndex a = Idx("CRTLIB", 1);
    CLCmdIndex* pFirst = m.AddCmdIdx(&a);
    CLCmdIndex b = Idx("CRTLIB", 2);
    CLCmdRecord* pRec = new CLCmdRecord;
    CLCmdManager::InitCmdRecord(nullptr, pRec);
    b.pRec = pRec;
    EXPECT_EQ(m.AddCmdIdx(&b), pFirst);
    EXPECT_EQ(pFirst->dwCatID, 1u);
    EXPECT_EQ(pFirst->pRec, nullptr); // the rejected record stays with the caller
    EXPECT_EQ(m.GetCmdIdxCount(), 1u);
    CLCmdManager::FreeCmdRecord(pRec);

    CLCmdIndex empty = Idx("");
    EXPECT_EQ(m.AddCmdIdx(&empty), nullptr);
    EXPECT_EQ(m.AddCmdIdx(nullptr), nullptr);
    CLCategory c0 = Cat(4, "");
    EXPECT_EQ(m.AddCat(&c0), nullptr);
    EXPECT_EQ(m.AddCat(nullptr), nullptr);
    EXPECT_EQ(rec.Texts(), (std::vector<std::string>{
                               "CL Command \"CRTLIB\" is already in the database.",
                               "Invalid CL Command Name.", "Invalid CL Command Category Name."}));

    // A record carried by an accepted entry is tied to the stored copy.
    CLCmdIndex c = Idx("DSPLIB");
    CLCmdRecord* pCarried = new CLCmdRecord;
    CLCmdManager::InitCmdRecord(nullptr, pCarried);
    c.pRec = pCarried;
    CLCmdIndex* pStored = m.AddCmdIdx(&c);
    EXPECT_EQ(pStored->pRec, pCarried);
    EXPECT_EQ(pCarried->pIdx, pStored);
}

TEST(CommandIndex, DeleteAndRename)
{
    TestHome home;
    CLCmdManager m;
    for (const char* name : {"A", "B", "C"}) {
        CLCmdIndex e = Idx(name);
        m.AddCmdIdx(&e);
    }
    CLCmdIndex* pB = m.FindCmdIdx("B");
    m.AttachCmdRecord(pB);
    ASSERT_NE(pB->pRec, nullptr);
    EXPECT_TRUE(m.DeleteCmdIdx(pB)); // the sanitizer run checks that both are freed
    EXPECT_FALSE(m.DeleteCmdIdx(nullptr));
    CLCmdIndex outside = Idx("A");
    EXPECT_FALSE(m.DeleteCmdIdx(&outside));
    EXPECT_EQ(Names(m), (std::vector<std::string>{"A", "C"}));

    // Renamed in place, an entry keeps its position until the next load.
    CopyField(m.FindCmdIdx("A")->szName, "Z");
    EXPECT_EQ(Names(m), (std::vector<std::string>{"Z", "C"}));
    ASSERT_TRUE(m.SaveCmdIdxList());
    ASSERT_TRUE(m.LoadCmdIdxList());
    EXPECT_EQ(Names(m), (std::vector<std::string>{"C", "Z"}));

    CLCategory c = Cat(2, "Two");
    CLCategory* pCat = m.AddCat(&c);
    CLCategory other = Cat(2, "Two");
    EXPECT_FALSE(m.DeleteCat(&other));
    EXPECT_FALSE(m.DeleteCat(nullptr));
    EXPECT_TRUE(m.DeleteCat(pCat));
    EXPECT_EQ(m.GetFirstCat(), nullptr);
}

TEST(ListFiles, AFailedSaveLeavesTheOldFile)
{
    TestHome home;
    CLCmdManager m;
    for (uint32_t id = 1; id <= 50; ++id) {
        CLCategory c = Cat(id, "A category with a fairly long name to fill the file");
        m.AddCat(&c);
        CLCmdIndex e = Idx(("CMD" + std::to_string(id)).c_str());
        m.AddCmdIdx(&e);
    }
    ASSERT_TRUE(m.SaveAll());
    Bytes oldCat = ReadBytes(home.File("clcat.dat"));
    Bytes oldIdx = ReadBytes(home.File("cldict.dat"));
    CLCategory c = Cat(99, "One more");
    m.AddCat(&c);
    SKIP_WITHOUT_FILE_LIMIT();
    {
        FileLimit limit(100); // every write beyond 100 bytes fails
        EXPECT_FALSE(m.SaveCatList());
        EXPECT_FALSE(m.SaveCmdIdxList());
        EXPECT_FALSE(m.SaveAll());
    }
    EXPECT_EQ(ReadBytes(home.File("clcat.dat")), oldCat);
    EXPECT_EQ(ReadBytes(home.File("cldict.dat")), oldIdx);
    EXPECT_EQ(ListDir(home.Path()), (std::vector<std::string>{"clcat.dat", "cldict.dat", "data"}));

    // A program folder that cannot take the file.
    SetAppPath(home.File("missing-folder/"));
    EXPECT_FALSE(m.SaveCatList());
    SetAppPath(home.Path());
    EXPECT_TRUE(m.SaveCatList());
}
