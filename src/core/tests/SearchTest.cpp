// Full-text search: the matching rules, the ranking, corrections, message ids
// and bad queries, through both engines (an index, and a scan without one),
// which must agree.
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLSearchIndex.h"
#include "CLSearchScan.h"
#include "CLSearchSpeller.h"
#include "RecordMaker.h"
#include "TestHome.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// A reference of a few commands, saved, built and loaded in both run modes.
struct Reference
{
    TestHome home;
    CLCmdManager m;

    explicit Reference(bool bSample = true)
    {
        if (!bSample)
            return;
        Add("CRTLIB", "Create Library",
            {{"LIB", "Library", "Name", "Required, Positional 1"},
             {"ASPDEV", "ASP device", "Name, *ASP", "Optional"}},
            {{"CPF2111", "Library already exists."}}, "Adds a new library.", "CRTLIB LIB(X)");
        Add("CRTLIBX", "Another one", {}, {}, "", "");
        Add("DSPLIBL", "Display Library List", {{"OUTPUT", "Output", "*, *PRINT", "Optional"}}, {},
            "Shows the *LIBL of the job.", "");
        Add("WRKSPLF", "Work with Spooled Files",
            {{"SELECT", "Select files for", "User name, *CURRENT", "Optional"},
             {"OUTQ", "Output queue", "Name, *ALL", "Optional, Key"}},
            {{"CPF2110", "Library not found."}, {"cpf3303", "File not found for &1."}},
            "Lists spooled files.", "WRKSPLF SELECT(*ALL)");
        Add("SNDMSG", "Send Message", {}, {{"CPF2110", "The library is missing."}},
            "Sends a message; see CPF2110 in the job log.", "", "Batch \xC9t\xE9 only");
        Build();
    }
    void Build()
    {
        CLFileAnalyzer builder;
        builder.SetCmdManager(&m);
        EXPECT_TRUE(builder.BuildDataFile());
    }
    void Add(const std::string& name, const std::string& title,
             const std::vector<ParamSpec>& params, const std::vector<ErrorSpec>& errors,
             const std::string& detail, const std::string& example, const std::string& env = "")
    {
        CLCmdIndex e = MakeIdx(name);
        CLCmdIndex* p = m.AddCmdIdx(&e);
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), p, name, title, env, params, errors, detail, "", example);
        EXPECT_TRUE(m.SaveCmdRecord(rec.get()));
    }
};

// "NAME where" per hit, from both engines; the test fails when they differ.
Lines Find(const std::string& query, int runMode = 2, CLSearch::Results* pResults = nullptr,
           size_t nLimit = SIZE_MAX)
{
    CLCmdManager m{CLOptions{runMode}};
    EXPECT_TRUE(m.LoadCmdIdxList());
    CLSearchIndex index;
    EXPECT_TRUE(index.Build(m));
    CLSearch::Results fromIndex = index.Find(query, nLimit);
    CLSearch::Results fromScan;
    std::string why;
    EXPECT_TRUE(CLSearchScan::Run(m, query, nLimit, &fromScan, &why)) << why;
    Lines a, b;
    for (const auto& h : fromIndex.hits)
        a.push_back(h.name + " " + h.where);
    for (const auto& h : fromScan.hits)
        b.push_back(h.name + " " + h.where);
    EXPECT_EQ(a, b) << "the engines differ for \"" << query << "\"";
    EXPECT_EQ(fromIndex.sends.size(), fromScan.sends.size()) << query;
    EXPECT_EQ(fromIndex.messageId, fromScan.messageId);
    EXPECT_EQ(fromIndex.nFound, fromScan.nFound) << query;
    EXPECT_EQ(fromIndex.corrected, fromScan.corrected) << query;
    if (pResults)
        *pResults = fromIndex;
    return a;
}

} // namespace

