// lint and format run as users run them: exit statuses, the three report
// forms, and members rewritten only when asked and only when safe.
#include "CliHome.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char* const kGood = "             PGM        PARM(&LIB)\n"
                          "             DCL        VAR(&LIB) TYPE(*CHAR) LEN(10)\n"
                          "             CRTLIB     LIB(&LIB)\n"
                          "             ENDPGM\n";
const char* const kBad = "PGM\nCRTLIB LIB(A) BOGUS(1)\nENDDO\nMYOWN\n";

const char* const kList = "[01] - Programs\n"
                          "PGM - Program\nDCL - Declare CL Variable\nENDPGM - End Program\n"
                          "ENDDO - End Do\nCRTLIB - Create Library\n";

QJsonObject Json(const std::string& text)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

} // namespace

TEST(CliSource, LintReportsInTheFormCompilersUse)
{
    CliHome home;
    home.Import(kList);
    WriteText(home.File("good.clle"), kGood);
    WriteText(home.File("bad.clle"), kBad);
    CliResult r = home.Run({"lint", home.File("good.clle")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lint: 1 file: 0 errors, 0 warnings, 0 notes.\n");

    const std::string bad = home.File("bad.clle");
    r = home.Run({"lint", bad, home.File("good.clle")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(LinesOf(r.out),
              (std::vector<std::string>{
                  bad + ":3:1: error: ENDDO has no DO group to end. [unmatched-enddo]",
                  bad + ":4:1: warning: MYOWN is not a command of this reference. "
                        "[unknown-command]"}));
    EXPECT_EQ(r.err, "lint: 2 files: 1 error, 1 warning, 0 notes.\n");

    r = home.Run({"lint", home.File("missing.clle"), home.File("good.clle")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.clle\" cannot be read."), std::string::npos);
    EXPECT_EQ(home.Run({"lint", "--format", "xml", home.File("good.clle")}).status, 2);
}

TEST(CliSource, LintAsJsonAndSarif)
{
    CliHome home;
    home.Import(kList);
    WriteText(home.File("bad.clle"), kBad);
    CliResult r = home.Run({"lint", "--format", "json", home.File("bad.clle")});
    EXPECT_EQ(r.status, 1);
    const QJsonObject json = Json(r.out);
    EXPECT_EQ(json["version"].toInt(), 1);
    const QJsonObject first =
        json["files"].toArray()[0].toObject()["diagnostics"].toArray()[0].toObject();
    EXPECT_EQ(first["line"].toInt(), 3);
    EXPECT_EQ(first["column"].toInt(), 1);
    EXPECT_EQ(first["endColumn"].toInt(), 6);
    EXPECT_EQ(first["severity"].toString(), "error");
    EXPECT_EQ(first["code"].toString(), "unmatched-enddo");
    EXPECT_EQ(json["summary"].toObject()["warnings"].toInt(), 1);

    r = home.Run({"lint", "--format", "sarif", home.File("bad.clle")});
    const QJsonObject sarif = Json(r.out);
    EXPECT_EQ(sarif["version"].toString(), "2.1.0");
    const QJsonObject run = sarif["runs"].toArray()[0].toObject();
    EXPECT_EQ(run["tool"].toObject()["driver"].toObject()["name"].toString(), "zentrivo-cli");
    const QJsonArray results = run["results"].toArray();
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results[1].toObject()["level"].toString(), "warning");
    EXPECT_EQ(results[1].toObject()["ruleId"].toString(), "unknown-command");
    const QJsonObject where =
        results[0].toObject()["locations"].toArray()[0].toObject()["physicalLocation"].toObject();
    const QString uri = where["artifactLocation"].toObject()["uri"].toString();
    EXPECT_TRUE(uri.startsWith("file:///") && uri.endsWith("/bad.clle")) << uri.toStdString();
    EXPECT_EQ(where["region"].toObject()["startLine"].toInt(), 3);
}

TEST(CliSource, FormatWritesOnlyWhenAskedAndSafe)
{
    CliHome home;
    WriteText(home.File("a.clle"), "pgm\n chgvar &a 1 /* one */\nendpgm\n");
    WriteText(home.File("broken.clle"), "PGM\n/* never closed\n");
    const std::string a = home.File("a.clle"), broken = home.File("broken.clle");
    CliResult r = home.Run({"format", a});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string formatted = "             PGM\n"
                                  "             CHGVAR     &A 1 /* one */\n"
                                  "             ENDPGM\n";
    EXPECT_EQ(r.out, formatted);
    EXPECT_EQ(ReadText(home.File("a.clle")), "pgm\n chgvar &a 1 /* one */\nendpgm\n");

    r = home.Run({"format", "--check", a});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, a + ": would be reformatted\n");
    EXPECT_EQ(home.Run({"format", "--in-place", a}).status, 0);
    EXPECT_EQ(ReadText(home.File("a.clle")), formatted);
    EXPECT_EQ(home.Run({"format", "--check", a}).status, 0);

    r = home.Run({"format", "--in-place", broken});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2: A comment is not closed."), std::string::npos);
    EXPECT_EQ(ReadText(home.File("broken.clle")), "PGM\n/* never closed\n");
    EXPECT_EQ(home.Run({"format", "--margin", "10", a}).status, 2);
    EXPECT_EQ(home.Run({"format", "--check", "--in-place", a}).status, 2);
}

// Programs written as shops write them pass the checks of the shipped
// reference without a single finding: no false errors on valid code.
TEST(SampleSources, ValidMembersLintClean)
{
    CliHome home;
    ASSERT_EQ(home.Run({"import", "--records", ReferenceDir() + "/clcmd.txt"}).status, 0);
    ASSERT_EQ(home.Run({"load", ReferenceDir() + "/records"}).status, 0);
    std::vector<std::string> args = {"--run-mode", "1", "lint"};
    for (const auto& e : std::filesystem::directory_iterator(std::string(ZENTRIVO_SOURCE_DIR) +
                                                             "/src/source/tests/data/valid"))
        args.push_back(e.path().string());
    ASSERT_GT(args.size(), 3u);
    const CliResult r = home.Run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
}
