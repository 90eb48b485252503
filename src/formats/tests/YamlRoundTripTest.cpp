// The YAML record format writes every database text so that it reads back
// byte for byte: hand-picked awkward texts in every field, and random records.
#include "CategoryYaml.h"
#include "RecordYaml.h"
#include "YamlTextWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Style = YamlTextWriter::Style;

// Where a text can sit in a record file, with the field's limit.
struct Slot
{
    const char* what;
    size_t nMax;
    std::function<void(RecordDoc&, const std::string&)> put;
};

const std::vector<Slot>& Slots()
{
    static const std::vector<Slot> slots = {
        {"description", 255, [](RecordDoc& d, const std::string& t) { d.description = t; }},
        {"environment", 255, [](RecordDoc& d, const std::string& t) { d.environment = t; }},
        {"detail", 32768, [](RecordDoc& d, const std::string& t) { d.detail = t; }},
        {"reserved_text", 32768, [](RecordDoc& d, const std::string& t) { d.reservedText = t; }},
        {"examples", 32768, [](RecordDoc& d, const std::string& t) { d.examples = t; }},
        {"keyword", 10, [](RecordDoc& d, const std::string& t) { d.parameters[0].keyword = t; }},
        {"param description", 59,
         [](RecordDoc& d, const std::string& t) { d.parameters[1].description = t; }},
        {"choices", 199, [](RecordDoc& d, const std::string& t) { d.parameters[1].choices = t; }},
        {"note", 31, [](RecordDoc& d, const std::string& t) { d.parameters[2].note = t; }},
        {"code", 8, [](RecordDoc& d, const std::string& t) { d.errors[0].code = t; }},
        {"error text", 148, [](RecordDoc& d, const std::string& t) { d.errors[1].text = t; }},
    };
    return slots;
}

// A record with neighbours around each slot, so a text that leaks into the
// next key or item shows.
RecordDoc Frame()
{
    RecordDoc d;
    d.name = "CRTLIB";
    d.description = "Create Library";
    d.parameters = {{"LIB", "Library", "Name", "Required"},
                    {"TYPE", "Type", "*PROD, *TEST", "Optional"},
                    {"", "", "", ""}};
    d.examples = "CRTLIB LIB(X)";
    d.errors = {{"CPF2111", "Exists."}, {"", ""}};
    d.category = 3;
    return d;
}

std::string Visible(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof(buf), "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

void ExpectRoundTrip(const RecordDoc& doc, const std::string& context)
{
    const std::string yaml = RecordYaml::Write(doc);
    RecordDoc back;
    std::string error;
    ASSERT_TRUE(RecordYaml::Read(yaml, &back, &error)) << context << ": " << error << "\n" << yaml;
    EXPECT_EQ(back, doc) << context << "\n" << yaml;
}

// Texts that trip up naive YAML writers; Latin-1 bytes with CR LF line breaks.
const std::vector<std::string> kAwkward = {
    // white space at the edges and alone
    " lead",
    "trail ",
    " both ",
    " ",
    "   ",
    "\t",
    "\tlead tab",
    "trail tab\t",
    "a\tb",
    // line breaks at the edges, empty lines, lines of spaces
    "a\r\nb",
    "a\r\n",
    "a\r\n\r\n",
    "a\r\n\r\n\r\n",
    "\r\n",
    "\r\n\r\n",
    "\r\na",
    "\r\n\r\na",
    "\r\n  a",
    " a\r\nb",
    "  a\r\n b\r\n",
    "a\r\n  \r\nb",
    "a\r\n   ",
    "   \r\na",
    "  \r\n",
    "a\r\n\r\n\r\nb",
    "\ta\r\n\tb",
    "a \r\nb ",
    "\r\n \r\n",
    // YAML syntax inside the text
    "# hash",
    "a # b",
    "a#b",
    "a: b",
    "key:",
    "a:b",
    "'quoted'",
    "\"double\"",
    "it's",
    "- dash",
    "-",
    "-x",
    "?",
    "? q",
    ":",
    "[x]",
    "{y: z}",
    "a, b",
    ",",
    "*star",
    "&anchor",
    "!tag",
    "|pipe",
    ">fold",
    "%pct",
    "@at",
    "`tick`",
    "\\back\\slash",
    "---",
    "...",
    "--- x",
    "a\r\n---\r\nb",
    "a\r\n...\r\n",
    "# c\r\n# d",
    "- a\r\n- b",
    "key: value\r\nk2: v2",
    // words and numbers a YAML reader would type
    "null",
    "Null",
    "~",
    "true",
    "False",
    "yes",
    "No",
    "on",
    "OFF",
    "y",
    "123",
    "-1",
    "0x1F",
    "1.5",
    "1e3",
    ".inf",
    ".NaN",
    "<<",
    // bytes above 0x7F: printable Latin-1, and C1 controls
    "caf\xE9",
    "\xA0nbsp\xA0",
    "\xFF\xFE",
    "\xC3\xA9",
    "\xE9\r\n\xE8",
    "\x80",
    "\x9F",
    "a\x85" // NOLINT(bugprone-suspicious-missing-comma): split so "b" is no hex digit
    "b",
    "\xA0",
    " \xA0 ",
    // control characters and lone line breaks: written as !raw
    "\r",
    "\n",
    "a\nb",
    "a\rb",
    "a\r\r\nb",
    "a\r\n\nb",
    "a\r\nb\n",
    "\x01",
    "\x1B[0m",
    "\x7F",
    "\x0B\x0C",
    "\tx\ny",
    "\"\\\n",
    "\n\n",
    "\r\r",
    " \n ",
};

} // namespace

