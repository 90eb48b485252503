// search and msgid on the shipped reference, the two search engines agreeing
// on it word for word, and every shipped command first for its name and title.
#include "CliHome.h"

#include "CLCmdManager.h"
#include "CLSearchIndex.h"
#include "CLSearchScan.h"
#include "WinUtil.h"

#include <gtest/gtest.h>

#include <set>

// A home holding the shipped reference, built once for the suite.
class CliSearch : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_home = new CliHome;
        ASSERT_EQ(s_home->Run({"import", "--records", ReferenceDir() + "/clcmd.txt"}).status, 0);
        ASSERT_EQ(s_home->Run({"load", ReferenceDir() + "/records"}).status, 0);
        s_home->Build();
    }
    static void TearDownTestSuite()
    {
        delete s_home;
        s_home = nullptr;
    }
    static const CliHome& Shipped() { return *s_home; }
    static CliHome* s_home;
};

CliHome* CliSearch::s_home = nullptr;

TEST_F(CliSearch, PrintsHitsBestFirstAndExitsLikeGrep)
{
    const CliHome& home = Shipped();
    CliResult r = home.Run({"search", "crtlib"});
    EXPECT_EQ(r.status, 0);
    ASSERT_FALSE(LinesOf(r.out).empty());
    EXPECT_EQ(LinesOf(r.out)[0], "CRTLIB\tCreate Library\tname");
    r = home.Run({"search", "--limit", "2", "library", "list"});
    EXPECT_EQ(LinesOf(r.out).size(), 2u);
    EXPECT_EQ(r.err, ""); // asked for two, so no word on the others
    r = home.Run({"search", "xyzzyplugh"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(home.Run({"search"}).status, 2);
    EXPECT_EQ(home.Run({"search", "--limit", "0", "x"}).status, 2);

    r = home.Run({"msgid", "cpf2111"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("CRTLIB\t"), std::string::npos) << r.out;
    EXPECT_EQ(home.Run({"msgid", "CPF9Z99"}).status, 2);
    EXPECT_EQ(home.Run({"msgid", "CPF0000"}).status, 1);
    // The MONMSG command, plain or going to a label: valid CL.
    r = home.Run({"msgid", "--monmsg", "cpf2111"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "MONMSG MSGID(CPF2111)\n");
    r = home.Run({"msgid", "--goto", "error", "cpf2111"});
    EXPECT_EQ(r.out, "MONMSG MSGID(CPF2111) EXEC(GOTO CMDLBL(ERROR))\n");
    for (const char* label : {"1ERR", "TOOLONGLABEL", "(...)", ""})
        EXPECT_EQ(home.Run({"msgid", "--goto", label, "CPF2111"}).status, 2) << label;
    // Run mode 1 reads the per-command files, here the same records.
    EXPECT_EQ(home.Run({"--run-mode", "1", "search", "outq"}).out,
              home.Run({"search", "outq"}).out);
}

TEST_F(CliSearch, TheEnginesAgreeOnTheShippedReference)
{
    const CliHome& home = Shipped();
    const std::string previous = GetAppPath();
    SetAppPath(home.Path());
    CLCmdManager m{CLOptions{kRunModeRead}};
    ASSERT_TRUE(m.LoadCmdIdxList());
    CLSearchIndex index;
    ASSERT_TRUE(index.Build(m));
    EXPECT_GT(index.CommandCount(), 700u);
    // Words of every kind from the titles and the list itself, and their prefixes.
    std::set<std::string> queries = {"cpf2110",      "*libl", "library list", "job log", "outq",
                                     "spooled file", "*all",  "crt",          "wrk",     "&"};
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p && queries.size() < 400; p = m.GetNextCmdIdx()) {
        std::string name = p->szName;
        queries.insert(name);
        queries.insert(name.substr(0, 3));
    }
    for (const std::string& q : queries) {
        CLSearch::Results a = index.Find(q), b;
        std::string why;
        ASSERT_TRUE(CLSearchScan::Run(m, q, SIZE_MAX, &b, &why));
        ASSERT_EQ(a.hits.size(), b.hits.size()) << q;
        for (size_t i = 0; i < a.hits.size(); ++i) {
            EXPECT_EQ(a.hits[i].name, b.hits[i].name) << q;
            EXPECT_EQ(a.hits[i].where, b.hits[i].where) << q;
        }
        EXPECT_EQ(a.sends.size(), b.sends.size()) << q;
    }
    SetAppPath(previous);
}

// Twenty lines unless asked for more; standard error says how many there are.
TEST_F(CliSearch, PrintsTheBestTwentyUnlessAskedForAll)
{
    const CliHome& home = Shipped();
    CliResult some = home.Run({"search", "library"});
    EXPECT_EQ(some.status, 0);
    const std::vector<std::string> shown = LinesOf(some.out);
    ASSERT_EQ(shown.size(), 20u);
    CliResult all = home.Run({"search", "--all", "library"});
    const std::vector<std::string> every = LinesOf(all.out);
    ASSERT_GT(every.size(), 20u);
    EXPECT_EQ(std::vector<std::string>(every.begin(), every.begin() + 20), shown);
    EXPECT_EQ(some.err, "20 of " + std::to_string(every.size()) +
                            " commands shown; --all shows every one.\n");
    EXPECT_EQ(all.err, "");
    EXPECT_EQ(home.Run({"search", "--all", "--limit", "3", "library"}).status, 2);
}

// A query that finds nothing is searched as corrected; standard error names
// the words searched, and the exit status is that of a query that found.
TEST_F(CliSearch, ATypingErrorIsCorrectedOnStandardError)
{
    const CliHome& home = Shipped();
    CliResult r = home.Run({"search", "crtlb"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Showing results for crtlib\n");
    ASSERT_FALSE(LinesOf(r.out).empty());
    EXPECT_EQ(LinesOf(r.out)[0], "CRTLIB\tCreate Library\tname");
    r = home.Run({"search", "--all", "spooled", "fils"});
    EXPECT_EQ(r.err, "Showing results for spooled files\n");
    r = home.Run({"search", "xyzzyplugh"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
}

// Every shipped command is the first hit for its own name, and for its own
// title unless another command has the same title (aliases such as MD and
// MKDIR), whose hit then comes first; in both engines.
TEST_F(CliSearch, EveryCommandIsFirstForItsNameAndTitle)
{
    const CliHome& home = Shipped();
    const std::string previous = GetAppPath();
    SetAppPath(home.Path());
    CLCmdManager m{CLOptions{kRunModeRead}};
    ASSERT_TRUE(m.LoadCmdIdxList());
    CLSearchIndex index;
    ASSERT_TRUE(index.Build(m));
    std::vector<std::pair<std::string, std::string>> commands; // name, title
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx()) {
        const CLCmdRecord* pRec = m.AttachCmdRecord(p);
        ASSERT_TRUE(pRec);
        commands.emplace_back(p->szName, pRec->szDesc);
    }
    ASSERT_GT(commands.size(), 1000u);
    auto first = [&](const std::string& query, size_t k) {
        CLSearch::Results r = index.Find(query, 1);
        std::string name = r.hits.empty() ? "" : r.hits[0].name;
        if (k % 10 == 0) { // the scan on a share of them: it reads the records each time
            std::string why;
            EXPECT_TRUE(CLSearchScan::Run(m, query, 1, &r, &why)) << why;
            EXPECT_EQ(r.hits.empty() ? "" : r.hits[0].name, name) << query;
        }
        return r.hits.empty() ? CLSearch::Hit() : r.hits[0];
    };
    size_t nWrong = 0;
    for (size_t k = 0; k < commands.size(); ++k) {
        const auto& [name, title] = commands[k];
        const CLSearch::Hit byName = first(name, k);
        EXPECT_EQ(byName.name, name);
        const CLSearch::Hit byTitle = first(title, k);
        if (byTitle.name != name && byTitle.title != title) {
            ADD_FAILURE() << "\"" << title << "\" finds " << byTitle.name << " before " << name;
            ++nWrong;
        }
    }
    EXPECT_EQ(nWrong, 0u);
    SetAppPath(previous);
}
