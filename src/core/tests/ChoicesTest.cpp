// What a parameter takes, read from its choices text, and the values checked
// against it: the forms IBM's tables use, and the texts that must check
// nothing because their form is not told.
#include "CLChoices.h"
#include "CLCommandString.h"
#include "CLValueCheck.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

// The problem with the value written between K's parentheses, or "".
std::string Check(const std::string& choices, const std::string& value, size_t nMaxText = 0)
{
    CLParsedCommand c;
    std::string why;
    EXPECT_TRUE(CLCommandString::Parse("X K(" + value + ")", &c, &why)) << value;
    return CLValueCheck::Check(CLChoices::Read(choices), "K", c.params[0].elements, nMaxText);
}

} // namespace

TEST(Choices, ReadsQualifiedNamesWithTheirParts)
{
    CLChoices c = CLChoices::Read("Single values: *USRPRF, *SBSD; Other values: Qualified object "
                                  "name; job description: Name, QBATCH (default); library: Name, "
                                  "*LIBL, *CURLIB");
    ASSERT_TRUE(c.bKnown);
    EXPECT_EQ(c.singles, (Strings{"*USRPRF", "*SBSD"}));
    ASSERT_EQ(c.forms.size(), 1u);
    const std::vector<CLChoiceSet>& q = c.forms[0].qualifiers;
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].label, "job description");
    EXPECT_EQ(q[0].defaultValue, "QBATCH");
    EXPECT_EQ(q[1].label, "library");
    EXPECT_EQ(q[1].specials, (Strings{"*LIBL", "*CURLIB"}));

    // A job: three parts; parts left undescribed are open, and named.
    c = CLChoices::Read("Qualified job name (name, user, number), *");
    ASSERT_EQ(c.forms[0].qualifiers.size(), 3u);
    EXPECT_TRUE(c.forms[0].qualifiers[2].bOpen);
    EXPECT_EQ(c.forms[0].qualifiers[2].label, "number");
    EXPECT_EQ(c.forms[0].value.specials, Strings{"*"});
    // Only the library described: the object comes first, open.
    c = CLChoices::Read("Qualified object name; library: Name, *CURLIB");
    EXPECT_TRUE(c.forms[0].qualifiers[0].bOpen);
    EXPECT_EQ(c.forms[0].qualifiers[1].specials, Strings{"*CURLIB"});
    // A description of the parts still states the default.
    c = CLChoices::Read("Qualified name: file name (default QCLSRC); library *LIBL, *CURLIB or a "
                        "name");
    ASSERT_EQ(c.forms[0].qualifiers.size(), 2u);
    EXPECT_EQ(c.forms[0].qualifiers[0].defaultValue, "QCLSRC");
}

TEST(Choices, ReadsListsElementsAndDefaults)
{
    CLChoices c = CLChoices::Read("Single values: *ALL; Other values (up to 4 repetitions): *A, "
                                  "*B, *C");
    ASSERT_TRUE(c.bKnown);
    EXPECT_EQ(c.nMaxValues, 4u);
    EXPECT_TRUE(c.forms[0].value.IsClosed());

    c = CLChoices::Read("Element list; member: Name, *FIRST; replace or add records: *REPLACE, "
                        "*ADD");
    ASSERT_TRUE(c.bElements);
    ASSERT_EQ(c.forms.size(), 2u);
    EXPECT_EQ(c.forms[1].label, "replace or add records");

    EXPECT_EQ(CLChoices::Read("*NO (default), *YES").defaultValue, "*NO");
    EXPECT_EQ(CLChoices::Read("0-30 (default 20)").defaultValue, "20");
    EXPECT_EQ(CLChoices::Read("Name, *LIBL; default: *LIBL").defaultValue, "*LIBL");
    EXPECT_EQ(CLChoices::Read("Name (up to 30 characters)").forms[0].value.nMaxLength, 30u);
    // Quoted and hex values are values, a range of hex constants is no literal.
    EXPECT_EQ(CLChoices::Read("*JOB, ':', ',', ' ', *BLANK").forms[0].value.literals,
              (Strings{"':'", "','", "' '"}));
    EXPECT_TRUE(CLChoices::Read("X'0000'-X'FFF0', *NONE").forms[0].value.bOpen);
}

