// The checks of a CL source member: each rule with a valid member that it
// leaves alone and a faulty one it reports, at the right place.
#include "CLLint.h"
#include "RecordMaker.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A small reference: a few commands with parameters, the rest by name only.
class Reference
{
public:
    Reference()
    {
        Add("CRTLIB", {{"LIB", "Library", "Name", "Required, Positional 1"},
                       {"TYPE", "Library type", "*PROD, *TEST", "Optional, Positional 2"},
                       {"TEXT", "Text 'description'", "Character value, *BLANK", "Optional"}});
        Add("CHGVAR", {{"VAR", "CL variable name", "CL variable name", "Required, Positional 1"},
                       {"VALUE", "Value", "Character value", "Required, Positional 2"}});
        for (const char* name :
             {"PGM",    "ENDPGM",    "DCL",       "DCLF",      "IF",      "ELSE",     "DO",
              "ENDDO",  "DOWHILE",   "DOUNTIL",   "DOFOR",     "LEAVE",   "ITERATE",  "SELECT",
              "WHEN",   "OTHERWISE", "ENDSELECT", "SUBR",      "ENDSUBR", "CALLSUBR", "GOTO",
              "MONMSG", "RCVF",      "RETURN",    "SNDPGMMSG", "INCLUDE"})
            Add(name, {});
    }
    CLLint::Lookup Lookup() const
    {
        return [this](const std::string& name) -> const CLCmdRecord* {
            auto it = m_recs.find(name);
            return it == m_recs.end() ? nullptr : it->second.get();
        };
    }

private:
    void Add(const std::string& name, const std::vector<ParamSpec>& params)
    {
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), nullptr, name, name, "", params);
        m_recs[name] = std::move(rec);
    }
    std::map<std::string, RecordPtr> m_recs;
};

