// Reading CL source members: statements, labels, comments, continuations,
// quoted strings, positions, and members that are broken or huge.
#include "CLProgram.h"
#include "CLSource.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Texts(const CLSource& src)
{
    std::vector<std::string> out;
    for (const CLSrcStatement& s : src.statements)
        out.push_back(s.text);
    return out;
}

} // namespace

TEST(Source, StatementsEndAtLineEndsOutsideCommentsAndContinuations)
{
    const CLSource src = CLSource::Read("             PGM        PARM(&A)\r\n"
                                        "/* a comment\r\n"
                                        "   over two lines */\r\n"
                                        "             DCL        VAR(&A) +\r\n"
                                        "                          TYPE(*CHAR) LEN(10)\r\n"
                                        "\r\n"
                                        "             SNDPGMMSG  MSG('Hello, -\r\n"
                                        "  world') /* trailing */\r\n"
                                        "             ENDPGM\r\n");
    EXPECT_TRUE(src.bCrLf);
    EXPECT_TRUE(src.problems.empty());
    EXPECT_EQ(Texts(src), (std::vector<std::string>{"PGM        PARM(&A)",
                                                    "DCL        VAR(&A) TYPE(*CHAR) LEN(10)",
                                                    "SNDPGMMSG  MSG('Hello,   world')", "ENDPGM"}));
    ASSERT_EQ(src.comments.size(), 2u);
    EXPECT_EQ(src.comments[0].begin, (CLSrcPos{1, 0}));
    EXPECT_EQ(src.comments[0].end, (CLSrcPos{2, 20}));
    // Positions: where each character stood.
    const CLSrcStatement& dcl = src.statements[1];
    EXPECT_EQ(dcl.begin, (CLSrcPos{3, 13}));
    EXPECT_EQ(dcl.Pos(dcl.text.find("TYPE")), (CLSrcPos{4, 26}));
    EXPECT_EQ(dcl.lastLine, 4);
    EXPECT_FALSE(dcl.bInnerComment);
    EXPECT_FALSE(src.statements[2].bInnerComment); // the comment trails it
    EXPECT_EQ(src.statements[2].end, (CLSrcPos{7, 9}));
    EXPECT_EQ(src.statements[3].CommandName(), "ENDPGM");
}

TEST(Source, LabelsStandBeforeACommandOrAloneAndStack)
{
    const CLSource src = CLSource::Read("DO_1:\n"
                                        "do_2:dowhile &lgl\n"
                                        " loop :  chgvar &x (&x + 1)\n"
                                        "END:\n");
    ASSERT_EQ(src.statements.size(), 3u);
    const CLSrcStatement& dw = src.statements[0];
    ASSERT_EQ(dw.labels.size(), 2u);
    EXPECT_EQ(dw.labels[0].name, "DO_1");
    EXPECT_EQ(dw.labels[1].name, "DO_2");
    EXPECT_EQ(dw.labels[1].pos, (CLSrcPos{1, 0}));
    EXPECT_EQ(dw.begin, (CLSrcPos{0, 0}));
    EXPECT_EQ(dw.text, "dowhile &lgl");
    EXPECT_EQ(dw.CommandName(), "DOWHILE");
    EXPECT_EQ(src.statements[1].labels[0].name, "LOOP");
    EXPECT_EQ(src.statements[1].text, "chgvar &x (&x + 1)");
    // Labels at the end belong to no command.
    EXPECT_EQ(src.statements[2].text, "");
    EXPECT_EQ(src.statements[2].labels[0].name, "END");
    // A colon later in the text is no label; a qualified command name is read whole.
    const CLSource q = CLSource::Read("QSYS/CHGVAR VAR(&A) VALUE('A:B')");
    EXPECT_TRUE(q.statements[0].labels.empty());
    EXPECT_EQ(q.statements[0].CommandName(), "CHGVAR");
}

