// Full-text search: the matching rules, the ranking, message ids and bad
// queries, through both engines (an index, and a scan without one), which
// must agree.
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLSearchIndex.h"
#include "CLSearchScan.h"
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

    Reference()
    {
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
Lines Find(const std::string& query, int runMode = 2, CLSearch::Results* pResults = nullptr)
{
    CLCmdManager m{CLOptions{runMode}};
    EXPECT_TRUE(m.LoadCmdIdxList());
    CLSearchIndex index;
    EXPECT_TRUE(index.Build(m));
    CLSearch::Results fromIndex = index.Find(query);
    CLSearch::Results fromScan;
    std::string why;
    EXPECT_TRUE(CLSearchScan::Run(m, query, SIZE_MAX, &fromScan, &why)) << why;
    Lines a, b;
    for (const auto& h : fromIndex.hits)
        a.push_back(h.name + " " + h.where);
    for (const auto& h : fromScan.hits)
        b.push_back(h.name + " " + h.where);
    EXPECT_EQ(a, b) << "the engines differ for \"" << query << "\"";
    EXPECT_EQ(fromIndex.sends.size(), fromScan.sends.size()) << query;
    EXPECT_EQ(fromIndex.monitor, fromScan.monitor);
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
    EXPECT_EQ(Find("spool files"), Lines{});            // an earlier one is not
    // Every word must occur, in any field.
    EXPECT_EQ(Find("library exists"), (Lines{"CRTLIB error CPF2111"}));
    EXPECT_EQ(Find("library nothere"), Lines{});
    // Special characters belong to words; Latin-1 letters too, in any case.
    EXPECT_EQ(Find("*libl"), (Lines{"DSPLIBL detail"}));
    EXPECT_EQ(Find("libl"), Lines{}); // *LIBL is one word
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
    // Title before keyword before texts, then by name.
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
    EXPECT_EQ(res.monitor, "MONMSG MSGID(CPF2110) EXEC(...)");
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
    for (const char* w : {"CPF21100", "CPF211G", "C1F2110", "CPF211"}) {
        Find(w, 2, &res);
        EXPECT_EQ(res.monitor, "") << w;
    }
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