// "LINE:COL severity [code] message" for each finding (1-based line and column).
std::vector<std::string> Lint(const std::string& text)
{
    static const Reference ref;
    std::vector<std::string> out;
    for (const CLDiagnostic& d : CLLint(ref.Lookup()).Check(CLSource::Read(text)))
        out.push_back(std::to_string(d.begin.line + 1) + ":" + std::to_string(d.begin.col + 1) +
                      " " + CLDiagnostic::SeverityName(d.severity) + " [" + d.code + "] " +
                      d.message);
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(Lint, AValidProgramHasNoFindings)
{
    EXPECT_EQ(Lint("             PGM        PARM(&LIB)\n"
                   "             DCL        VAR(&LIB) TYPE(*CHAR) LEN(10)\n"
                   "             DCL        VAR(&I) TYPE(*INT)\n"
                   "             DCLF       FILE(MYFILE)\n"
                   "             CRTLIB     LIB(&LIB) TYPE(*TEST)\n"
                   "             MONMSG     MSGID(CPF2111) EXEC(DO)\n"
                   "             SNDPGMMSG  MSG('Exists')\n"
                   "             ENDDO\n"
                   " LOOP:       DOFOR      VAR(&I) FROM(1) TO(10)\n"
                   "             IF         COND(&I *EQ 5) THEN(ITERATE)\n"
                   "             IF         COND(&I *EQ 9) THEN(LEAVE CMDLBL(LOOP))\n"
                   "             ENDDO\n"
                   "             IF         COND(&FLD *EQ 'X') THEN(DO)\n"
                   "             CALLSUBR   SUBR(CLEANUP)\n"
                   "             ENDDO\n"
                   "             ELSE       CMD(IF COND(&I *GT 1) THEN(GOTO CMDLBL(END)))\n"
                   "             ELSE       CMD(DO)\n"
                   "             SELECT\n"
                   "             WHEN       COND(&I *EQ 1) THEN(RETURN)\n"
                   "             OTHERWISE  CMD(CHGVAR &I 0)\n"
                   "             ENDSELECT\n"
                   "             ENDDO\n"
                   " END:        RETURN\n"
                   "             SUBR       SUBR(CLEANUP)\n"
                   "             RCVF\n"
                   "             ENDSUBR\n"
                   "             ENDPGM\n"),
              Lines{});
}

TEST(Lint, CommandsAreCheckedAgainstTheirRecords)
{
    EXPECT_EQ(Lint("CRTLIB LIB(A) TYPE(*OTHER) FOO(1)\n"
                   "CRTLIB A *TEST TEXT('x') 'extra'\n"
                   "CRTLIB TYPE(*PROD) TYPE(*TEST)\n"
                   "MYCMD PARM(1)\n"
                   "IF COND(1) THEN(CRTLIB TYPE(*NONE))\n"),
              (Lines{
                  "1:15 error [parameter] CRTLIB TYPE: *OTHER is not one of *PROD, *TEST.",
                  "1:28 error [parameter] CRTLIB FOO: CRTLIB has no such parameter.",
                  "2:26 error [parameter] CRTLIB 'extra': CRTLIB takes only 2 values without a "
                  "keyword.",
                  "2:26 error [parameter] CRTLIB 'extra': a positional value cannot follow a "
                  "keyword.",
                  "3:1 error [parameter] CRTLIB LIB: a value is required.",
                  "3:8 error [parameter] CRTLIB TYPE: given twice.",
                  "4:1 warning [unknown-command] MYCMD is not a command of this reference.",
                  "5:1 error [parameter] CRTLIB LIB: a value is required.",
                  "5:24 error [parameter] CRTLIB TYPE: *NONE is not one of *PROD, *TEST.",
              }));
}

TEST(Lint, DeclaresComeFirstAndNothingFollowsEndpgm)
{
    EXPECT_EQ(Lint("PGM\nDCL &A *CHAR 1\nINCLUDE SRCMBR(X)\nDCL &B *CHAR 1\nCHGVAR &A &B\n"
                   "DCL &C *CHAR 1\nPGM\nENDPGM\nCHGVAR &A &C\n"),
              (Lines{"6:1 error [declare-order] DCL comes after other commands: the declare "
                     "commands (DCL, DCLF, COPYRIGHT, DCLPRCOPT) must precede every command but "
                     "PGM.",
                     "7:1 error [pgm-first] PGM must be the first command of the program.",
                     "9:1 error [after-endpgm] Nothing may follow ENDPGM."}));
}

TEST(Lint, GroupsAreClosedByTheirOwnEnd)
{
    EXPECT_EQ(Lint("DO\nSELECT\nWHEN COND(1) THEN(DO)\nENDDO\nENDDO\nENDSELECT\nENDDO\n"
                   "OTHERWISE\nDOWHILE COND(1)\n"),
              (Lines{"2:1 error [unclosed-group] SELECT (line 2) is not ended by ENDSELECT.",
                     "6:1 error [unmatched-endselect] ENDSELECT has no SELECT group to end.",
                     "7:1 error [unmatched-enddo] ENDDO has no DO group to end.",
                     "8:1 error [outside-select] OTHERWISE is valid only directly inside a "
                     "SELECT group.",
                     "9:1 error [unclosed-group] DOWHILE (line 9) is not ended by ENDDO."}));
    EXPECT_EQ(Lint("SELECT\nOTHERWISE CMD(RETURN)\nWHEN COND(1) THEN(RETURN)\nENDSELECT\n"),
              Lines{"3:1 error [after-otherwise] WHEN follows the OTHERWISE of its SELECT group."});
}

TEST(Lint, ElseFollowsAnIfOrTheEndOfItsDoGroup)
{
    EXPECT_EQ(Lint("IF COND(1) THEN(RETURN)\nELSE CMD(RETURN)\nELSE CMD(RETURN)\n"
                   "IF COND(1) THEN(DO)\nENDDO\nELSE CMD(DO)\nENDDO\nELSE CMD(RETURN)\n"
                   "DO\nENDDO\nELSE CMD(RETURN)\n"),
              (Lines{"3:1 error [else-without-if] ELSE must follow an IF, or the ENDDO of the DO "
                     "group an IF runs.",
                     "8:1 error [else-without-if] ELSE must follow an IF, or the ENDDO of the DO "
                     "group an IF runs.",
                     "11:1 error [else-without-if] ELSE must follow an IF, or the ENDDO of the "
                     "DO group an IF runs."}));
}

TEST(Lint, LeaveAndIterateOnlyInLoops)
{
    EXPECT_EQ(Lint("LEAVE\nDO\nITERATE\nENDDO\nOUTER: DOWHILE COND(1)\nDO\nLEAVE OUTER\n"
                   "IF COND(1) THEN(ITERATE CMDLBL(INNER))\nENDDO\nENDDO\n"),
              (Lines{"1:1 error [outside-loop] LEAVE is valid only inside a DOWHILE, DOUNTIL or "
                     "DOFOR group.",
                     "3:1 error [outside-loop] ITERATE is valid only inside a DOWHILE, DOUNTIL "
                     "or DOFOR group.",
                     "8:32 error [unknown-loop-label] INNER is not the label of a DOWHILE, "
                     "DOUNTIL or DOFOR group around this ITERATE."}));
}

TEST(Lint, SubroutinesLabelsAndJumps)
{
    EXPECT_EQ(Lint("A: CALLSUBR SUBR(MISSING)\nGOTO CMDLBL(NOWHERE)\nA: RETURN\n"
                   "SUBR SUBR(ONE)\nSUBR SUBR(TWO)\nENDSUBR\nRETURN\nSUBR SUBR(X)\nDO\nENDSUBR\n"
                   "ENDSUBR\nENDPGM\n"),
              (Lines{"1:18 error [unknown-subroutine] CALLSUBR names the subroutine MISSING, "
                     "which is not defined.",
                     "2:13 error [unknown-label] GOTO names the label NOWHERE, which does not "
                     "exist.",
                     "3:1 error [duplicate-label] The label A is defined twice.",
                     "5:1 error [nested-subroutine] Subroutines cannot be nested: ENDSUBR must "
                     "end the current one first.",
                     "7:1 error [outside-subroutine] After the first SUBR, every command but "
                     "ENDPGM must be inside a subroutine.",
                     "9:1 error [unclosed-group] DO (line 9) is not ended by ENDDO.",
                     "11:1 error [unmatched-endsubr] ENDSUBR has no SUBR to end."}));
}

TEST(Lint, VariablesAreDeclaredAndUsed)
{
    EXPECT_EQ(Lint("PGM PARM(&P)\nDCL &P *CHAR 1\nDCL &UNUSED *CHAR 1\nDCL &P *CHAR 2\n"
                   "CHGVAR &NEW ('&NOTVAR' *CAT &P)\nIF (&P *EQ 'A' & &P *NE 'B') THEN(RETURN)\n"),
              (Lines{"3:5 note [unused-variable] &UNUSED is declared but never used.",
                     "4:5 error [duplicate-variable] &P is declared twice.",
                     "5:8 error [undeclared-variable] &NEW is not declared."}));
    // A DCLF declares the file's fields: names the source cannot show are no error.
    EXPECT_EQ(Lint("DCLF FILE(SCREEN)\nCHGVAR &FIELD1 'X'\n"), Lines{});
}

TEST(Lint, ReadingProblemsAreErrors)
{
    EXPECT_EQ(Lint("CHGVAR &A (1\n/* open"),
              (Lines{"1:1 error [syntax] A parenthesis is not closed.",
                     "1:8 error [undeclared-variable] &A is not declared.",
                     "2:1 error [syntax] A comment is not closed."}));
}
