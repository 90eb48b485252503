// search and msgid on the shipped reference, and the two search engines
// agreeing on it word for word.
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