TEST(YamlTextStyle, ChosenByContent)
{
    struct Case
    {
        std::string text;
        Style style;
    };
    const Case cases[] = {
        {"Create Library", Style::Plain},
        {"Name, *LIBL", Style::Plain},
        {"*LIBL, Name", Style::SingleQuoted},
        {"a: b", Style::SingleQuoted},
        {" lead", Style::SingleQuoted},
        {"tab\tinside", Style::SingleQuoted},
        {"null", Style::SingleQuoted},
        {"caf\xE9", Style::Plain},
        {"a\r\nb", Style::Literal},
        {"\r\n", Style::Literal},
        {"\ta\r\n", Style::Literal},
        {"a\nb", Style::Raw},
        {"a\rb", Style::Raw},
        {"a\r\nb\n", Style::Raw},
        {"\x01", Style::Raw},
        {"\x7F", Style::Raw},
        {"\x85", Style::Raw},
    };
    for (const Case& c : cases)
        EXPECT_EQ(YamlTextWriter::StyleOf(c.text), c.style) << Visible(c.text);
}

TEST(YamlTextStyle, LiteralBlockHeaders)
{
    // Chomping follows the final line breaks; an indicator protects a
    // leading space; lines are indented two columns deeper than the key.
    EXPECT_EQ(YamlTextWriter::Field("d", "a\r\nb", 0), "d: |-\n  a\n  b\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "a\r\nb\r\n", 0), "d: |\n  a\n  b\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "a\r\n\r\n", 0), "d: |+\n  a\n\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "\r\n", 0), "d: |+\n\n");
    EXPECT_EQ(YamlTextWriter::Field("d", " a\r\nb", 0), "d: |2-\n   a\n  b\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "\r\n a", 4), "d: |2-\n\n       a\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "a\r\n\r\nb", 4), "d: |-\n      a\n\n      b\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "a\nb\x01\xE9", 0), "d: !raw \"a\\nb\\x01\xC3\xA9\"\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "it's", 0), "d: it's\n");
    EXPECT_EQ(YamlTextWriter::Field("d", "'q'", 0), "d: '''q'''\n");
}

TEST(YamlRoundTrip, AwkwardTextsInEveryField)
{
    for (const Slot& slot : Slots()) {
        for (const std::string& text : kAwkward) {
            if (text.size() > slot.nMax)
                continue;
            RecordDoc doc = Frame();
            slot.put(doc, text);
            ExpectRoundTrip(doc, std::string(slot.what) + " = \"" + Visible(text) + "\"");
        }
    }
}

TEST(YamlRoundTrip, AwkwardNamesAndFileNames)
{
    for (const std::string& text : kAwkward) {
        if (text.size() > 10 || text == "." || text == ".." ||
            text.find_first_of("/\\\r\n\t\x01\x0B\x0C\x1B\x7F") != std::string::npos)
            continue;
        RecordDoc doc = Frame();
        doc.name = text;
        doc.file = text + ".x";
        ExpectRoundTrip(doc, "name = \"" + Visible(text) + "\"");
    }
}

TEST(YamlRoundTrip, LongestTextsAndEntryValues)
{
    std::string text;
    for (int i = 0; text.size() < 32768; ++i)
        text += (i % 7 == 0) ? "\r\n" : (i % 5 == 0 ? "  " : "word ");
    text.resize(32768);
    RecordDoc doc = Frame();
    doc.detail = text;
    doc.reservedText = std::string(32768, '\xE9');
    doc.examples = text;
    doc.examples[100] = '\n'; // the same text, written raw
    doc.reservedByte = 255;
    doc.category = UINT32_MAX;
    doc.file = "OTHER.DAT";
    doc.indexReserved = std::make_pair(0u, UINT32_MAX);
    ExpectRoundTrip(doc, "longest texts");

    doc.detail += "x";
    RecordDoc back;
    std::string error;
    EXPECT_FALSE(RecordYaml::Read(RecordYaml::Write(doc), &back, &error));
    EXPECT_EQ(error, "detail: 32769 bytes, at most 32768");
}

