// Reading record and category files: how texts are taken, and what is refused.
#include "CategoryYaml.h"
#include "RecordDoc.h"
#include "RecordMaker.h"
#include "RecordYaml.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string Refusal(const std::string& yaml)
{
    RecordDoc doc;
    std::string error;
    if (RecordYaml::Read(yaml, &doc, &error))
        return "<accepted>";
    return error;
}

RecordDoc Accepted(const std::string& yaml)
{
    RecordDoc doc;
    std::string error;
    EXPECT_TRUE(RecordYaml::Read(yaml, &doc, &error)) << error << "\n" << yaml;
    return doc;
}

} // namespace

TEST(YamlRead, LineBreaksBecomeCrLfUnlessRaw)
{
    RecordDoc doc = Accepted("name: X\n"
                             "description: \"a\\r\\nb\\nc\\rd\"\n"
                             "environment: !raw \"a\\r\\nb\\nc\"\n"
                             "detail: |\n  one\n\n  two\n"
                             "examples: !raw |-\n  one\n  two\n"
                             "reserved_text: 'x\n\n  y'\n");
    EXPECT_EQ(doc.description, "a\r\nb\r\nc\rd");
    EXPECT_EQ(doc.environment, "a\r\nb\nc");
    EXPECT_EQ(doc.detail, "one\r\n\r\ntwo\r\n");
    EXPECT_EQ(doc.examples, "one\ntwo");
    EXPECT_EQ(doc.reservedText, "x\r\ny");
}

TEST(YamlRead, HandWrittenForms)
{
    // Keys in any order, empty and null values, empty flow lists, quoted
    // numbers, Latin-1 letters in UTF-8, the standard string tag.
    RecordDoc doc = Accepted("errors: []\n"
                             "parameters:\n"
                             "detail:\n"
                             "environment: ~\n"
                             "name: 'CR\xC3\x89'\n"
                             "description: !!str 12\n"
                             "category: '7'\n"
                             "reserved_byte: 0\n"
                             "index_reserved: [0, 4294967295]\n");
    EXPECT_EQ(doc.name, "CR\xC9");
    EXPECT_EQ(doc.description, "12");
    EXPECT_TRUE(doc.environment.empty());
    EXPECT_TRUE(doc.detail.empty());
    EXPECT_TRUE(doc.parameters.empty());
    EXPECT_EQ(doc.category, 7u);
    EXPECT_FALSE(doc.file.has_value());
    EXPECT_EQ(doc.indexReserved, std::make_pair(0u, 4294967295u));

    doc = Accepted("name: X\nparameters:\n  -\n  - note: n\n");
    ASSERT_EQ(doc.parameters.size(), 2u);
    EXPECT_EQ(doc.parameters[0], RecordDocParam{});
    EXPECT_EQ(doc.parameters[1].note, "n");
}