TEST(Search, WordsMatchWithoutCaseTheLastAsAPrefix)
{
    Reference r;
    EXPECT_EQ(Find("spooled"), (Lines{"WRKSPLF title"}));
    EXPECT_EQ(Find("SPOOLED FILES"), (Lines{"WRKSPLF title"}));
    EXPECT_EQ(Find("spool"), (Lines{"WRKSPLF title"})); // the last word is a prefix
    CLSearch::Results res;
    Find("spool files", 2, &res); // an earlier one is not: found only as corrected
    EXPECT_EQ(res.corrected, "spooled files");
    // Every word must occur, in any field.
    EXPECT_EQ(Find("library exists"), (Lines{"CRTLIB error CPF2111"}));
    EXPECT_EQ(Find("library nothere"), Lines{});
    // Special characters belong to words; Latin-1 letters too, in any case.
    EXPECT_EQ(Find("*libl"), (Lines{"DSPLIBL detail"}));
    Find("libl", 2, &res); // *LIBL is one word: found only as corrected
    EXPECT_EQ(res.corrected, "*libl");
    EXPECT_EQ(Find("&1"), (Lines{"WRKSPLF error cpf3303"}));
    EXPECT_EQ(Find("\xE9t\xC9"), (Lines{"SNDMSG environment"}));
}

TEST(Search, EachFieldIsSearchedAndRanked)
{
    Reference r;
    EXPECT_EQ(Find("crtlib"), (Lines{"CRTLIB name", "CRTLIBX name"})); // exact, then prefix
    EXPECT_EQ(Find("crtli"), (Lines{"CRTLIB name", "CRTLIBX name"}));  // prefixes, by name
    EXPECT_EQ(Find("outq"), (Lines{"WRKSPLF parameter OUTQ"}));        // a keyword
    EXPECT_EQ(Find("cpf2110"), (Lines{"SNDMSG error CPF2110", "WRKSPLF error CPF2110"}));
    EXPECT_EQ(Find("*current"), (Lines{"WRKSPLF parameter SELECT"})); // choices
    EXPECT_EQ(Find("key"), (Lines{"WRKSPLF parameter OUTQ"}));        // notes
    EXPECT_EQ(Find("adds"), (Lines{"CRTLIB detail"}));
    EXPECT_EQ(Find("lib(x)"), (Lines{"CRTLIB examples"}));
    EXPECT_EQ(Find("batch"), (Lines{"SNDMSG environment"}));
    // Title before keyword before texts; equal scores by name.
    EXPECT_EQ(Find("library"), (Lines{"CRTLIB title", "DSPLIBL title", "SNDMSG error CPF2110",
                                      "WRKSPLF error CPF2110"}));
    // A word in the title ranks the command by its least well placed word.
    EXPECT_EQ(Find("library adds"), (Lines{"CRTLIB detail"}));
}

TEST(Search, BothRunModesReadTheirOwnFiles)
{
    Reference r;
    // The per-command file changes; the joined file keeps the built record.
    CLCmdIndex e = MakeIdx("DSPLIBL");
    RecordPtr rec = NewRecord(&e);
    FillRecord(rec.get(), &e, "DSPLIBL", "Display Library List", "", {}, {}, "Edited text.");
    ASSERT_TRUE(r.m.SaveCmdRecord(rec.get()));
    EXPECT_EQ(Find("edited", 1), (Lines{"DSPLIBL detail"}));
    EXPECT_EQ(Find("edited", 2), Lines{});
    EXPECT_EQ(Find("*libl", 2), (Lines{"DSPLIBL detail"}));
}

TEST(Search, AMessageIdListsTheCommandsThatSendIt)
{
    Reference r;
    CLSearch::Results res;
    Find("Cpf2110", 2, &res);
    EXPECT_EQ(res.messageId, "CPF2110");
    ASSERT_EQ(res.sends.size(), 2u); // SNDMSG's detail mentions it, but does not send it
    EXPECT_EQ(res.sends[0].name, "SNDMSG");
    EXPECT_EQ(res.sends[0].text, "The library is missing.");
    EXPECT_EQ(res.sends[1].name, "WRKSPLF");
    EXPECT_EQ(res.sends[1].item, 0u);
    Find("cpf3303", 2, &res);
    ASSERT_EQ(res.sends.size(), 1u);
    EXPECT_EQ(res.sends[0].item, 1u);
    // Not message ids: a word too long, a non-hexadecimal digit.
    EXPECT_TRUE(CLSearch::IsMessageId("CPDA0FF"));
    for (const char* w : {"CPF21100", "CPF211G", "C1F2110", "CPF211"})
        EXPECT_EQ(CLSearch::ParseQuery(w).messageId, "") << w;
}

