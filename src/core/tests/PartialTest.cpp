// The partial marks in a record's reserved text: what reads as a mark, and
// that every reserved text splits and composes back byte for byte.
#include "CLPartial.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

const std::vector<std::string> kKeywords = {"JOBD", "JOBQ", "USER"};

} // namespace

TEST(Partial, MarksAtTheStartOfTheReservedText)
{
    CLPartialMarks m = CLPartial::Split("partial-parameters", kKeywords);
    EXPECT_TRUE(m.bParameters);
    EXPECT_TRUE(m.choices.empty());
    EXPECT_EQ(m.rest, "");

    m = CLPartial::Split("partial-parameters\r\npartial-choices JOBQ\r\nnotes", kKeywords);
    EXPECT_TRUE(m.bParameters);
    EXPECT_EQ(m.choices, std::vector<std::string>{"JOBQ"});
    EXPECT_EQ(m.rest, "notes");

    // Choice marks follow the parameters' order and name a listed keyword.
    m = CLPartial::Split("partial-choices USER\r\npartial-choices JOBD", kKeywords);
    EXPECT_EQ(m.choices, std::vector<std::string>{"USER"});
    EXPECT_EQ(m.rest, "partial-choices JOBD");
    m = CLPartial::Split("partial-choices OUTQ", kKeywords);
    EXPECT_TRUE(m.choices.empty());

    // Not marks: a mark later in the text, a lone mark with a line break,
    // the parameters' mark after a choice mark, other spellings.
    for (const char* text : {"notes\r\npartial-parameters", "partial-parameters\r\n",
                             "partial-choices JOBD\r\npartial-parameters", "Partial-parameters",
                             "partial-parameters \r\nx"}) {
        m = CLPartial::Split(text, kKeywords);
        EXPECT_EQ(CLPartial::Compose(m), text);
        EXPECT_FALSE(m.bParameters) << text;
    }
}

TEST(Partial, AnyReservedTextComposesBackByteForByte)
{
    const std::vector<std::string> pieces = {"partial-parameters",
                                             "partial-choices JOBD",
                                             "partial-choices JOBQ",
                                             "partial-choices USER",
                                             "partial-choices X",
                                             "text",
                                             "",
                                             "\r\n",
                                             "\n"};
    std::mt19937 rng(7);
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        int n = static_cast<int>(rng() % 5);
        for (int k = 0; k < n; ++k) {
            if (k > 0 && rng() % 4 != 0)
                text += "\r\n";
            text += pieces[rng() % pieces.size()];
        }
        EXPECT_EQ(CLPartial::Compose(CLPartial::Split(text, kKeywords)), text) << text;
    }
}

TEST(Partial, NoticeCountsTheListedParameters)
{
    CLCmdParam params[2] = {};
    std::strcpy(params[0].szKeyword, "JOBD");
    std::strcpy(params[1].szKeyword, "JOBQ");
    char reserved[] = "partial-parameters";
    CLCmdRecord rec = {};
    rec.pszReserved = reserved;
    rec.pParams = params;
    rec.dwParamCount = 2;
    EXPECT_EQ(CLPartial::Notice(&rec),
              "Only the first 2 parameters are listed; see IBM's documentation for the rest.");
    rec.dwParamCount = 1;
    EXPECT_EQ(CLPartial::Notice(&rec),
              "Only the first parameter is listed; see IBM's documentation for the rest.");
    rec.pszReserved = nullptr;
    EXPECT_EQ(CLPartial::Notice(&rec), "");
}

TEST(Partial, CheckFindsWordsAndMarksThatDisagree)
{
    CLCmdParam params[2] = {};
    CLCmdRecord rec = {};
    rec.pParams = params;
    rec.dwParamCount = 2;
    char said[] = "Creates X.\r\n\r\nOnly the first 2 parameters are listed here.";
    char wrong[] = "Only the first 3 parameters are listed here.";
    char plain[] = "Creates X.";
    char mark[] = "partial-parameters";
    rec.pszDetail = said;
    EXPECT_NE(CLPartial::Disagreement(&rec).find("has no partial mark"), std::string::npos);
    rec.pszReserved = mark;
    EXPECT_EQ(CLPartial::Disagreement(&rec), "");
    rec.pszDetail = wrong;
    EXPECT_EQ(CLPartial::Disagreement(&rec),
              "the detail says the first 3 parameters are listed, but the record lists 2");
    rec.pszDetail = plain;
    EXPECT_EQ(CLPartial::Disagreement(&rec), "");
}
