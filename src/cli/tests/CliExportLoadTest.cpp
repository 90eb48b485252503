// export and load: a folder exported and loaded into an empty one builds the
// same files; load refuses bad files one by one and merges into the index.
#include "CliHome.h"

#include "CLRecordUtil.h"
#include "RecordYaml.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A record with every kind of field, texts that need every YAML style.
RecordDoc EveryField()
{
    RecordDoc d;
    d.name = "CRTLIB";
    d.description = " Create Library: \xE9t\xE9 ";
    d.environment = "Batch\r\n  Interactive\r\n";
    d.reservedByte = 0x5A;
    d.detail = "Line 1\r\n\r\n  indented # not a comment\r\n\r\n\r\n";
    d.reservedText = "raw\nline\rbreaks\x01\x85";
    d.parameters = {{"LIB", "Library", "Name, *CURLIB", "Required, Positional 1"},
                    {"TYPE", "'quoted'", "", "- dash"},
                    {"", "", "", ""}};
    d.examples = std::string(32768 - 2, 'x') + "\r\n";
    d.errors = {{"CPF2111", "Library &1 exists."}, {"CPF9999", "\ttab"}};
    return d;
}

// Sets an entry's values that only the index holds.
void EditEntry(const CliHome& home, const char* name, uint32_t cat, const std::string& file,
               uint32_t r1, uint32_t r2)
{
    std::vector<CLCmdIndex> e = home.Index();
    for (CLCmdIndex& idx : e) {
        if (FieldText(idx.szName) != name)
            continue;
        idx.dwCatID = cat;
        CopyField(idx.szFileName, file);
        idx.dwReserved1 = r1;
        idx.dwReserved2 = r2;
    }
    home.WriteIndex(e);
}

} // namespace

TEST(CliExportLoad, ExportedFolderLoadsAndBuildsIdentically)
{
    CliHome first;
    first.Import(std::string(kSmallList) + "[00] - Zero\nZERO - In category 0\n"
                                           "[03] - Caf\xE9s\nCR\xC9"
                                           "ER - Cr\xE9"
                                           "er\n");
    first.Save(EveryField());
    // build joins data/NAME.dat whatever the entry's file; a record kept only
    // in another file is in no build, and exported from the index alone.
    RecordDoc other;
    other.name = "DLTLIB";
    other.description = "Kept in another file";
    first.Save(other, "dltlib.rec");
    fs::remove(first.File("data/DLTLIB.dat"));
    EditEntry(first, "DLTLIB", 2, "dltlib.rec", 7, 0);
    EditEntry(first, "DSPFD", 3, "DSPFD.dat", 0, 4000000000u);
    first.Build();

    const std::string exported = first.File("export");
    CliResult r = first.Run({"export", exported});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ListDir(exported), (std::vector<std::string>{"CPYF.yaml", "CRTLIB.yaml",
                                                           "CR\xC9"
                                                           "ER.yaml",
                                                           "DLTLIB.yaml", "DSPFD.yaml", "ZERO.yaml",
                                                           "categories.yaml"}));
    EXPECT_EQ(ReadText(exported + "/DLTLIB.yaml"),
              "name: DLTLIB\ncategory: 2\nfile: dltlib.rec\nindex_reserved: [7, 0]\n");

    CliHome second;
    fs::remove_all(second.File("data"));
    r = second.Run({"load", exported});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    second.Build();
    for (const char* file : {"clcat.dat", "data/CRTLIB.dat"})
        EXPECT_EQ(ReadBytes(second.File(file)), ReadBytes(first.File(file))) << file;
    // DLTLIB's record (exported from the index alone) went to dltlib.rec and to
    // DLTLIB.dat, which build joins: after load and build both run modes
    // show the same record of every command.
    EXPECT_EQ(ReadBytes(second.File("data/DLTLIB.dat")), ReadBytes(second.File("data/dltlib.rec")));
    for (const char* name : {"CPYF", "CRTLIB", "DLTLIB", "DSPFD", "ZERO"})
        EXPECT_EQ(second.Run({"--run-mode", "1", "show", name}).out, second.Run({"show", name}).out)
            << name;

    // In run mode 1 the records come from the entries' own files.
    const std::string again = first.File("export-1");
    ASSERT_EQ(first.Run({"--run-mode", "1", "export", again}).status, 0);
    for (const std::string& name : ListDir(exported)) {
        if (name != "DLTLIB.yaml") {
            EXPECT_EQ(ReadText(again + "/" + name), ReadText(exported + "/" + name)) << name;
        }
    }
    EXPECT_EQ(ReadText(again + "/DLTLIB.yaml"),
              "name: DLTLIB\ndescription: Kept in another file\ncategory: 2\n"
              "file: dltlib.rec\nindex_reserved: [7, 0]\n");
}