TEST(Choices, TextsOfNoKnownFormCheckNothing)
{
    // Which pieces are the qualifiers and which the next element is not told.
    const char* ambiguous = "Single values: *NONE; Other values (up to 300 repetitions): Element "
                            "list; service program: Qualified object name; name: Generic name, "
                            "name, *ALL; library: Name, *LIBL; activation: *IMMED, *DEFER";
    for (const char* text : {ambiguous, "Element list", "Qualifier list; authorization list: Name",
                             "*PRINT, or qualified name: file name; library *LIBL or a name", "",
                             "Single values: *SAME; other values: element list"}) {
        EXPECT_FALSE(CLChoices::Read(text).bKnown) << text;
        EXPECT_EQ(Check(text, "((A/B/C/D *XYZ) 1 2 3)"), "") << text;
    }
    // Words that name no kind leave the value open.
    EXPECT_EQ(Check("*NONE, or up to 300 library names or generic names", "LIB1 *OTHER"), "");
    EXPECT_EQ(Check("Command string", "CALL PGM(X) PARM(*ANY)"), "");
    // A list of names alone may be examples, not the only values.
    EXPECT_EQ(Check("QHST", "MYLOG"), "");
}

TEST(ValueCheck, NamesSpecialValuesNumbersAndTexts)
{
    EXPECT_EQ(Check("Name", "PAYROLL"), "");
    EXPECT_EQ(Check("Name", "\"My Lib\""), ""); // a quoted name
    EXPECT_EQ(Check("Name", "'mylib'"), "");
    EXPECT_EQ(Check("Name", "*LIBL"), "K: *LIBL is not allowed: K takes no special values here.");
    // Character values listing no special values take *WORD as text.
    EXPECT_EQ(Check("Character value", "*MYSVR"), "");
    EXPECT_NE(Check("Character value, *SAME", "*MYSVR"), "");
    EXPECT_EQ(Check("Name", "ABCDEFGHIJK"),
              "K: ABCDEFGHIJK is longer than 10 characters, the most a name has here.");
    EXPECT_EQ(Check("Name", "1ABC"), "K: 1ABC is not a valid name.");
    EXPECT_EQ(Check("Name", "'a b*c'"), "K: 'a b*c' is not a valid name.");
    EXPECT_EQ(Check("Name (up to 30 characters)", "QIBM_SERVICE_TRACE"), "");
    EXPECT_EQ(Check("Generic name, name, *ALL", "INV*"), "");
    EXPECT_EQ(Check("Generic name, name, *ALL", "*ALLUSR"),
              "K: *ALLUSR is not one of its special values *ALL.");
    EXPECT_EQ(Check("Name, *LIBCRTAUT, *ALL", "*USE"),
              "K: *USE is not one of its special values *LIBCRTAUT, *ALL.");
    EXPECT_EQ(Check("1-9, 5", "5"), "");
    EXPECT_EQ(Check("*SELECT, 1, 2, 3", "4"), "K: 4 is not one of *SELECT, 1, 2, 3.");
    EXPECT_EQ(Check("Number, *NOMAX", "ABC"), "K: ABC is not a number or one of *NOMAX.");
    EXPECT_EQ(Check("CL variable name", "&COUNT"), "");
    EXPECT_EQ(Check("CL variable name", "COUNT"),
              "K: COUNT is not a CL variable name; one begins with &.");
    EXPECT_EQ(Check("CL variable name, or %SST or %BIN of a variable", "%SST(&D 1 4)"), "");
    EXPECT_EQ(Check("Character value, *BLANK", "'" + std::string(51, 'x') + "'", 50),
              "K: the text is 51 characters long; at most 50 are allowed.");
    EXPECT_EQ(Check("Character value, *BLANK", "*BLANK", 50), "");
    EXPECT_EQ(Check("Character value, X'', *NONE", "X''"), "");
    EXPECT_EQ(Check("Path name, *", "'/home/Me/a b'"), "");
    // Variables and expressions are not checked against lists.
    EXPECT_EQ(Check("*YES, *NO", "&FLAG"), "");
    EXPECT_EQ(Check("Logical value", "&A *EQ 1 *OR *NOT &B"), "");
}

