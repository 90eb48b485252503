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

Strings Texts(const std::vector<CLPromptProblem>& problems)
{
    Strings out;
    for (const CLPromptProblem& p : problems)
        out.push_back(p.text);
    return out;
}

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

TEST(CommandString, TypedValuesAreWrittenBareOnlyWhenCLReadsThemSo)
{
    using CLCommandString::ValueText;
    using Mode = CLCommandString::ValueMode;
    // A free text: quoted for blanks, lower case, apostrophes and odd characters.
    EXPECT_EQ(ValueText("Payroll data", Mode::Text), "'Payroll data'");
    EXPECT_EQ(ValueText("It's", Mode::Text), "'It''s'");
    EXPECT_EQ(ValueText("lower", Mode::Text), "'lower'");
    EXPECT_EQ(ValueText("A:B", Mode::Text), "'A:B'");
    EXPECT_EQ(ValueText("PAYROLL", Mode::Text), "PAYROLL");
    EXPECT_EQ(ValueText("*blank", Mode::Text), "*BLANK");
    EXPECT_EQ(ValueText("&text", Mode::Text), "&TEXT");
    EXPECT_EQ(ValueText("'Already quoted'", Mode::Text), "'Already quoted'");
    EXPECT_EQ(ValueText("%sst(&a 1 2)", Mode::Text), "%SST(&A 1 2)");
    EXPECT_EQ(ValueText("(a b)", Mode::Text), "'(a b)'");
    EXPECT_EQ(ValueText("   ", Mode::Text), "");
    // One value: names, qualified and generic names, numbers, variables and
    // hex constants bare; a path or anything with blanks quoted as typed.
    EXPECT_EQ(ValueText("mylib", Mode::Single), "MYLIB");
    EXPECT_EQ(ValueText("*libl/myfile", Mode::Single), "*LIBL/MYFILE");
    EXPECT_EQ(ValueText("123456/qpgmr/dsp01", Mode::Single), "123456/QPGMR/DSP01");
    EXPECT_EQ(ValueText("inv*", Mode::Single), "INV*");
    EXPECT_EQ(ValueText("-12.5", Mode::Single), "-12.5");
    EXPECT_EQ(ValueText("x'f1'", Mode::Single), "X'F1'");
    EXPECT_EQ(ValueText("\"My Lib\"", Mode::Single), "\"My Lib\"");
    EXPECT_EQ(ValueText("/home/Me/a b.txt", Mode::Single), "'/home/Me/a b.txt'");
    EXPECT_EQ(ValueText("/home/me/a.txt", Mode::Single), "'/home/me/a.txt'");
    EXPECT_EQ(ValueText("a b", Mode::Single), "'a b'");
    EXPECT_EQ(ValueText("lib//obj", Mode::Single), "'lib//obj'");
    EXPECT_EQ(ValueText("a-b", Mode::Single), "'a-b'");
    // A long name is still read as one (function IDs hold up to 30 characters).
    EXPECT_EQ(ValueText("qibm_service_trace", Mode::Single), "QIBM_SERVICE_TRACE");
    EXPECT_EQ(ValueText("(&a + 1)", Mode::Single), "(&A + 1)");
    // A list: element by element; command strings and expressions stay.
    EXPECT_EQ(ValueText("a b  c", Mode::List), "A B C");
    EXPECT_EQ(ValueText("call pgm(x) parm('Hi')", Mode::List), "CALL PGM(X) PARM('Hi')");
    EXPECT_EQ(ValueText("&count + 1", Mode::List), "&COUNT + 1");
    EXPECT_EQ(ValueText("a:b c", Mode::List), "'a:b' C");
    EXPECT_EQ(ValueText("(a b", Mode::List), "'(a' B");
    EXPECT_EQ(ValueText("x'y", Mode::List), "'x''y'");
    EXPECT_EQ(ValueText("/tmp/A qgpl/x", Mode::List), "'/tmp/A' QGPL/X");
    // A list of texts: words with lower case are texts.
    EXPECT_EQ(ValueText("Jones *ANY Sales", Mode::TextList), "'Jones' *ANY 'Sales'");
    // Control characters become blanks.
    EXPECT_EQ(ValueText("a\tb", Mode::Text), "'a b'");
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
    using Mode = CLCommandString::ValueMode;
    CLPrompt prompt = Prompt();
    const CLPromptParam* lib = prompt.Find("lib");
    ASSERT_NE(lib, nullptr);
    EXPECT_TRUE(lib->bRequired);
    EXPECT_EQ(lib->nPositional, 1);
    EXPECT_EQ(lib->mode, Mode::Single);
    const CLPromptParam* type = prompt.Find("TYPE");
    EXPECT_TRUE(type->shape.forms[0].value.IsClosed());
    EXPECT_EQ(type->specials, (Strings{"*PROD", "*TEST"}));
    EXPECT_EQ(type->shape.defaultValue, "*PROD");
    EXPECT_EQ(prompt.Find("TEXT")->mode, Mode::Text);
    EXPECT_EQ(prompt.Find("TEXT")->nMaxText, 50u);
    EXPECT_EQ(prompt.Find("CMD")->mode, Mode::List);
    EXPECT_EQ(prompt.Find("SIZE")->shape.forms[0].value.ranges.size(), 1u);
}