TEST(YamlRoundTrip, EmptyValuesAreLeftOut)
{
    RecordDoc doc;
    doc.name = "X";
    doc.parameters = {{"", "", "", ""}};
    doc.errors = {{"", ""}};
    EXPECT_EQ(RecordYaml::Write(doc), "name: X\nparameters:\n  - {}\nerrors:\n  - {}\n");
    ExpectRoundTrip(doc, "empty items");
    doc.parameters.clear();
    doc.errors.clear();
    EXPECT_EQ(RecordYaml::Write(doc), "name: X\n");
    ExpectRoundTrip(doc, "name only");
}

// Random records, from pieces that stress the writer's choices. A fixed seed
// keeps failures repeatable; the failing YAML is printed.
TEST(YamlRoundTrip, RandomRecords)
{
    static const std::vector<std::string> kClean = {
        "a",    "Z",    "0",    " ",   "  ",  "\t",  "\r\n", "\r\n\r\n", "#",  ":", ": ",
        " #",   "'",    "\"",   "-",   "- ",  "|",   ">",    "!",        "&",  "*", "?",
        "[",    "]",    "{",    "}",   ",",   "%",   "@",    "`",        "\\", "~", "null",
        "\xE9", "\xA0", "\xFF", "---", "...", "x y", "CPF",  "*LIBL"};
    static const std::vector<std::string> kRaw = {"\r",   "\n",   "\x01", "\x1F",   "\x7F",
                                                  "\x80", "\x85", "\x9F", "\r\r\n", "\n\r"};
    for (uint32_t seed : {1u, 20240611u, 777u}) {
        std::mt19937 rng(seed);
        auto pick = [&rng](size_t n) {
            return static_cast<size_t>(std::uniform_int_distribution<size_t>(0, n - 1)(rng));
        };
        auto text = [&](size_t nMax) {
            bool bRaw = pick(4) == 0;
            size_t nPieces = pick(4) == 0 ? 0 : pick(std::min<size_t>(nMax, 40) + 1);
            std::string s;
            for (size_t i = 0; i < nPieces; ++i)
                s += bRaw && pick(5) == 0 ? kRaw[pick(kRaw.size())] : kClean[pick(kClean.size())];
            s.resize(std::min(s.size(), nMax));
            return s;
        };
        for (int n = 0; n < 400; ++n) {
            RecordDoc doc;
            do {
                doc.name = text(10);
            } while (doc.name.empty() || doc.name == "." || doc.name == ".." ||
                     doc.name.find_first_of("/\\\r\n\t\x01\x1F\x7F") != std::string::npos);
            doc.description = text(255);
            doc.environment = text(255);
            doc.reservedByte = static_cast<uint8_t>(pick(3) == 0 ? pick(256) : 0);
            doc.detail = text(32768);
            doc.reservedText = pick(3) == 0 ? text(32768) : "";
            doc.examples = text(32768);
            for (size_t i = pick(4); i > 0; --i)
                doc.parameters.push_back({text(10), text(59), text(199), text(31)});
            for (size_t i = pick(3); i > 0; --i)
                doc.errors.push_back({text(8), text(148)});
            if (pick(2))
                doc.category = static_cast<uint32_t>(rng());
            if (pick(4) == 0)
                doc.file = doc.name + ".d";
            if (pick(4) == 0)
                doc.indexReserved = std::make_pair(static_cast<uint32_t>(rng()), 0u);
            ExpectRoundTrip(doc, "seed " + std::to_string(seed) + " record " + std::to_string(n));
            if (HasFatalFailure() || HasNonfatalFailure())
                return;
        }
    }
}

TEST(YamlRoundTrip, Categories)
{
    std::vector<CategoryDoc> cats = {{1, "Libraries", ""},
                                     {2, "Files: members", "file.htm"},
                                     {7, " Caf\xE9 ", "# x"},
                                     {UINT32_MAX, "a\r\nb", ""},
                                     {5, "raw\nline", "\x01"}};
    std::string yaml = CategoryYaml::Write(cats);
    std::vector<CategoryDoc> back;
    std::string error;
    ASSERT_TRUE(CategoryYaml::Read(yaml, &back, &error)) << error << "\n" << yaml;
    EXPECT_EQ(back, cats) << yaml;

    ASSERT_TRUE(CategoryYaml::Read(CategoryYaml::Write({}), &back, &error)) << error;
    EXPECT_TRUE(back.empty());
}
