// The prompter's core: reading command strings as CL does, building them
// from typed values, and the checks against a record's parameters.
#include "CLCommandString.h"
#include "CLPrompt.h"
#include "RecordMaker.h"

#include <gtest/gtest.h>

namespace {

CLCmdParam Param(const std::string& kw, const std::string& desc, const std::string& choices,
                 const std::string& note)
{
    CLCmdParam p{};
    CopyField(p.szKeyword, kw);
    CopyField(p.szDesc, desc);
    CopyField(p.szChoices, choices);
    CopyField(p.szNote, note);
    return p;
}

const std::vector<CLCmdParam>& Params()
{
    static const std::vector<CLCmdParam> params = {
        Param("LIB", "Library", "Name", "Required, Positional 1"),
        Param("TYPE", "Library type", "*PROD (default), *TEST", "Optional, Positional 2"),
        Param("ASP", "ASP number", "1-32, *SYSTEM", "Optional"),
        Param("TEXT", "Text 'description'", "Character value, *BLANK", "Optional"),
        Param("CRTAUT", "Create authority", "Name, *SYSVAL, *CHANGE, *ALL", "Optional"),
        Param("SIZE", "Size", "Number, 1-9999", "Optional"),
        Param("CMD", "Command to run", "Command string", "Optional"),
    };
    return params;
}

CLPrompt Prompt()
{
    return CLPrompt("CRTLIB", Params().data(), Params().size());
}

CLParsedCommand Parse(const std::string& text)
{
    CLParsedCommand c;
    std::string why;
    EXPECT_TRUE(CLCommandString::Parse(text, &c, &why)) << text << ": " << why;
    return c;
}

std::string Refusal(const std::string& text)
{
    CLParsedCommand c;
    std::string why;
    EXPECT_FALSE(CLCommandString::Parse(text, &c, &why)) << text.substr(0, 40);
    return why;
}

std::vector<std::string> Values(const CLParsedCommand& c)
{
    std::vector<std::string> out;
    for (const CLParsedParam& p : c.params)
        out.push_back((p.keyword.empty() ? "#" + std::to_string(p.position) : p.keyword) + "=" +
                      p.ValueText());
    return out;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(CommandString, ReadsPositionalKeywordListsQualifiedAndQuoted)
{
    CLParsedCommand c = Parse("  loop: qsys/crtlib mylib *test text('It''s Mine')  "
                              "cmd(call pgm(lib/x) parm('a' b)) size( 10 )");
    EXPECT_EQ(c.label, "LOOP");
    EXPECT_EQ(c.library, "QSYS");
    EXPECT_EQ(c.name, "CRTLIB");
    EXPECT_EQ(Values(c), (Strings{"#1=MYLIB", "#2=*TEST", "TEXT='It''s Mine'",
                                  "CMD=CALL PGM(LIB/X) PARM('a' B)", "SIZE=10"}));
    EXPECT_EQ(c.params[2].elements[0].kind, CLValue::Quoted);
    EXPECT_EQ(c.params[2].elements[0].text, "It's Mine"); // doubled apostrophes made single
    EXPECT_TRUE(c.problems.empty());

    // A list value: elements and nested lists; X'..' is one word.
    c = Parse("SNDRCVF DEV(*FILE) RCDFMT((A B) (C *D)) X(x'f1' &Var)");
    EXPECT_EQ(Values(c), (Strings{"DEV=*FILE", "RCDFMT=(A B) (C *D)", "X=X'F1' &VAR"}));
    ASSERT_EQ(c.params[1].elements.size(), 2u);
    EXPECT_EQ(c.params[1].elements[1].items[1].text, "*D");

    // A positional value after a keyword is a problem, not a syntax error.
    c = Parse("CRTLIB LIB(A) *TEST");
    EXPECT_EQ(c.problems, Strings{"*TEST: a positional value cannot follow a keyword."});
}

TEST(CommandString, ContinuationLines)
{
    // "+" goes on at the next line's first non-blank character, "-" with the
    // next line as it is; a plain line end is a blank.
    CLParsedCommand c = Parse("CRTLIB LIB(MYLIB) +\r\n       TEXT('Two +\n       words') -\n"
                              "TYPE(*TEST)\nASP(1)");
    EXPECT_EQ(Values(c), (Strings{"LIB=MYLIB", "TEXT='Two words'", "TYPE=*TEST", "ASP=1"}));
    c = Parse("CRTLIB TEXT('a-\n  b')");
    EXPECT_EQ(c.params[0].elements[0].text, "a  b");
}

TEST(CommandString, RefusesBrokenInputWithoutCrashing)
{
    EXPECT_EQ(Refusal(""), "No command is given.");
    EXPECT_EQ(Refusal("   \n  "), "No command is given.");
    EXPECT_EQ(Refusal("CRTLIB LIB(A"), "A parenthesis is not closed.");
    EXPECT_EQ(Refusal("CRTLIB LIB(A))"), "A closing parenthesis has no opening one.");
    EXPECT_EQ(Refusal("CRTLIB TEXT('abc)"), "A quoted string is not closed.");
    EXPECT_EQ(Refusal("CRTLIB TEXT('it''s)"), "A quoted string is not closed.");
    EXPECT_EQ(Refusal("'CRTLIB'"), "The command does not begin with a command name.");
    EXPECT_EQ(Refusal("../../X"), "\"../../X\" is not a command name.");
    EXPECT_EQ(Refusal("CRTLIB" + std::string(10000, '(') + std::string(10000, ')')),
              "Parentheses are nested too deeply.");
    EXPECT_EQ(Refusal("CRTLIB " + std::string(10000, '(')), "Parentheses are nested too deeply.");
    EXPECT_EQ(Refusal(std::string(CLCommandString::kMaxLength + 1, 'A')),
              "The command is too long.");
    // The deepest nesting allowed is read, and written back the same.
    const int n = CLCommandString::kMaxDepth;
    EXPECT_EQ(Parse("X A" + std::string(n, '(') + "B" + std::string(n, ')')).params[0].ValueText(),
              std::string(n - 1, '(') + "B" + std::string(n - 1, ')'));
    EXPECT_EQ(Refusal("X A" + std::string(n + 1, '(') + "B" + std::string(n + 1, ')')),
              "Parentheses are nested too deeply.");
}

TEST(CommandString, TypedValuesAreQuotedWhenCLNeedsIt)
{
    using CLCommandString::ValueText;
    // Free text: quoted for blanks, lower case, apostrophes and odd characters.
    EXPECT_EQ(ValueText("Payroll data", true), "'Payroll data'");
    EXPECT_EQ(ValueText("It's", true), "'It''s'");
    EXPECT_EQ(ValueText("lower", true), "'lower'");
    EXPECT_EQ(ValueText("A:B", true), "'A:B'");
    EXPECT_EQ(ValueText("*BLANK", true), "*BLANK");
    EXPECT_EQ(ValueText("&TEXT", true), "&TEXT");
    EXPECT_EQ(ValueText("'Already quoted'", true), "'Already quoted'");
    EXPECT_EQ(ValueText("%sst(&a 1 2)", true), "%SST(&A 1 2)");
    EXPECT_EQ(ValueText("   ", true), "");
    // Names and special values: upper-cased, lists kept, odd elements quoted.
    EXPECT_EQ(ValueText("mylib", false), "MYLIB");
    EXPECT_EQ(ValueText("*libl/myfile", false), "*LIBL/MYFILE");
    EXPECT_EQ(ValueText("a b  c", false), "A B C");
    EXPECT_EQ(ValueText("call pgm(x) parm('Hi')", false), "CALL PGM(X) PARM('Hi')");
    EXPECT_EQ(ValueText("-12.5", false), "-12.5");
    EXPECT_EQ(ValueText("12.5", false), "12.5"); // a decimal point needs no quotes
    EXPECT_EQ(ValueText("a:b c", false), "'a:b' C");
    EXPECT_EQ(ValueText("(a b", false), "'(a' B");
    EXPECT_EQ(ValueText("x'y", false), "'x''y'");
}

TEST(CommandString, SourceLinesFitEightyColumnsAndReadBack)
{
    const std::string cmd = "SBMJOB CMD(CALL PGM(MYLIB/NIGHTLY) PARM('First parameter' "
                            "'Second parameter' 'Third')) JOB(NIGHTLY) JOBD(MYLIB/BATCH) "
                            "JOBQ(QBATCH) TEXT('" +
                            std::string(120, 'x') + " end')";
    const std::string src = CLCommandString::FormatSource(cmd);
    size_t lines = 0;
    for (size_t b = 0; b <= src.size();) {
        size_t e = src.find('\n', b);
        std::string line = src.substr(b, e == std::string::npos ? std::string::npos : e - b);
        EXPECT_LE(line.size(), 80u) << line;
        ++lines;
        if (e == std::string::npos)
            break;
        b = e + 1;
    }
    EXPECT_GT(lines, 3u);
    EXPECT_EQ(Values(Parse(src)), Values(Parse(cmd)));
    EXPECT_EQ(CLCommandString::FormatSource("CRTLIB LIB(A)"), "CRTLIB LIB(A)");
}

TEST(Prompt, TheParametersTextsSayWhatTheyTake)
{
    CLPrompt prompt = Prompt();
    const CLPromptParam* lib = prompt.Find("lib");
    ASSERT_NE(lib, nullptr);
    EXPECT_TRUE(lib->bRequired);
    EXPECT_EQ(lib->nPositional, 1);
    const CLPromptParam* type = prompt.Find("TYPE");
    EXPECT_TRUE(type->bClosed);
    EXPECT_EQ(type->specials, (Strings{"*PROD", "*TEST"}));
    EXPECT_TRUE(prompt.Find("ASP")->bNumbersOnly);
    EXPECT_FALSE(prompt.Find("CRTAUT")->bClosed);
    EXPECT_TRUE(prompt.Find("TEXT")->bText);
    EXPECT_FALSE(prompt.Find("CMD")->bText);
    EXPECT_EQ(prompt.Find("SIZE")->ranges.size(), 1u);
}

TEST(Prompt, BuildsInTheRecordsOrderAndChecks)
{
    CLPrompt prompt = Prompt();
    Strings problems;
    EXPECT_EQ(
        prompt.Build(
            {{"text", "Payroll, 2026"}, {"lib", "payroll"}, {"type", "*test"}, {"crtaut", ""}},
            &problems),
        "CRTLIB LIB(PAYROLL) TYPE(*TEST) TEXT('Payroll, 2026')");
    EXPECT_TRUE(problems.empty()) << problems[0];

    EXPECT_EQ(
        prompt.Build(
            {{"TYPE", "*XYZ"}, {"ASP", "33"}, {"SIZE", "0"}, {"NOPE", "1"}, {"CRTAUT", "MYLIST"}},
            &problems),
        "CRTLIB TYPE(*XYZ) ASP(33) CRTAUT(MYLIST) SIZE(0)");
    EXPECT_EQ(problems,
              (Strings{"NOPE: CRTLIB has no such parameter.",
                       "TYPE: *XYZ is not one of *PROD, *TEST.", "ASP: 33 is outside 1-32.",
                       "SIZE: 0 is outside 1-9999.", "LIB: a value is required."}));
    // A range holds its ends and nothing beyond them.
    for (const char* asp : {"1", "32"}) {
        problems.clear();
        prompt.Build({{"LIB", "A"}, {"ASP", asp}}, &problems);
        EXPECT_TRUE(problems.empty()) << asp;
    }
    for (const char* asp : {"0", "33"}) {
        problems.clear();
        prompt.Build({{"LIB", "A"}, {"ASP", asp}}, &problems);
        EXPECT_EQ(problems, Strings{std::string("ASP: ") + asp + " is outside 1-32."});
    }
    problems.clear();
    prompt.Build({{"LIB", "A"}, {"ASP", "ten"}, {"SIZE", "*SAME"}, {"TYPE", "&T"}}, &problems);
    EXPECT_EQ(problems, (Strings{"ASP: TEN is not a number in 1-32 or one of *SYSTEM."}));
}

TEST(Prompt, ExplainsPositionalAndKeywordValues)
{
    CLPrompt prompt = Prompt();
    std::vector<CLGivenParam> given;
    Strings problems;
    std::string why;
    ASSERT_TRUE(
        prompt.Explain("crtlib mylib *test asp(*system) text('Mine')", &given, &problems, &why));
    ASSERT_EQ(given.size(), 4u);
    EXPECT_EQ(given[0].keyword, "LIB");
    EXPECT_EQ(given[0].position, 1);
    EXPECT_EQ(given[0].desc, "Library");
    EXPECT_EQ(given[1].keyword, "TYPE");
    EXPECT_EQ(given[1].value, "*TEST");
    EXPECT_EQ(given[2].position, 0);
    EXPECT_TRUE(problems.empty());

    ASSERT_TRUE(
        prompt.Explain("CRTLIB A *PROD *EXTRA FOO(1) TYPE(*TEST) ASP(0)", &given, &problems, &why));
    EXPECT_EQ(problems, (Strings{"*EXTRA: CRTLIB takes only 2 values without a keyword.",
                                 "FOO: CRTLIB has no such parameter.", "TYPE: given twice.",
                                 "ASP: 0 is outside 1-32."}));
    EXPECT_FALSE(given[2].bKnown);
    EXPECT_FALSE(given[3].bKnown);

    ASSERT_TRUE(prompt.Explain("CRTLIB TYPE(*TEST)", &given, &problems, &why));
    EXPECT_EQ(problems, Strings{"LIB: a value is required."});
    EXPECT_FALSE(prompt.Explain("DLTLIB X", &given, &problems, &why));
    EXPECT_EQ(why, "The command is DLTLIB, not CRTLIB.");
    EXPECT_FALSE(prompt.Explain("CRTLIB LIB(", &given, &problems, &why));
}
