// check: a clean program folder passes; each planted fault is reported in
// the line that names it.
#include "CliHome.h"

#include "CLRecordUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

CLCategory Cat(uint32_t id, const std::string& name)
{
    CLCategory c{};
    c.dwID = id;
    CopyField(c.szName, name);
    return c;
}

void Append(const std::string& path, const std::string& bytes)
{
    Bytes b = ReadBytes(path);
    b.insert(b.end(), bytes.begin(), bytes.end());
    WriteBytes(path, b);
}

void Cut(const std::string& path, size_t n)
{
    Bytes b = ReadBytes(path);
    b.resize(b.size() - n);
    WriteBytes(path, b);
}

// The small list with a full record for CRTLIB, built.
void MakeCleanHome(const CliHome& home)
{
    home.Import();
    RecordDoc d;
    d.name = "CRTLIB";
    d.description = "Create Library";
    d.parameters = {{"LIB", "Library", "Name", "Required"}};
    d.errors = {{"CPF2111", "Exists."}};
    d.detail = "Detail";
    d.examples = "CRTLIB LIB(X)";
    home.Save(d);
    home.Build();
}

struct Plant
{
    const char* what;
    // Plants the fault and returns the lines check must print.
    std::function<Lines(CliHome&)> plant;
};

const std::vector<Plant>& Plants()
{
    static const std::vector<Plant> plants = {
        // --- the category list
        {"no category list",
         [](CliHome& h) {
             fs::remove(h.File("clcat.dat"));
             return Lines{"clcat.dat: missing"};
         }},
        {"category list of another version",
         [](CliHome& h) {
             WriteBytes(h.File("clcat.dat"), ByteWriter().str("CLCAT").dw(9999).dw(0).bytes());
             return Lines{"clcat.dat: wrong header (not CLCAT version 10000)"};
         }},
        {"category list cut short",
         [](CliHome& h) {
             h.WriteCategories({Cat(1, "Libraries"), Cat(2, "Files"), Cat(3, "Extra")});
             Cut(h.File("clcat.dat"), 2);
             return Lines{"clcat.dat: category 3 of 3: at byte 68: cut short: 4 bytes needed, 2 "
                          "left"};
         }},
        {"bytes after the categories",
         [](CliHome& h) {
             Append(h.File("clcat.dat"), "xy");
             return Lines{"clcat.dat: 2 bytes after the last category"};
         }},
        {"duplicate category id",
         [](CliHome& h) {
             h.WriteCategories({Cat(1, "Libraries"), Cat(2, "Files"), Cat(2, "Again")});
             return Lines{"clcat.dat: category 3: CL Command category \"Again\" is already in "
                          "the database."};
         }},
        {"empty category name",
         [](CliHome& h) {
             h.WriteCategories({Cat(1, "Libraries"), Cat(2, "Files"), Cat(3, "")});
             return Lines{"clcat.dat: category 3: Invalid CL Command Category Name."};
         }},
        {"category id 0",
         [](CliHome& h) {
             h.WriteCategories({Cat(0, "Zero"), Cat(1, "Libraries"), Cat(2, "Files")});
             return Lines{"clcat.dat: category 1: id 0 is never a category; ids start at 1"};
         }},
        {"categories out of order",
         [](CliHome& h) {
             h.WriteCategories({Cat(2, "Files"), Cat(1, "Libraries"), Cat(3, "Extra")});
             return Lines{"clcat.dat: category 2: out of order: id 1 follows id 2"};
         }},
        {"zero byte inside a category name",
         [](CliHome& h) {
             WriteBytes(h.File("clcat.dat"), ByteWriter()
                                                 .str("CLCAT")
                                                 .dw(10000)
                                                 .dw(2)
                                                 .dw(1)
                                                 .str(std::string("Lib\0raries", 10))
                                                 .str("")
                                                 .dw(2)
                                                 .str("Files")
                                                 .str("")
                                                 .bytes());
             return Lines{"clcat.dat: category 1: a text holds a zero byte, where its field ends"};
         }},
        {"category name too long for its field",
         [](CliHome& h) {
             WriteBytes(h.File("clcat.dat"), ByteWriter()
                                                 .str("CLCAT")
                                                 .dw(10000)
                                                 .dw(2)
                                                 .dw(1)
                                                 .str(std::string(80, 'L'))
                                                 .str("")
                                                 .dw(2)
                                                 .str("Files")
                                                 .str("")
                                                 .bytes());
             // Loading stops there, so the categories of the entries are gone too.
             return Lines{"clcat.dat: category 1 of 2: at byte 21: a string of 80 bytes, longer "
                          "than its field holds (79)",
                          "cldict.dat: \"CPYF\": category 2 does not exist",
                          "cldict.dat: \"CRTLIB\": category 1 does not exist",
                          "cldict.dat: \"DLTLIB\": category 1 does not exist",
                          "cldict.dat: \"DSPFD\": category 2 does not exist"};
         }},
        // --- the index
        {"no index",
         [](CliHome& h) {
             fs::remove(h.File("cldict.dat"));
             return Lines{"cldict.dat: missing"};
         }},
        {"index with a wrong magic word",
         [](CliHome& h) {
             WriteText(h.File("cldict.dat"), "CLDICT");
             return Lines{"cldict.dat: wrong header (not CLDICT version 10000)"};
         }},
        {"index cut short",
         [](CliHome& h) {
             Bytes b = ReadBytes(h.File("cldict.dat"));
             b[14] = 5; // the count, after "CLDICT" and the version
             WriteBytes(h.File("cldict.dat"), b);
             return Lines{"cldict.dat: entry 5 of 5: at byte 188: cut short: 4 bytes needed, 0 "
                          "left"};
         }},
        {"bytes after the index",
         [](CliHome& h) {
             Append(h.File("cldict.dat"), "abc");
             return Lines{"cldict.dat: 3 bytes after the last entry"};
         }},
        {"index out of order",
         [](CliHome& h) {
             std::vector<CLCmdIndex> e = h.Index();
             std::reverse(e.begin(), e.end());
             h.WriteIndex(e);
             return Lines{"cldict.dat: entry 2: out of order: \"DLTLIB\" follows \"DSPFD\""};
         }},
        {"duplicate command name",
         [](CliHome& h) {
             std::vector<CLCmdIndex> e = h.Index();
             e.push_back(e[0]);
             h.WriteIndex(e);
             return Lines{"cldict.dat: entry 5: CL Command \"CPYF\" is already in the database."};
         }},
        {"empty command name",
         [](CliHome& h) {
             std::vector<CLCmdIndex> e = h.Index();
             e.push_back(CLCmdIndex{});
             h.WriteIndex(e);
             return Lines{"cldict.dat: entry 5: Invalid CL Command Name."};
         }},
        {"entry of a category that does not exist",
         [](CliHome& h) {
             std::vector<CLCmdIndex> e = h.Index();
             e[0].dwCatID = 9;
             h.WriteIndex(e);
             return Lines{"cldict.dat: \"CPYF\": category 9 does not exist"};
         }},
        {"unsafe file name",
         [](CliHome& h) {
             std::vector<CLCmdIndex> e = h.Index();
             CopyField(e[0].szFileName, "../x\x01");
             h.WriteIndex(e);
             return Lines{"cldict.dat: \"CPYF\": unsafe file name \"../x?\""};
         }},
        // --- the per-command files
        {"missing per-command file",
         [](CliHome& h) {
             fs::remove(h.File("data/DSPFD.dat"));
             return Lines{"data/DSPFD.dat: missing"};
         }},
        {"per-command file cut short",
         [](CliHome& h) {
             Cut(h.File("data/CRTLIB.dat"), 1);
             return Lines{"data/CRTLIB.dat: cannot be read whole: the examples: cut short: 13 "
                          "bytes, 12 left"};
         }},
        {"bytes after the record",
         [](CliHome& h) {
             Append(h.File("data/CPYF.dat"), "123");
             return Lines{"data/CPYF.dat: 3 bytes after the record"};
         }},
        {"record named otherwise",
         [](CliHome& h) {
             RecordDoc d;
             d.name = "OTHER";
             h.Save(d, "CPYF.dat");
             h.Build();
             return Lines{
                 "data/CPYF.dat: the record's name \"OTHER\" differs from the entry's \"CPYF\""};
         }},
        // --- the joined file
        {"no joined file",
         [](CliHome& h) {
             fs::remove(h.File("clcmd.dat"));
             return Lines{"clcmd.dat: missing"};
         }},
        {"stale build",
         [](CliHome& h) {
             RecordDoc d;
             d.name = "CPYF";
             d.description = "Copy File, edited";
             h.Save(d);
             return Lines{
                 "clcmd.dat: \"CPYF\": the record differs from data/CPYF.dat (stale build)"};
         }},
        {"bytes no entry covers",
         [](CliHome& h) {
             size_t n = ReadBytes(h.File("clcmd.dat")).size();
             Append(h.File("clcmd.dat"), "12345");
             return Lines{"clcmd.dat: bytes " + std::to_string(n) + " to " + std::to_string(n + 4) +
                          " (5) belong to no entry"};
         }},
        {"record past the end",
         [](CliHome& h) {
             std::vector<CLCmdIndex> e = h.Index();
             e[3].dwLength += 10;
             h.WriteIndex(e);
             return Lines{"clcmd.dat: \"DSPFD\": the record at " + std::to_string(e[3].dwPos) +
                          " (" + std::to_string(e[3].dwLength) + " bytes) runs past the end (" +
                          std::to_string(ReadBytes(h.File("clcmd.dat")).size()) + " bytes)"};
         }},
        {"record unreadable at its position",
         [](CliHome& h) {
             uint32_t pos = h.Index()[1].dwPos;
             Bytes b = ReadBytes(h.File("clcmd.dat"));
             b[pos] = 20; // the name's length: too long for its field
             WriteBytes(h.File("clcmd.dat"), b);
             return Lines{"clcmd.dat: \"CRTLIB\": the record at " + std::to_string(pos) +
                          " cannot be read: the name: at byte " + std::to_string(pos) +
                          ": a string of 20 bytes, longer than its field holds (10)"};
         }},
        {"overlapping records",
         [](CliHome& h) {
             std::vector<CLCmdIndex> e = h.Index();
             uint32_t oldPos = e[3].dwPos, oldEnd = e[3].dwPos + e[3].dwLength;
             e[3].dwPos = e[2].dwPos; // DSPFD onto DLTLIB
             e[3].dwLength = e[2].dwLength;
             h.WriteIndex(e);
             return Lines{
                 "clcmd.dat: \"DSPFD\": the record differs from data/DSPFD.dat (stale build)",
                 "clcmd.dat: \"DSPFD\": the record at " + std::to_string(e[2].dwPos) +
                     " overlaps the record of \"DLTLIB\"",
                 "clcmd.dat: bytes " + std::to_string(oldPos) + " to " +
                     std::to_string(oldEnd - 1) + " (" + std::to_string(oldEnd - oldPos) +
                     ") belong to no entry"};
         }},
    };
    return plants;
}

} // namespace