TEST(Prompt, BuildsInTheRecordsOrderAndChecks)
{
    CLPrompt prompt = Prompt();
    std::vector<CLPromptProblem> problems;
    EXPECT_EQ(
        prompt.Build(
            {{"text", "Payroll, 2026"}, {"lib", "payroll"}, {"type", "*test"}, {"crtaut", ""}},
            &problems),
        "CRTLIB LIB(PAYROLL) TYPE(*TEST) TEXT('Payroll, 2026')");
    EXPECT_EQ(Texts(problems), Strings{});

    // A keyword the record lacks is kept at the end, and reported.
    EXPECT_EQ(
        prompt.Build(
            {{"TYPE", "*XYZ"}, {"ASP", "33"}, {"SIZE", "0"}, {"nope", "1"}, {"CRTAUT", "MYLIST"}},
            &problems),
        "CRTLIB TYPE(*XYZ) ASP(33) CRTAUT(MYLIST) SIZE(0) NOPE(1)");
    EXPECT_EQ(Texts(problems),
              (Strings{"NOPE: CRTLIB has no such parameter.",
                       "TYPE: *XYZ is not one of *PROD, *TEST.", "ASP: 33 is outside 1-32.",
                       "SIZE: 0 is outside 1-9999.", "LIB: a value is required."}));
    EXPECT_EQ(problems[0].keyword, "NOPE");
    EXPECT_EQ(problems[4].keyword, "LIB");
    EXPECT_TRUE(CLPromptProblem::AnyError(problems));
    // A range holds its ends and nothing beyond them.
    for (const char* asp : {"1", "32"}) {
        problems.clear();
        prompt.Build({{"LIB", "A"}, {"ASP", asp}}, &problems);
        EXPECT_EQ(Texts(problems), Strings{}) << asp;
    }
    for (const char* asp : {"0", "33"}) {
        problems.clear();
        prompt.Build({{"LIB", "A"}, {"ASP", asp}}, &problems);
        EXPECT_EQ(Texts(problems), Strings{std::string("ASP: ") + asp + " is outside 1-32."});
    }
    problems.clear();
    prompt.Build({{"LIB", "A"}, {"ASP", "ten"}, {"SIZE", "*SAME"}, {"TYPE", "&T"}}, &problems);
    EXPECT_EQ(Texts(problems), (Strings{"ASP: TEN is not a number in 1-32 or one of *SYSTEM.",
                                        "SIZE: *SAME is not allowed: SIZE takes no special "
                                        "values here."}));
}

TEST(Prompt, BuildsOnlyValidCLAndChecksWhatTheRecordSays)
{
    CLPrompt prompt = Prompt();
    std::vector<CLPromptProblem> problems;
    // A path or a text keeps its case and stays one quoted value.
    const CLCmdParam dspf[] = {Param("STMF", "Stream file", "Path name", "Optional, Positional 1")};
    EXPECT_EQ(CLPrompt("DSPF", dspf, 1).Build({{"stmf", "/home/Me/a b.txt"}}, &problems),
              "DSPF STMF('/home/Me/a b.txt')");
    EXPECT_EQ(Texts(problems), Strings{});

    // A special value the parameter does not list, a name too long, a text
    // longer than IBM's 50 characters.
    prompt.Build({{"LIB", "*LIBL"}}, &problems);
    EXPECT_EQ(Texts(problems),
              Strings{"LIB: *LIBL is not allowed: LIB takes no special values here."});
    problems.clear();
    prompt.Build({{"LIB", "ABCDEFGHIJKLM"}, {"TEXT", std::string(60, 'x')}}, &problems);
    EXPECT_EQ(Texts(problems),
              (Strings{"LIB: ABCDEFGHIJKLM is longer than 10 characters, the most a name has here.",
                       "TEXT: the text is 60 characters long; at most 50 are allowed."}));
    problems.clear();
    prompt.Build({{"LIB", "A"}, {"TEXT", std::string(50, 'x')}}, &problems);
    EXPECT_EQ(Texts(problems), Strings{});
}