TEST(YamlRead, EveryLimitCountsCrLfAsTwoBytes)
{
    struct Case
    {
        const char* field;
        size_t nMax;
        std::function<std::string(const std::string&)> yaml; // a file with value in the field
    };
    auto top = [](const char* key) {
        return [key](const std::string& v) {
            return std::string(key) == "name" ? "name: " + v + "\n"
                                              : "name: X\n" + std::string(key) + ": " + v + "\n";
        };
    };
    auto item = [](const char* list, const char* key) {
        return [list, key](const std::string& v) {
            return "name: X\n" + std::string(list) + ":\n  - " + key + ": " + v + "\n";
        };
    };
    const Case cases[] = {
        {"name", 10, top("name")},
        {"description", 255, top("description")},
        {"environment", 255, top("environment")},
        {"detail", 32768, top("detail")},
        {"reserved_text", 32768, top("reserved_text")},
        {"examples", 32768, top("examples")},
        {"file", 20, top("file")},
        {"parameters item 1: keyword", 10, item("parameters", "keyword")},
        {"parameters item 1: description", 59, item("parameters", "description")},
        {"parameters item 1: choices", 199, item("parameters", "choices")},
        {"parameters item 1: note", 31, item("parameters", "note")},
        // The format's limits, not the error dialog's (8 and 148).
        {"errors item 1: code", 9, item("errors", "code")},
        {"errors item 1: text", 149, item("errors", "text")},
    };
    for (const Case& c : cases) {
        const std::string over = std::string(c.field) + ": " + std::to_string(c.nMax + 1) +
                                 " bytes, at most " + std::to_string(c.nMax);
        EXPECT_EQ(Refusal(c.yaml(std::string(c.nMax, 'a'))), "<accepted>") << c.field;
        EXPECT_EQ(Refusal(c.yaml(std::string(c.nMax + 1, 'a'))), over);
        // One line break in a double-quoted text becomes CR LF: two bytes.
        // (A name with a line break is refused for another reason.)
        if (std::string(c.field) != "name" && std::string(c.field) != "file") {
            EXPECT_EQ(Refusal(c.yaml("\"" + std::string(c.nMax - 3, 'a') + "\\nb\"")), "<accepted>")
                << c.field;
        }
        EXPECT_EQ(Refusal(c.yaml("\"" + std::string(c.nMax - 2, 'a') + "\\nb\"")), over);
        // A Latin-1 letter is one byte, though UTF-8 spells it in two.
        EXPECT_EQ(Refusal(c.yaml(std::string(c.nMax - 1, 'a') + "\xC3\xA9")), "<accepted>")
            << c.field;
    }
}

