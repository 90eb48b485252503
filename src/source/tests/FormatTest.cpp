// Laying out CL source: the prompter's columns, long lines broken where
// nothing is lost, what is kept as it stands, and formatting that never
// changes meaning and is stable when repeated.
#include "CLSourceFormat.h"

#include <gtest/gtest.h>

namespace {

std::string Format(const std::string& text, CLFormatOptions options = {})
{
    std::string out, why;
    EXPECT_TRUE(CLSourceFormat::Format(text, options, &out, &why)) << why;
    return out;
}

} // namespace

TEST(Format, TheColumnsOfThePrompter)
{
    EXPECT_EQ(Format("pgm parm(&a)\n"
                     "  dcl &a *char 10\n"
                     "loop: chgvar var(&a) value('keep Case')   /* why */\n"
                     "\n"
                     "/* a comment line stays */\n"
                     "A:\nB: endpgm\n"),
              "             PGM        PARM(&A)\n"
              "             DCL        &A *CHAR 10\n"
              " LOOP:       CHGVAR     VAR(&A) VALUE('keep Case') /* why */\n"
              "\n"
              "/* a comment line stays */\n"
              " A:\n"
              " B:          ENDPGM\n");
    CLFormatOptions keep;
    keep.bKeepCase = true;
    EXPECT_EQ(Format("chgvar &a 1", keep), "             chgvar     &a 1");
}

TEST(Format, LongStatementsAreContinuedWithinTheMargin)
{
    const std::string in =
        "SNDPGMMSG MSGID(CPF9898) MSGF(QCPFMSG) MSGDTA('The library ' *CAT &LIB *TCAT ' "
        "could not be created because it already exists on this system') MSGTYPE(*ESCAPE)\n";
    const std::string out = Format(in);
    EXPECT_EQ(out,
              "             SNDPGMMSG  MSGID(CPF9898) MSGF(QCPFMSG) +\n"
              "                          MSGDTA('The library ' *CAT &LIB *TCAT ' could not be +\n"
              "                          created because it already exists on this system') +\n"
              "                          MSGTYPE(*ESCAPE)\n");
    for (size_t b = 0, e; (e = out.find('\n', b)) != std::string::npos; b = e + 1)
        EXPECT_LE(e - b, 80u);
    // A narrower margin, and a string too long for any line: broken inside it.
    CLFormatOptions narrow;
    narrow.nRightMargin = 40;
    EXPECT_EQ(Format("CHGVAR &A ('x' *CAT 'ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ')", narrow),
              "             CHGVAR     &A +\n"
              "                          ('x' *CAT +\n"
              "                          'ABCDEFGHIJKL+\n"
              "                          MNOPQRSTUVWXY+\n"
              "                          ZABCDEFGHIJ')");
}

TEST(Format, StatementsWithCommentsInsideStayAsTheyAre)
{
    const std::string in = "PGM\n  CHGVAR /* inside */ &A 1\n  CHGVAR &A +\n/* between */ +\n 2\n"
                           "/* before */ CHGVAR &A 3\nLBL:\n\n  CHGVAR &A 4\nENDPGM\n";
    EXPECT_EQ(Format(in), "             PGM\n  CHGVAR /* inside */ &A 1\n  CHGVAR &A +\n"
                          "/* between */ +\n 2\n/* before */ CHGVAR &A 3\nLBL:\n\n  CHGVAR &A 4\n"
                          "             ENDPGM\n");
}

TEST(Format, NeverChangesMeaningAndIsStable)
{
    const char* members[] = {
        "PGM\nDCL VAR(&MSG) TYPE(*CHAR) LEN(200) VALUE('two  blanks   and '' quotes')\n"
        "SNDPGMMSG MSG('A long message text that will have to be broken somewhere along the "
        "way    with blanks  kept') TOPGMQ(*EXT)\nENDPGM",
        "DO_1:\nDO_2:   DOWHILE (&A *LT 10)\nCHGVAR &A (&A + 1)\nENDDO\r\n",
        "CHGVAR &X 'one -\n    two'\nCHGVAR &Y X'C1C2'\n",
        "",
        "\n\n",
    };
    for (const char* m : members) {
        const std::string once = Format(m);
        EXPECT_EQ(Format(once), once) << m;
        const CLSource a = CLSource::Read(m), b = CLSource::Read(once);
        ASSERT_EQ(a.statements.size(), b.statements.size()) << m;
        for (size_t i = 0; i < a.statements.size(); ++i)
            EXPECT_TRUE(CLSourceFormat::SameMeaning(a.statements[i].text, b.statements[i].text))
                << a.statements[i].text << " / " << b.statements[i].text;
    }
    // Blanks inside quotes and case inside quotes matter; outside, neither does.
    EXPECT_TRUE(CLSourceFormat::SameMeaning("chgvar  &a  'x'", "CHGVAR &A 'x'"));
    EXPECT_FALSE(CLSourceFormat::SameMeaning("CHGVAR &A 'x '", "CHGVAR &A 'x'"));
    EXPECT_FALSE(CLSourceFormat::SameMeaning("CHGVAR &A 'x'", "CHGVAR &A 'X'"));
}

TEST(Format, AMemberThatCannotBeReadIsRefused)
{
    std::string out, why;
    EXPECT_FALSE(CLSourceFormat::Format("PGM\n/* open\n", {}, &out, &why));
    EXPECT_EQ(why, "line 2: A comment is not closed.");
    EXPECT_TRUE(out.empty());
}