TEST(CliCheck, CleanFolderPasses)
{
    CliHome home;
    MakeCleanHome(home);
    CliResult r = home.Run({"check"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(CliCheck, EachPlantedFaultGivesItsLine)
{
    for (const Plant& p : Plants()) {
        CliHome home;
        MakeCleanHome(home);
        Lines expected = p.plant(home);
        CliResult r = home.Run({"check"});
        EXPECT_EQ(r.status, 1) << p.what;
        EXPECT_EQ(LinesOf(r.out), expected) << p.what;
        EXPECT_EQ(r.err, "") << p.what;
    }
}

TEST(CliCheck, SeveralFaultsAndAnEmptyFolder)
{
    CliHome home;
    MakeCleanHome(home);
    Append(home.File("clcat.dat"), "x");
    fs::remove(home.File("data/DSPFD.dat"));
    RecordDoc d;
    d.name = "CPYF";
    home.Save(d);
    CliResult r = home.Run({"check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(LinesOf(r.out),
              (Lines{"clcat.dat: 1 bytes after the last category", "data/DSPFD.dat: missing",
                     "clcmd.dat: \"CPYF\": the record differs from data/CPYF.dat (stale build)"}));

    CliHome empty;
    r = empty.Run({"check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(LinesOf(r.out), (Lines{"clcat.dat: missing", "cldict.dat: missing"}));

    CliHome unbuilt;
    unbuilt.Import();
    r = unbuilt.Run({"check"});
    EXPECT_EQ(LinesOf(r.out), Lines{"clcmd.dat: missing"});
}