// The MONMSG commands offered are valid CL: an id, and a label GOTO can name.
TEST(Search, TheMonitorLineIsValidCL)
{
    std::string line;
    ASSERT_TRUE(CLSearch::MonitorLine("cpf2110", "", &line));
    EXPECT_EQ(line, "MONMSG MSGID(CPF2110)");
    ASSERT_TRUE(CLSearch::MonitorLine("CPF2110", CLSearch::kErrorLabel, &line));
    EXPECT_EQ(line, "MONMSG MSGID(CPF2110) EXEC(GOTO CMDLBL(ERROR))");
    ASSERT_TRUE(CLSearch::MonitorLine("CPF2110", "end_1", &line));
    EXPECT_EQ(line, "MONMSG MSGID(CPF2110) EXEC(GOTO CMDLBL(END_1))");
    for (const char* label : {"$A", "#B", "@C", "ABCDEFGHIJ"})
        EXPECT_TRUE(CLSearch::IsLabel(label)) << label;
    for (const char* label : {"1A", "_A", "ABCDEFGHIJK", "A B", "A)", "(...)", "A.B"})
        EXPECT_FALSE(CLSearch::MonitorLine("CPF2110", label, &line)) << label;
    EXPECT_FALSE(CLSearch::MonitorLine("CPF211", "", &line));
}

TEST(Search, AnyQueryGetsAnAnswer)
{
    Reference r;
    EXPECT_EQ(Find(""), Lines{});
    EXPECT_EQ(Find("  !!! ((( "), Lines{});
    EXPECT_EQ(Find(std::string(10000, 'a')), Lines{});
    EXPECT_EQ(Find(std::string(10000, ' ') + "outq"), (Lines{"WRKSPLF parameter OUTQ"}));
    EXPECT_EQ(Find("o\x01u\x7Ftq\n"), Lines{});
    EXPECT_EQ(Find("\xFF\xFE\x80"), Lines{});
    // Thousands of words: only the first 16 count, so the answer is that of
    // a short query.
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "a ";
    EXPECT_EQ(CLSearch::ParseQuery(many).words.size(), CLSearch::kMaxQueryWords);
    EXPECT_FALSE(Find("a a").empty());
    EXPECT_EQ(Find(many), Find("a a"));
    EXPECT_EQ(Find("outq " + many), Lines{});
    EXPECT_EQ(Find(std::string(100000, 'z') + " *"), Lines{}); // far beyond any word
}

// The scan reads the joined file in pieces of 1 MiB: a word lying across the
// seam between two pieces is found like any other.
TEST(Search, AWordAcrossTheScansPieceSeamIsFound)
{
    Reference r;
    const std::string filler = [] {
        std::string s;
        while (s.size() < 30000)
            s += "filler ";
        return s;
    }();
    for (int i = 0; i < 40; ++i)
        r.Add("BIG" + std::to_string(100 + i), "Big command", {}, {}, filler, "");
    CLFileAnalyzer builder;
    builder.SetCmdManager(&r.m);
    ASSERT_TRUE(builder.BuildDataFile());
    std::string joined;
    ASSERT_TRUE(CxFile::ReadWholeFile(r.m.GetCmdDataFileName(), &joined));
    ASSERT_GT(joined.size(), (size_t(1) << 20) + 40000);
    // The detail that holds the seam; the word replaces bytes of the same
    // length, so every record keeps its place in the file.
    constexpr size_t kSeam = size_t(1) << 20;
    const size_t start = joined.rfind("Big command", kSeam);
    ASSERT_NE(start, std::string::npos);
    const size_t detail = joined.find(filler.substr(0, 64), start);
    ASSERT_LT(detail, kSeam - 8);
    ASSERT_GT(detail + filler.size(), kSeam + 8);
    CLCmdIndex* pSeam = nullptr;
    for (CLCmdIndex* p = r.m.GetFirstCmdIdx(); p; p = r.m.GetNextCmdIdx())
        if (p->dwPos <= detail && detail < uint64_t(p->dwPos) + p->dwLength)
            pSeam = p;
    ASSERT_TRUE(pSeam);
    const std::string name = pSeam->szName;
    std::string text = filler;
    text.replace(kSeam - 5 - detail, 11, " zebrafish ");
    RecordPtr rec = NewRecord();
    FillRecord(rec.get(), pSeam, name, "Big command", "", {}, {}, text, "", "");
    ASSERT_TRUE(r.m.SaveCmdRecord(rec.get()));
    ASSERT_TRUE(builder.BuildDataFile());
    ASSERT_TRUE(CxFile::ReadWholeFile(r.m.GetCmdDataFileName(), &joined));
    ASSERT_EQ(joined.substr(kSeam - 4, 9), "zebrafish");
    EXPECT_EQ(Find("zebrafish"), (Lines{name + " detail"}));
    EXPECT_EQ(Find("zebrafish filler"), (Lines{name + " detail"}));
}

