// The shipped sample reference: every source file loads into a fresh program
// folder without a refusal, a message or a value cut to fit.
#include "CliHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

TEST(SampleSources, ListFitsTheFields)
{
    std::istringstream list(ReadText(ZENTRIVO_REFERENCE_DIR "/clcmd.txt"));
    std::string line;
    int nLine = 0, nCommands = 0;
    while (std::getline(list, line)) {
        ++nLine;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t sep = line.find(" - ");
        if (sep == std::string::npos)
            continue;
        const std::string title = line.substr(sep + 3);
        if (line[0] == '[') {
            EXPECT_LE(title.size(), 79u) << "line " << nLine << ": category name";
        } else {
            ++nCommands;
            EXPECT_LE(sep, 10u) << "line " << nLine << ": command name";
            EXPECT_LE(title.size(), 255u) << "line " << nLine << ": title";
        }
    }
    EXPECT_GT(nCommands, 0);
}

TEST(SampleSources, LoadIntoAFreshFolderWithoutRefusals)
{
    CliHome home;
    CliResult r = home.Run({"import", "--records", ZENTRIVO_REFERENCE_DIR "/clcmd.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string listed = home.Run({"list"}).out;

    r = home.Run({"load", ZENTRIVO_REFERENCE_DIR "/records"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Every record belongs to a command of the list.
    EXPECT_EQ(home.Run({"list"}).out, listed);
    home.Build();
    r = home.Run({"check"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");

    size_t nRecords = 0;
    for (const auto& entry : fs::directory_iterator(ZENTRIVO_REFERENCE_DIR "/records"))
        nRecords += entry.path().extension() == ".yaml";
    EXPECT_GT(nRecords, 0u);
}
