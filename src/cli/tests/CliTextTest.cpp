// CliText: the conversions between the reference's Latin-1 and the
// terminal's encoding, for each kind of locale.
#include "CliText.h"

#include "TestHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string AllLatin1()
{
    std::string s;
    for (int c = 1; c < 256; ++c)
        s += static_cast<char>(c);
    return s;
}

} // namespace

TEST(CliText, TellsTheEncodingFromTheLocale)
{
    EXPECT_EQ(CliText("C").GetKind(), CliText::Kind::Bytes);
    EXPECT_EQ(CliText("POSIX").GetKind(), CliText::Kind::Bytes);
    EXPECT_EQ(CliText("C.UTF-8").GetKind(), CliText::Kind::Utf8);
    EXPECT_EQ(CliText("C.UTF-8").Encoding(), "UTF-8");
    // A locale that is not installed: its name decides.
    EXPECT_EQ(CliText("xx_YY.utf8").GetKind(), CliText::Kind::Utf8);
    EXPECT_EQ(CliText("xx_YY").GetKind(), CliText::Kind::Bytes);
}

TEST(CliText, Utf8RoundTripsEveryLatin1Character)
{
    const CliText text("C.UTF-8");
    const std::string all = AllLatin1();
    const std::string out = text.Out(all);
    EXPECT_EQ(out.size(), 127u + 2 * 128u);
    EXPECT_EQ(text.Out("Caf\xE9"), "Caf\xC3\xA9");
    std::string back, why;
    ASSERT_TRUE(text.In(out, &back, &why)) << why;
    EXPECT_EQ(back, all);

    // The C locale hands every byte on as it is, both ways.
    const CliText bytes("C");
    EXPECT_EQ(bytes.Out(all), all);
    EXPECT_EQ(bytes.Message(all), all);
    ASSERT_TRUE(bytes.In("\xE2\x82\xAC", &back, &why));
    EXPECT_EQ(back, "\xE2\x82\xAC");
}

TEST(CliText, RefusesWhatLatin1CannotHoldAndWhatIsNoUtf8)
{
    const CliText text("C.UTF-8");
    std::string out = "unchanged", why;
    EXPECT_FALSE(text.In("5 \xE2\x82\xAC", &out, &why));
    EXPECT_EQ(why, "the character '\xE2\x82\xAC' (U+20AC) cannot be held in the reference's "
                   "Latin-1 text.");
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(text.In("\xF0\x9F\x98\x80", &out, &why));
    EXPECT_NE(why.find("(U+1F600)"), std::string::npos) << why;
    // An over-long '/', a surrogate, a stray continuation byte, a cut sequence.
    for (const char* bad : {"a\xC0\xAF", "\xED\xA0\x80", "\x80", "x\xC3"}) {
        EXPECT_FALSE(text.In(bad, &out, &why)) << bad;
        EXPECT_NE(why.find("is not UTF-8 text"), std::string::npos) << why;
    }
}

TEST(CliText, MessagesKeepFileNamesAndConvertTheRest)
{
    const CliText text("C.UTF-8");
    // A path in UTF-8 beside a Latin-1 name: the path stays, the name converts.
    EXPECT_EQ(text.Message("\"/tmp/d\xC3\xA9j\xC3\xA0/\xE2\x82\xAC\": CR\xC9"
                           "ER, na\xEFve\n"),
              "\"/tmp/d\xC3\xA9j\xC3\xA0/\xE2\x82\xAC\": CR\xC3\x89"
              "ER, na\xC3\xAFve\n");
    // A lone lead byte at the end is a Latin-1 letter.
    EXPECT_EQ(text.Message("\xC3"), "\xC3\x83");
}

TEST(CliText, OtherEncodingsGoThroughTheCLibrary)
{
    // An ISO-8859-15 locale, compiled for the test where the tools are there.
    namespace fs = std::filesystem;
    TestHome home;
    const std::string dir = home.File("locale");
    fs::create_directories(dir);
    const std::string cmd =
        "localedef -i en_US -f ISO-8859-15 '" + dir + "/en_US.ISO-8859-15' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 || !fs::exists(dir + "/en_US.ISO-8859-15"))
        GTEST_SKIP() << "localedef or the locale sources are missing";
    const char* old = std::getenv("LOCPATH");
    const std::string saved = old ? old : "";
    setenv("LOCPATH", dir.c_str(), 1);
    const CliText text("en_US.ISO-8859-15");
    if (old)
        setenv("LOCPATH", saved.c_str(), 1);
    else
        unsetenv("LOCPATH");
    ASSERT_EQ(text.GetKind(), CliText::Kind::Other);

    // The euro sign is the byte A4 there, where Latin-1 has the currency sign.
    std::string out, why;
    EXPECT_FALSE(text.In("5 \xA4", &out, &why));
    EXPECT_EQ(why, "the character '\xA4' (U+20AC) cannot be held in the reference's Latin-1 "
                   "text.");
    ASSERT_TRUE(text.In("Caf\xE9", &out, &why)) << why;
    EXPECT_EQ(out, "Caf\xE9");
    EXPECT_EQ(text.Out("Caf\xE9 \xA4"), "Caf\xE9 ?");
}