TEST(CliExportLoad, UnreadableRecordsExportTheirEntry)
{
    CliHome home;
    home.Import();
    EditEntry(home, "CPYF", 2, "cpyf.other", 0, 0);
    // Not built: in run mode 2 no record can be read.
    CliResult r = home.Run({"export", home.File("out")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("CPYF: the record cannot be read; only the index entry is exported."),
              std::string::npos);
    EXPECT_EQ(ReadText(home.File("out/CPYF.yaml")), "name: CPYF\ncategory: 2\nfile: cpyf.other\n");
    EXPECT_EQ(ReadText(home.File("out/categories.yaml")),
              "categories:\n  - id: 1\n    name: Libraries\n  - id: 2\n    name: Files\n");

    fs::remove(home.File("cldict.dat"));
    r = home.Run({"export", home.File("out2")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(FileExists(home.File("out2")));
}

TEST(CliExportLoad, LoadRefusesBadFilesAndGoesOn)
{
    CliHome home;
    home.Import();
    const std::string dir = home.File("in");
    MakeDir(dir);
    WriteText(dir + "/AAA.yaml", "name: AAA\ndescription: First\n");
    WriteText(dir + "/BAD1.yaml", "name: BAD1\ndescription: " + std::string(256, 'd') + "\n");
    WriteText(dir + "/BAD2.yaml", "name: BAD2\ndetail: \xE2\x82\xAC\n");
    WriteText(dir + "/BAD3.yaml", "name: [\n");
    WriteText(dir + "/BAD4.yaml", "name: OTHER\n");
    WriteText(dir + "/ZZZ.yaml", "name: ZZZ\ncategory: 2\nfile: zzz.rec\n");
    WriteText(dir + "/notes.txt", "not a record");
    const Bytes catsBefore = ReadBytes(home.File("clcat.dat"));

    CliResult r = home.Run({"load", dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(LinesOf(r.err),
              (std::vector<std::string>{
                  dir + "/BAD1.yaml: description: 256 bytes, at most 255",
                  dir + "/BAD2.yaml: detail: character U+20AC cannot be stored "
                        "(only U+0001..U+00FF)",
                  dir + "/BAD3.yaml: line 2, column 1: end of sequence flow not found",
                  dir + "/BAD4.yaml: the name \"OTHER\" is not the file's name"}));
    EXPECT_EQ(home.Run({"list"}).out, "AAA\nCPYF\nCRTLIB\nDLTLIB\nDSPFD\nZZZ\n");
    EXPECT_EQ(home.Run({"list", "--category", "1"}).out, "AAA\nCRTLIB\nDLTLIB\n");
    EXPECT_TRUE(FileExists(home.File("data/zzz.rec")));
    EXPECT_FALSE(FileExists(home.File("data/BAD1.dat")));
    EXPECT_EQ(ReadBytes(home.File("clcat.dat")), catsBefore); // no categories.yaml
    std::vector<std::string> shown = LinesOf(home.Run({"--run-mode", "1", "show", "AAA"}).out);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[1], "Description:  First");

    r = home.Run({"load", home.File("no-such-folder")});
    EXPECT_EQ(r.status, 1);
    WriteText(home.File("cldict.dat"), "broken");
    r = home.Run({"load", dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadText(home.File("cldict.dat")), "broken"); // never replaced
}

TEST(CliExportLoad, LoadUpdatesEntriesAndCategoriesOnlyWhenChanged)
{
    CliHome home;
    home.Import();
    const std::string dir = home.File("in");
    MakeDir(dir);

    // Files that repeat what the index holds leave both lists unwritten.
    WriteText(dir + "/CPYF.yaml", "name: CPYF\ndescription: Copy File\ncategory: 2\n");
    WriteText(dir + "/categories.yaml", "categories:\n  - {id: 1, name: Libraries}\n");
    fs::last_write_time(home.File("cldict.dat"), fs::file_time_type{});
    fs::last_write_time(home.File("clcat.dat"), fs::file_time_type{});
    ASSERT_EQ(home.Run({"load", dir}).status, 0);
    EXPECT_EQ(fs::last_write_time(home.File("cldict.dat")), fs::file_time_type{});
    EXPECT_EQ(fs::last_write_time(home.File("clcat.dat")), fs::file_time_type{});

    // Given values that differ update the entry; absent ones keep it.
    WriteText(dir + "/CPYF.yaml", "name: CPYF\ncategory: 1\nfile: c.rec\nindex_reserved: [3, 4]\n");
    WriteText(dir + "/DSPFD.yaml", "name: DSPFD\n");
    WriteText(dir + "/categories.yaml",
              "categories:\n  - {id: 1, name: Libs, file: l.htm}\n  - {id: 5, name: New}\n");
    CliResult r = home.Run({"load", dir});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<CLCmdIndex> e = home.Index();
    EXPECT_STREQ(e[0].szName, "CPYF");
    EXPECT_EQ(e[0].dwCatID, 1u);
    EXPECT_STREQ(e[0].szFileName, "c.rec");
    EXPECT_EQ(e[0].dwReserved1, 3u);
    EXPECT_EQ(e[0].dwReserved2, 4u);
    EXPECT_STREQ(e[3].szName, "DSPFD");
    EXPECT_EQ(e[3].dwCatID, 2u);
    EXPECT_STREQ(e[3].szFileName, "DSPFD.dat");
    EXPECT_EQ(home.Run({"categories"}).out, "1\tLibs\tl.htm\n2\tFiles\t\n5\tNew\t\n");

    WriteText(dir + "/categories.yaml", "categories:\n  - {id: 1}\n");
    r = home.Run({"load", dir});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, dir + "/categories.yaml: categories item 1: name: missing or empty\n");
}