TEST(Source, CommentsAndQuotesHideEachOther)
{
    const CLSource src = CLSource::Read("CHGVAR /* a 'quote' */ &A '/* not a comment */' +\n"
                                        "   /* a comment ' inside */ +\n"
                                        "   &B\n");
    ASSERT_EQ(src.statements.size(), 1u);
    EXPECT_EQ(src.statements[0].text, "CHGVAR   &A '/* not a comment */'   &B");
    EXPECT_TRUE(src.statements[0].bInnerComment);
    EXPECT_EQ(src.comments.size(), 2u);
    // Doubled apostrophes stay inside the string.
    const CLSource d = CLSource::Read("SNDMSG MSG('It''s /* here */') TOUSR(QSYSOPR)");
    EXPECT_TRUE(d.comments.empty());
    EXPECT_EQ(d.statements[0].text, "SNDMSG MSG('It''s /* here */') TOUSR(QSYSOPR)");
    // A quoted string continued with "+" drops the next line's leading blanks.
    const CLSource c = CLSource::Read("SNDMSG MSG('one +\n        two')\n");
    EXPECT_EQ(c.statements[0].text, "SNDMSG MSG('one two')");
}

TEST(Source, BrokenMembersAreReadWithTheirProblems)
{
    // Each ends the member in the middle of something; none is a crash or a hang.
    const struct
    {
        const char* text;
        const char* problem;
        size_t statements;
    } cases[] = {
        {"PGM\n/* never closed\nENDPGM\n", "A comment is not closed.", 1},
        {"PGM\nSNDMSG MSG('open\nENDPGM", "A quoted string is not closed on its line.", 3},
        {"PGM\nCHGVAR &A +", "The last statement is continued past the end of the member.", 2},
        {"PGM\nCHGVAR &A -\n", "The last statement is continued past the end of the member.", 2},
    };
    for (const auto& c : cases) {
        const CLSource src = CLSource::Read(c.text);
        ASSERT_EQ(src.problems.size(), 1u) << c.text;
        EXPECT_EQ(src.problems[0].message, c.problem);
        EXPECT_EQ(src.statements.size(), c.statements) << c.text;
    }
    EXPECT_TRUE(CLSource::Read("").statements.empty());
    EXPECT_TRUE(CLSource::Read("\n\n   \n").statements.empty());
}

TEST(Source, AHugeMemberIsReadLineByLine)
{
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "  CHGVAR VAR(&X) VALUE(&X + 1) /* step */\n";
    text += std::string(1 << 20, '(') + "\n"; // a line of a megabyte
    const CLSource src = CLSource::Read(text);
    EXPECT_EQ(src.statements.size(), 50001u);
    const CLProgram prog = CLProgram::Build(src);
    EXPECT_EQ(prog.commands.size(), 50001u);
    EXPECT_FALSE(prog.commands.back().bParsed);
}

TEST(Source, TheProgramKnowsItsDeclarationsUsesLabelsAndSubroutines)
{
    const CLSource src = CLSource::Read("PGM PARM(&IN)\n"
                                        "DCL &IN *CHAR 10\n"
                                        "DCL VAR(&OUT) TYPE(*CHAR) LEN(10)\n"
                                        "LOOP: IF (&IN *EQ 'A&B') THEN(CALLSUBR SUB1)\n"
                                        "ELSE CMD(DO)\n"
                                        "ENDDO\n"
                                        "SUBR SUBR(SUB1)\n"
                                        "CHGVAR &OUT %SST(&IN 1 2)\n"
                                        "ENDSUBR\n"
                                        "ENDPGM\n");
    const CLProgram prog = CLProgram::Build(src);
    ASSERT_EQ(prog.declared.size(), 2u);
    EXPECT_EQ(prog.declared[0].name, "&IN");
    EXPECT_EQ(prog.declared[0].begin, (CLSrcPos{1, 4}));
    EXPECT_EQ(prog.declared[0].end, (CLSrcPos{1, 7}));
    std::vector<std::string> uses;
    for (const CLSrcSymbol& u : prog.uses)
        uses.push_back(u.name + "@" + std::to_string(u.begin.line));
    EXPECT_EQ(uses, (std::vector<std::string>{"&IN@0", "&IN@3", "&OUT@7", "&IN@7"}));
    ASSERT_EQ(prog.labels.size(), 1u);
    EXPECT_EQ(prog.labels[0].name, "LOOP");
    ASSERT_NE(prog.FindSubroutine("SUB1"), nullptr);
    EXPECT_EQ(prog.FindSubroutine("SUB1")->begin, (CLSrcPos{6, 10}));
    EXPECT_EQ(prog.commands[3].inner.name, "CALLSUBR");
    EXPECT_EQ(prog.commands[4].inner.name, "DO");
    EXPECT_FALSE(prog.bFileVariables);
}