// The tiers, best first: the name, the whole title, a name prefix, the title's
// words in order, in any order, then the field of the worst placed word.
TEST(SearchRank, TiersComeInOrder)
{
    Reference r(false);
    r.Add("CRTLIB", "Create Library", {}, {}, "", "");
    r.Add("CRTLIBCPY", "Create Library Copy", {}, {}, "", "");
    r.Add("CRTDEVMLB", "Create Device Description (Media Library)", {}, {}, "", "");
    r.Add("LIBCRTOPT", "Library Options to Create", {}, {}, "", "");
    r.Add("CRTX", "Create X", {{"LIBRARY", "Where", "Name", ""}}, {}, "", "");
    r.Add("AAA", "Anything", {}, {}, "Create a library of your own.", "");
    r.Add("LIBRARYX", "Extra", {}, {}, "", "");
    r.Add("LIBCMD", "Library", {}, {}, "", "");
    r.Build();
    EXPECT_EQ(Find("create library"),
              (Lines{"CRTLIB title", "CRTLIBCPY title", "CRTDEVMLB title", "LIBCRTOPT title",
                     "CRTX parameter LIBRARY", "AAA detail"}));
    // A one-word title before a name it begins, before titles that hold it:
    // short ones, and those it begins, first.
    EXPECT_EQ(Find("library"), (Lines{"LIBCMD title", "LIBRARYX name", "CRTLIB title",
                                      "LIBCRTOPT title", "CRTLIBCPY title", "CRTDEVMLB title",
                                      "CRTX parameter LIBRARY", "AAA detail"}));
    EXPECT_EQ(Find("crtlib")[0], "CRTLIB name");
    EXPECT_EQ(Find("CREATE   Library")[0], "CRTLIB title");
}

// Within a tier the score decides, not the name: the whole text of a title
// (C++ is not C), the share of the title the words fill, how often a word
// occurs and in which field.
TEST(SearchRank, WithinATierTheScoreDecides)
{
    Reference r(false);
    r.Add("CRTBNDC", "Create Bound C Program", {}, {}, "", "");
    r.Add("CRTBNDCPP", "Create Bound C++ Program", {}, {}, "", "");
    r.Add("AJRN", "Change Journal List", {}, {}, "", "");
    r.Add("BJRN", "Change Journal", {}, {}, "", "");
    r.Add("ADET", "First", {}, {}, "Uses a journal.", "");
    r.Add("BDET", "Second", {}, {}, "A journal, a journal and a journal.", "");
    r.Add("CDET", "Third", {{"JRN", "Journal", "Name", ""}}, {}, "", "");
    r.Build();
    EXPECT_EQ(Find("Create Bound C++ Program")[0], "CRTBNDCPP title");
    EXPECT_EQ(Find("create bound c program")[0], "CRTBNDC title");
    EXPECT_EQ(Find("change journal"), (Lines{"BJRN title", "AJRN title"}));
    EXPECT_EQ(Find("journal"), (Lines{"BJRN title", "AJRN title", "CDET parameter JRN",
                                      "BDET detail", "ADET detail"}));
    // The last word as a prefix weighs as the heaviest word it begins.
    EXPECT_EQ(Find("journ"), Find("journal"));
}

// Only the best are kept, whichever engine reads them; the count is of all.
TEST(SearchRank, ALimitKeepsTheBestAndCountsAll)
{
    Reference r(false);
    for (int i = 0; i < 30; ++i)
        r.Add("CMD" + std::to_string(100 + i), "Command " + std::to_string(i), {}, {},
              std::string(static_cast<size_t>(i % 7), 'x') + " value value" +
                  (i % 3 ? "" : " value"),
              "");
    r.Build();
    CLSearch::Results all, some;
    const Lines every = Find("value", 2, &all);
    ASSERT_EQ(every.size(), 30u);
    EXPECT_EQ(all.nFound, 30u);
    const Lines best = Find("value", 2, &some, 4);
    EXPECT_EQ(best, Lines(every.begin(), every.begin() + 4));
    EXPECT_EQ(some.nFound, 30u);
    EXPECT_EQ(Find("value", 1, nullptr, 4), best);
}

