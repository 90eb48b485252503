// The terminal's encoding, run as a user runs the tool: the reference's
// Latin-1 printed in it, text arguments taken from it, file names left alone.
#include "CliHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string kUtf8 = "C.UTF-8";

// A home whose category, title, detail and parameter hold accented letters,
// joined into clcmd.dat.
class CliEncoding : public testing::Test
{
protected:
    void SetUp() override
    {
        m_home.Import("[01] - Caf\xE9s\nCAFE - Caf\xE9 au lait\nCRTLIB - Create Library\n");
        RecordDoc doc;
        doc.name = "CAFE";
        doc.description = "Caf\xE9 au lait";
        doc.detail = "A na\xEFve record.";
        doc.parameters = {{"TEXT",
                           "Texte d\xE9"
                           "crit",
                           "Character value", "Optional"}};
        m_home.Save(doc);
        m_home.Build();
    }
    CliHome m_home;
};

} // namespace

TEST_F(CliEncoding, PrintsTheReferenceInTheTerminalsEncoding)
{
    CliResult r = m_home.Run({"show", "CAFE"}, kUtf8);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Description:  Caf\xC3\xA9 au lait\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  TEXT        Texte d\xC3\xA9"
                         "crit\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(m_home.Run({"categories"}, kUtf8).out, "1\tCaf\xC3\xA9s\t\n");

    // The C locale (LANG unset) prints the files' own bytes, as before.
    r = m_home.Run({"show", "CAFE"});
    EXPECT_NE(r.out.find("Description:  Caf\xE9 au lait\n"), std::string::npos) << r.out;
    EXPECT_EQ(m_home.Run({"categories"}, "POSIX").out, "1\tCaf\xE9s\t\n");
}

TEST_F(CliEncoding, TakesTextArgumentsInTheTerminalsEncoding)
{
    CliResult r = m_home.Run({"search", "na\xC3\xAFve"}, kUtf8);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CAFE\tCaf\xC3\xA9 au lait\tdetail\n");
    // Upper case folds through Latin-1.
    EXPECT_EQ(m_home.Run({"search", "NA\xC3\x8FVE"}, kUtf8).out, r.out);
    // In the C locale the bytes are the reference's: UTF-8 finds nothing there.
    EXPECT_EQ(m_home.Run({"search", "na\xC3\xAFve"}).status, 1);
    EXPECT_EQ(m_home.Run({"search", "na\xEFve"}).out, "CAFE\tCaf\xE9 au lait\tdetail\n");

    r = m_home.Run({"prompt", "cafe",
                    "text=Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                    "e"},
                   kUtf8);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CAFE TEXT('Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                     "e')\n");
    r = m_home.Run({"explain", "CAFE TEXT('\xC3\xA9t\xC3\xA9')"}, kUtf8);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "TEXT\t'\xC3\xA9t\xC3\xA9'\tTexte d\xC3\xA9"
                     "crit\n");

    // A name in a message is shown once converted, never twice.
    r = m_home.Run({"show", "CAF\xC3\x89"}, kUtf8);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentrivo-cli: CL command \"CAF\xC3\x89\" not found.\n");
}

TEST_F(CliEncoding, RefusesWhatLatin1CannotHoldAndWritesNothing)
{
    CliResult r = m_home.Run({"search", "5", "\xE2\x82\xAC"}, kUtf8);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "zentrivo-cli: search: the character '\xE2\x82\xAC' (U+20AC) cannot be "
                     "held in the reference's Latin-1 text.\n");

    r = m_home.Run({"prompt", "CAFE", "TEXT=\xF0\x9F\x98\x80"}, kUtf8);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("'\xF0\x9F\x98\x80' (U+1F600)"), std::string::npos) << r.err;

    // Bytes that are no UTF-8 (Latin-1 typed into a UTF-8 terminal).
    r = m_home.Run({"search", "na\xEFve"}, kUtf8);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "zentrivo-cli: search: \"na?ve\" is not UTF-8 text, the terminal's "
                     "encoding.\n");

    // Refused before anything is written: no pages, no folder, no index change.
    const Bytes index = ReadBytes(m_home.File("cldict.dat"));
    EXPECT_EQ(m_home.Run({"html", "--out", m_home.File("site"), "CAF\xE2\x82\xAC"}, kUtf8).status,
              2);
    EXPECT_EQ(
        m_home
            .Run({"html", "--out", m_home.File("site"), "--ad-client", "\xE2\x82\xAC", "CAFE"},
                 kUtf8)
            .status,
        2);
    EXPECT_FALSE(FileExists(m_home.File("site")));
    WriteText(m_home.File("cmd.xml"), "<QcdCLCmd><Cmd CmdName=\"NEW\"/></QcdCLCmd>");
    r = m_home.Run({"import-cmd", "--category", "1\xE2\x82\xAC", m_home.File("cmd.xml")}, kUtf8);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(ReadBytes(m_home.File("cldict.dat")), index);
}

TEST_F(CliEncoding, FileNamesStayAsGiven)
{
    // A folder name no Latin-1 can hold is a file name, not text.
    const std::string folder = m_home.File("d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC");
    CliResult r = m_home.Run({"export", folder}, kUtf8);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(FileExists(folder + "/CAFE.yaml"));
    EXPECT_EQ(m_home.Run({"load", folder}, kUtf8).status, 0);
    r = m_home.Run({"html", "--out", folder + "/site", "CAFE"}, kUtf8);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(FileExists(folder + "/site/CAFE.htm"));

    // A message quotes the file name as given, beside converted text.
    r = m_home.Run({"import", folder + "/none.txt"}, kUtf8);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentrivo-cli: The import file \"" + folder + "/none.txt\" cannot be read.\n");
}

// A CL member is in an encoding of its own: format prints its bytes, lint
// quotes them, and lint's JSON is UTF-8, none converted a second time.
TEST_F(CliEncoding, MembersKeepTheirOwnBytes)
{
    RecordDoc doc;
    doc.name = "CRTLIB";
    doc.description = "Create Library";
    doc.parameters = {{"LIB", "Library", "Name", "Required, Positional 1"},
                      {"TEXT", "Text 'description'", "Character value", "Optional"}};
    m_home.Save(doc);
    m_home.Build();
    const std::string member = m_home.File("caf\xC3\xA9.clle");
    WriteText(member, "CRTLIB LIB(\xC3\x89T\xC3\x89) TEXT('Caf\xC3\xA9')\n");

    CliResult r = m_home.Run({"format", member}, kUtf8);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("TEXT('Caf\xC3\xA9')"), std::string::npos) << r.out;
    r = m_home.Run({"lint", member}, kUtf8);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind(member + ":1:", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\xC3\x89T\xC3\x89"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\xC3\x83"), std::string::npos) << r.out; // converted twice
    r = m_home.Run({"lint", "--format", "json", member}, kUtf8);
    EXPECT_NE(r.out.find("\xC3\x89T\xC3\x89"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\xC3\x83"), std::string::npos) << r.out;
}