TEST(YamlRead, RefusesWhatTheDatabaseCannotHold)
{
    struct Case
    {
        std::string yaml;
        std::string reason;
    };
    const Case cases[] = {
        {"description: x\n", "name: missing"},
        {"name: ''\n", "name: empty"},
        {"name: a/b\n", "name: cannot be a file name"},
        {"name: ..\n", "name: cannot be a file name"},
        {"name: !raw \"a\\tb\"\n", "name: cannot be a file name"},
        {"name: X\nfile: ../x\n", "file: cannot be a file name"},
        {"name: X\nfile: ''\n", "file: cannot be a file name"},
        {"name: X\ndescription: \xE2\x82\xAC\n",
         "description: character U+20AC cannot be stored (only U+0001..U+00FF)"},
        {"name: X\ndetail: \"a\\0b\"\n",
         "detail: the text holds a NUL character, which cannot be stored"},
        {"name: X\ndetail: \"\\xC0\\x80\"\n", "<accepted>"}, // two Latin-1 letters
        {"name: X\ndetail: a\xC0\x80\n", "detail: the text is not valid UTF-8"},
        {"name: X\ndetail: a\xFF\n", "detail: the text is not valid UTF-8"},
        {"name: X\nnotes: y\n", "unknown key \"notes\""},
        {"name: X\nname: Y\n", "key \"name\" appears twice"},
        {"name: X\nparameters:\n  - keyword: K\n    keyword: L\n",
         "parameters item 1: key \"keyword\" appears twice"},
        {"name: X\nerrors:\n  - msg: m\n", "errors item 1: unknown key \"msg\""},
        {"name: X\nerrors: none\n", "errors: expected a list"},
        {"name: X\nparameters:\n  - K\n",
         "parameters item 1: expected a mapping of keys and values"},
        {"name: X\ndetail: [a]\n", "detail: expected text"},
        {"name: X\ndetail: !bin abc\n", "detail: unknown tag \"!bin\""},
        {"name: X\nreserved_byte: 256\n", "reserved_byte: expected a whole number from 0 to 255"},
        {"name: X\nreserved_byte: -1\n", "reserved_byte: expected a whole number from 0 to 255"},
        {"name: X\ncategory: 4294967296\n",
         "category: expected a whole number from 0 to 4294967295"},
        {"name: X\ncategory: 0x10\n", "category: expected a whole number from 0 to 4294967295"},
        {"name: X\ncategory:\n", "category: expected a whole number from 0 to 4294967295"},
        {"name: X\nindex_reserved: [1]\n",
         "index_reserved: expected a list of two whole numbers from 0 to 4294967295"},
        {"name: X\nindex_reserved: [1, -2]\n",
         "index_reserved: expected a list of two whole numbers from 0 to 4294967295"},
        {"- name: X\n", "expected a mapping of keys and values"},
        {"", "the file is empty"},
        {"name: X\n---\nname: Y\n", "the file holds more than one document"},
        {"name: X\ndetail: |\n  a\n b\n", "line 4, column 2: end of map not found"},
        {"name: [X\n", "line 2, column 1: end of sequence flow not found"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Refusal(c.yaml), c.reason) << c.yaml;
}

TEST(YamlRead, CategoryFiles)
{
    std::vector<CategoryDoc> cats;
    std::string error;
    ASSERT_TRUE(CategoryYaml::Read("categories:\n  - id: 2\n    name: Files\n"
                                   "  - {id: 1, name: Libs, file: lib.htm}\n",
                                   &cats, &error))
        << error;
    EXPECT_EQ(cats, (std::vector<CategoryDoc>{{2, "Files", ""}, {1, "Libs", "lib.htm"}}));

    struct Case
    {
        std::string yaml;
        std::string reason;
    };
    const Case cases[] = {
        {"categories:\n  - name: A\n", "categories item 1: id: missing"},
        {"categories:\n  - id: 1\n", "categories item 1: name: missing or empty"},
        {"categories:\n  - {id: 1, name: A}\n  - {id: 1, name: B}\n",
         "categories item 2: id 1 appears twice"},
        {"categories:\n  - {id: 1, name: " + std::string(80, 'n') + "}\n",
         "categories item 1: name: 80 bytes, at most 79"},
        {"categories:\n  - {id: 1, name: A, file: " + std::string(16, 'f') + "}\n",
         "categories item 1: file: 16 bytes, at most 15"},
        {"categories:\n  - {id: 1, name: A, colour: red}\n",
         "categories item 1: unknown key \"colour\""},
        {"cats: []\n", "unknown key \"cats\""},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(CategoryYaml::Read(c.yaml, &cats, &error)) << c.yaml;
        EXPECT_EQ(error, c.reason);
    }
}

TEST(YamlRecordDoc, EntryValuesWrittenOnlyWhenUnusual)
{
    CLCmdIndex idx = MakeIdx("CRTLIB", 4);
    RecordDoc doc = RecordDoc::FromEntry(idx, nullptr);
    EXPECT_EQ(doc.name, "CRTLIB");
    EXPECT_EQ(doc.category, 4u);
    EXPECT_FALSE(doc.file.has_value());
    EXPECT_FALSE(doc.indexReserved.has_value());
    EXPECT_EQ(RecordYaml::Write(doc), "name: CRTLIB\ncategory: 4\n");

    CopyField(idx.szFileName, "crtlib.dat");
    idx.dwReserved2 = 9;
    doc = RecordDoc::FromEntry(idx, nullptr);
    EXPECT_EQ(doc.file, "crtlib.dat");
    EXPECT_EQ(doc.indexReserved, std::make_pair(0u, 9u));
}

TEST(YamlRecordDoc, RecordFieldsSurviveTheDocument)
{
    CLCmdIndex idx = MakeIdx("CRTLIB");
    RecordPtr rec = NewRecord(&idx);
    FillRecord(rec.get(), &idx, "CRTLIB", "Create", "Env\r\nx", {{"LIB", "Library", "Name", "Req"}},
               {{"CPF2111", "Exists"}, {"CPF9999", ""}}, "Detail", "Reserved", "Example");
    rec->bReserved = 0x5A;
    RecordDoc doc = RecordDoc::FromEntry(idx, rec.get());

    RecordPtr back = NewRecord(&idx);
    doc.ToRecord(back.get());
    EXPECT_EQ(RecordDoc::FromEntry(idx, back.get()), doc);
    EXPECT_EQ(back->bReserved, 0x5A);
    EXPECT_EQ(back->dwParamCount, 1u);
    EXPECT_EQ(back->dwErrorCount, 2u);
    EXPECT_STREQ(back->pszReserved, "Reserved");
    EXPECT_STREQ(back->pErrors[1].szCode, "CPF9999");
}