TEST(ValueCheck, QualifiedNamesSingleValuesElementsAndRepetitions)
{
    const char* jobd = "Single values: *USRPRF; Other values: Qualified object name; job "
                       "description: Name; library: Name, *LIBL, *CURLIB";
    EXPECT_EQ(Check(jobd, "QGPL/QBATCH"), "");
    EXPECT_EQ(Check(jobd, "*LIBL/QBATCH"), "");
    EXPECT_EQ(Check(jobd, "*USRPRF"), "");
    EXPECT_EQ(Check(jobd, "A/B/C"), "K: A/B/C has 3 parts; at most 2 are allowed "
                                    "(library/job description).");
    EXPECT_EQ(Check(jobd, "*ALL/X"),
              "K: *ALL (library) is not one of its special values *LIBL, *CURLIB.");
    EXPECT_EQ(Check(jobd, "/X"), "K: /X is not a qualified name.");
    EXPECT_EQ(Check(jobd, "*OTHER"),
              "K: *OTHER (job description) is not one of its special values *USRPRF.");
    EXPECT_EQ(Check("Qualified job name; job name: Name; user: Name; number: 000000-999999",
                    "123456/QPGMR/DSP01"),
              "");
    EXPECT_EQ(Check("Qualified job name; job name: Name; user: Name; number: 000000-999999",
                    "ABC/QPGMR/DSP01"),
              "K: ABC (number) is not a number in 0-999999.");

    const char* days = "Single values: *ALL; Other values (up to 3 repetitions): *MON, *TUE, "
                       "*WED";
    EXPECT_EQ(Check(days, "*ALL"), "");
    EXPECT_EQ(Check(days, "*MON *TUE"), "");
    EXPECT_EQ(Check(days, "*MON *ALL"), "K: *ALL cannot be given with other values.");
    EXPECT_EQ(Check(days, "*MON *TUE *WED *MON"), "K: 4 values are given; at most 3 are allowed.");
    // A single value the other values take too may stand with them.
    EXPECT_EQ(Check("Single values: *ONLY, *LAST; Other values: Element list; date: Date; "
                    "time: Time, *ONLY, *LAST",
                    "010124 *LAST"),
              "");

    const char* outmbr = "Element list; member: Name, *FIRST; replace or add records: *REPLACE, "
                         "*ADD";
    EXPECT_EQ(Check(outmbr, "*FIRST *ADD"), "");
    EXPECT_EQ(Check(outmbr, "(*FIRST *ADD)"), "");
    EXPECT_EQ(Check(outmbr, "MBR1"), "");
    EXPECT_EQ(Check(outmbr, "*FIRST *KEEP"),
              "K: *KEEP (replace or add records) is not one of *REPLACE, *ADD.");
    EXPECT_EQ(Check(outmbr, "A *ADD B"),
              "K: 3 elements are given; it has 2 (member, replace or add records).");
    const char* users = "Single values: *NONE; Other values (up to 2 repetitions): Element list; "
                        "user profile: Name; authority level: *USE, *ALL";
    EXPECT_EQ(Check(users, "(JONES *USE) (SMITH *ALL)"), "");
    EXPECT_EQ(Check(users, "(JONES *USE) (SMITH *OWN)"),
              "K: *OWN (authority level) is not one of *USE, *ALL.");
}