// A query that finds nothing is searched as its closest words, by both
// engines alike; one that finds something, or has nothing close, is not.
TEST(SearchRank, AQueryThatFindsNothingIsCorrected)
{
    Reference r;
    r.Add("CRTLF", "Create Logical File", {}, {}, "", "");
    r.Build();
    CLSearch::Results res;
    // An abbreviation wins over a word as few edits away that it is not.
    EXPECT_EQ(Find("crtlb", 2, &res), (Lines{"CRTLIB name", "CRTLIBX name"}));
    EXPECT_EQ(res.corrected, "crtlib");
    EXPECT_EQ(Find("wrksf", 1, &res), (Lines{"WRKSPLF name"}));
    EXPECT_EQ(res.corrected, "wrksplf");
    // Only the word nothing matched changes; a swap is one edit.
    EXPECT_EQ(Find("spoloed files", 2, &res), (Lines{"WRKSPLF title"}));
    EXPECT_EQ(res.corrected, "spooled files");
    EXPECT_EQ(Find("Lirbary exists", 2, &res), (Lines{"CRTLIB error CPF2111"}));
    EXPECT_EQ(res.corrected, "library exists");
    // Found as typed: no correction.
    Find("library", 2, &res);
    EXPECT_EQ(res.corrected, "");
    // Every word is there, only not together: nothing to correct.
    EXPECT_EQ(Find("spooled exists", 2, &res), Lines{});
    EXPECT_EQ(res.corrected, "");
    // Too far, too short, or a message id: taken as typed.
    for (const char* q : {"zzzzzz", "xq", "CPF2119", "spooled qqqqqqq"}) {
        EXPECT_EQ(Find(q, 2, &res), Lines{}) << q;
        EXPECT_EQ(res.corrected, "") << q;
    }
}

TEST(SearchRank, TheSpellerMeasuresEditsAndAbbreviations)
{
    using S = CLSearchSpeller;
    EXPECT_EQ(S::Distance("kitten", "sitting", 5), 3u);
    EXPECT_EQ(S::Distance("kitten", "sitting", 2), 3u); // capped at nMax + 1
    EXPECT_EQ(S::Distance("crtlib", "crtlbi", 3), 1u);  // a swap
    EXPECT_EQ(S::Distance("", "abc", 3), 3u);
    EXPECT_EQ(S::Distance("abc", "abc", 0), 0u);
    EXPECT_TRUE(S::IsAbbreviation("crtlb", "crtlib"));
    EXPECT_TRUE(S::IsAbbreviation("dspobd", "dspobjd"));
    EXPECT_FALSE(S::IsAbbreviation("rtlib", "crtlib"));   // another first letter
    EXPECT_FALSE(S::IsAbbreviation("crt", "crtdevmlbx")); // more than twice as long
    EXPECT_FALSE(S::IsAbbreviation("crtlib", "crtlib"));  // the word itself
    EXPECT_FALSE(S::IsAbbreviation("cb", "cab"));         // too short
    // Of equal costs the word more commands hold wins, whatever the order.
    CLSearch::Query q = CLSearch::ParseQuery("jbo");
    CLSearchSpeller a(q), b(q);
    a.Offer("jab", 1);
    a.Offer("job", 5);
    b.Offer("job", 5);
    b.Offer("jab", 1);
    EXPECT_EQ(a.Corrected(), "job");
    EXPECT_EQ(b.Corrected(), "job");
}

TEST(SearchRank, MatchedSpansAreTheWordsFound)
{
    using Spans = std::vector<std::pair<size_t, size_t>>;
    const std::vector<CLSearch::Word> words = {"library", "li"};
    EXPECT_EQ(CLSearch::MatchedSpans("The LIBRARY list, *LIBL; libraryx", words),
              (Spans{{4, 7}, {12, 4}, {25, 8}}));
    EXPECT_EQ(CLSearch::MatchedSpans("", words), Spans{});
    EXPECT_EQ(CLSearch::MatchedSpans("library", {}), Spans{});
}
