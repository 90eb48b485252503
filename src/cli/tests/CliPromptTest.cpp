// prompt and explain over a command's parameters.
#include "CliHome.h"

#include <gtest/gtest.h>

namespace {

void Sample(const CliHome& home)
{
    home.Import();
    RecordDoc doc;
    doc.name = "CRTLIB";
    doc.description = "Create Library";
    doc.parameters = {{"LIB", "Library", "Name", "Required, Positional 1"},
                      {"TYPE", "Library type", "*PROD, *TEST", "Optional, Positional 2"},
                      {"TEXT", "Text 'description'", "Character value, *BLANK", "Optional"}};
    home.Save(doc);
}

} // namespace

TEST(CliPrompt, BuildsTheCommandAndReportsProblems)
{
    CliHome home;
    Sample(home);
    CliResult r = home.Run(
        {"--run-mode", "1", "prompt", "crtlib", "text=Payroll, 2026", "lib=payroll", "type=*test"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CRTLIB LIB(PAYROLL) TYPE(*TEST) TEXT('Payroll, 2026')\n");

    r = home.Run({"--run-mode", "1", "prompt", "CRTLIB", "TYPE=*OTHER", "ASP=1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "CRTLIB TYPE(*OTHER) ASP(1)\n"); // kept, not dropped silently
    EXPECT_EQ(LinesOf(r.err), (std::vector<std::string>{"ASP: CRTLIB has no such parameter.",
                                                        "TYPE: *OTHER is not one of *PROD, *TEST.",
                                                        "LIB: a value is required."}));
    // A text longer than IBM's 50 characters is built, in source lines, and reported.
    r = home.Run({"--run-mode", "1", "prompt", "--source", "CRTLIB", "LIB=A",
                  "TEXT=" + std::string(100, 'x')});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(LinesOf(r.out).size(), 3u);
    EXPECT_EQ(r.err, "TEXT: the text is 100 characters long; at most 50 are allowed.\n");

    EXPECT_EQ(home.Run({"--run-mode", "1", "prompt", "CRTLIB", "LIB"}).status, 2);
    EXPECT_EQ(home.Run({"--run-mode", "1", "prompt", "NOSUCH", "LIB=A"}).status, 1);
    // A path keeps its case and blanks in one quoted value.
    RecordDoc dspf;
    dspf.name = "DSPFD";
    dspf.description = "Display File Description";
    dspf.parameters = {{"STMF", "Stream file", "Path name", "Optional, Positional 1"}};
    home.Save(dspf);
    r = home.Run({"--run-mode", "1", "prompt", "DSPFD", "stmf=/home/Me/a b.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "DSPFD STMF('/home/Me/a b.txt')\n");

    r = home.Run({"--run-mode", "1", "prompt", "DLTLIB", "LIB=A"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no parameters of DLTLIB"), std::string::npos);
}

TEST(CliExplain, OneLinePerParameterThenTheProblems)
{
    CliHome home;
    Sample(home);
    CliResult r = home.Run({"--run-mode", "1", "explain", "crtlib mylib +\n  *test text('It''s')"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LinesOf(r.out), (std::vector<std::string>{"LIB\tMYLIB\tLibrary\t(positional 1)",
                                                        "TYPE\t*TEST\tLibrary type\t(positional 2)",
                                                        "TEXT\t'It''s'\tText 'description'"}));
    // The words of an unquoted string are one command, too.
    EXPECT_EQ(home.Run({"--run-mode", "1", "explain", "CRTLIB", "LIB(A)"}).status, 0);

    r = home.Run({"--run-mode", "1", "explain", "CRTLIB A B C FOO(1)"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(LinesOf(r.out)[2], "?\tC\t(no such parameter)\t(positional 3)");
    EXPECT_EQ(LinesOf(r.err).size(), 3u) << r.err;
    EXPECT_NE(r.err.find("C: CRTLIB takes only 2 values without a keyword."), std::string::npos);
    EXPECT_NE(r.err.find("FOO: CRTLIB has no such parameter."), std::string::npos);
    EXPECT_NE(r.err.find("TYPE: B is not one of *PROD, *TEST."), std::string::npos);

    r = home.Run({"--run-mode", "1", "explain",
                  "CRTLIB LIB(*LIBL) TEXT('Too long: " + std::string(50, 'x') + "')"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(LinesOf(r.err),
              (std::vector<std::string>{
                  "LIB: *LIBL is not allowed: LIB takes no special values here.",
                  "TEXT: the text is 60 characters long; at most 50 are allowed."}));
    EXPECT_EQ(home.Run({"--run-mode", "1", "explain", "CRTLIB ABCDEFGHIJKLM"}).status, 1);

    EXPECT_EQ(home.Run({"--run-mode", "1", "explain", "CRTLIB LIB('A)"}).status, 2);
    EXPECT_EQ(home.Run({"--run-mode", "1", "explain", ""}).status, 2);
    EXPECT_EQ(home.Run({"--run-mode", "1", "explain", "NOSUCH X"}).status, 1);
}

// A record that lists only some parameters: a keyword it lacks is a note, and
// explain still exits 0.
TEST(CliExplain, AKeywordAPartialRecordLacksIsANote)
{
    CliHome home;
    home.Import();
    RecordDoc doc;
    doc.name = "CRTLIB";
    doc.description = "Create Library";
    doc.partial = true;
    doc.parameters = {{"LIB", "Library", "Name", "Required, Positional 1"}};
    home.Save(doc);
    CliResult r = home.Run({"--run-mode", "1", "explain", "CRTLIB LIB(A) ASPDEV(MYASP)"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LinesOf(r.out)[1], "ASPDEV\tMYASP\t(not listed in this reference)");
    EXPECT_EQ(r.err, "note: ASPDEV: this keyword is not listed in this reference, which holds "
                     "only some of CRTLIB's parameters.\n");
    EXPECT_EQ(home.Run({"--run-mode", "1", "explain", "CRTLIB LIB(*LIBL) ASPDEV(X)"}).status, 1);
}