TEST(Prompt, ExplainsPositionalAndKeywordValues)
{
    CLPrompt prompt = Prompt();
    std::vector<CLGivenParam> given;
    std::vector<CLPromptProblem> problems;
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
    EXPECT_EQ(Texts(problems), Strings{});

    ASSERT_TRUE(
        prompt.Explain("CRTLIB A *PROD *EXTRA FOO(1) TYPE(*TEST) ASP(0)", &given, &problems, &why));
    EXPECT_EQ(Texts(problems), (Strings{"*EXTRA: CRTLIB takes only 2 values without a keyword.",
                                        "FOO: CRTLIB has no such parameter.", "TYPE: given twice.",
                                        "ASP: 0 is outside 1-32."}));
    EXPECT_FALSE(given[2].bKnown);
    EXPECT_FALSE(given[3].bKnown);
    EXPECT_FALSE(given[3].bUnlisted);

    ASSERT_TRUE(prompt.Explain("CRTLIB TYPE(*TEST)", &given, &problems, &why));
    EXPECT_EQ(Texts(problems), Strings{"LIB: a value is required."});
    ASSERT_TRUE(prompt.Explain("CRTLIB LIB(*LIBL)", &given, &problems, &why));
    EXPECT_EQ(Texts(problems),
              Strings{"LIB: *LIBL is not allowed: LIB takes no special values here."});
    EXPECT_FALSE(prompt.Explain("DLTLIB X", &given, &problems, &why));
    EXPECT_EQ(why, "The command is DLTLIB, not CRTLIB.");
    EXPECT_FALSE(prompt.Explain("CRTLIB LIB(", &given, &problems, &why));
}

// A record that lists only some parameters: a keyword it lacks may be real,
// so it is a note and kept; a parameter with partial choices is not judged.
TEST(Prompt, PartialRecordsNeverMakeARealKeywordAnError)
{
    CLCmdIndex idx = MakeIdx("CRTLIB");
    RecordPtr rec(new CLCmdRecord);
    FillRecord(rec.get(), &idx, "CRTLIB", "Create Library", "",
               {{"LIB", "Library", "Name", "Required, Positional 1"},
                {"TYPE", "Library type", "*PROD, *TEST", "Optional, Positional 2"}},
               {}, "", "partial-parameters\r\npartial-choices TYPE");
    CLPrompt prompt(*rec);
    EXPECT_TRUE(prompt.IsPartial());
    std::vector<CLGivenParam> given;
    std::vector<CLPromptProblem> problems;
    std::string why;
    ASSERT_TRUE(prompt.Explain("CRTLIB A *OTHER *TEST ASPDEV(MYASP)", &given, &problems, &why));
    EXPECT_EQ(Texts(problems),
              (Strings{"*TEST: the parameter at position 3 is not listed in this reference, "
                       "which holds only some of CRTLIB's parameters.",
                       "ASPDEV: this keyword is not listed in this reference, which holds only "
                       "some of CRTLIB's parameters."}));
    EXPECT_FALSE(CLPromptProblem::AnyError(problems));
    EXPECT_TRUE(given[3].bUnlisted);
    EXPECT_EQ(given[3].keyword, "ASPDEV");

    problems.clear();
    EXPECT_EQ(prompt.Build({{"lib", "a"}, {"aspdev", "myasp"}}, &problems),
              "CRTLIB LIB(A) ASPDEV(MYASP)");
    EXPECT_FALSE(CLPromptProblem::AnyError(problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(problems[0].bNote);
    // The same keyword is an error where the record lists every parameter.
    EXPECT_EQ(
        CLPrompt("CRTLIB", rec->pParams, 2).Build({{"aspdev", "myasp"}, {"lib", "a"}}, &problems),
        "CRTLIB LIB(A) ASPDEV(MYASP)");
    EXPECT_TRUE(CLPromptProblem::AnyError(problems));
}

TEST(CommandString, FindsTheCommandOnALineOfExamples)
{
    const std::string text = "CRTLIB LIB(A) +\r\n   TEXT('Two +\r\n   lines')\r\n"
                             "\r\nCreates a library.\r\nLOOP: DLTLIB B\r\n  qsys/crtlib x";
    using CLCommandString::CommandAt;
    const std::string first = "CRTLIB LIB(A) +\r\n   TEXT('Two +\r\n   lines')";
    EXPECT_EQ(CommandAt(text, 0), first);
    EXPECT_EQ(CommandAt(text, text.find("TEXT")), first);
    EXPECT_EQ(CommandAt(text, text.find("lines")), first);
    EXPECT_EQ(CommandAt(text, text.find("Creates")), "");
    EXPECT_EQ(CommandAt(text, text.find("\r\n\r\n") + 2), "");
    EXPECT_EQ(CommandAt(text, text.find("LOOP")), "LOOP: DLTLIB B");
    EXPECT_EQ(CommandAt(text, text.size()), ""); // lower case: prose, not a command
    EXPECT_EQ(CommandAt(text, text.size() + 1), "");
    EXPECT_EQ(CommandAt("  QSYS/CRTLIB X", 3), "QSYS/CRTLIB X");
}
