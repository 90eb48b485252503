// The settings file: defaults, what is written back, and what is read.
#include "AppSettings.h"
#include "GuiFixture.h"
#include "ShellOpen.h"
#include "apputil.h"

#include <QTest>

namespace {

QStringList SortedLines(const std::string& text)
{
    QStringList lines = QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void firstRunDefaults();
    void valuesAreReadAndWrittenBack();
    void shellOpenNeedsATarget();
};

void SettingsTest::firstRunDefaults()
{
    GuiFixture f;
    AppSettings.RunMode = 9;
    LoadSettings();
    QCOMPARE(AppSettings.RunMode, 2);
    QCOMPARE(AppSettings.DataMode, 1);
    QCOMPARE(AppSettings.LastCat, 0);
    QCOMPARE(QString(AppSettings.LastCmd), QString());
    SaveSettings();
    QCOMPARE(SortedLines(f.Settings()),
             QStringList({"DataMode=1", "LastCat=0", "LastCmd=", "RunMode=2", "[Zentrivo]"}));
    QCOMPARE(GetSettingsFileName(), f.home.File("tarvexa.ini"));
}

void SettingsTest::valuesAreReadAndWrittenBack()
{
    GuiFixture f;
    WriteText(f.home.File("tarvexa.ini"),
              "[Other]\nRunMode=1\n[Zentrivo]\nRunMode=3\nDataMode=77\nLastCat=12abc\n"
              "LastCmd=WRKOBJPDMX\n");
    LoadSettings();
    QCOMPARE(AppSettings.RunMode, 3);
    QCOMPARE(AppSettings.DataMode, 77);
    QCOMPARE(AppSettings.LastCat, 12); // leading digits, as the profile functions read them
    QCOMPARE(QString(AppSettings.LastCmd), QString("WRKOBJPDMX"));
    QCOMPARE(GetImportFile(), f.home.File("clcmd.txt"));
    QCOMPARE(GetHtmlFolder(), f.home.File("html/"));
    SaveSettings();
    LoadSettings();
    QCOMPARE(AppSettings.RunMode, 3);
    QCOMPARE(AppSettings.DataMode, 77);
    QCOMPARE(QString(AppSettings.LastCmd), QString("WRKOBJPDMX"));

    // A longer name is cut to 10; the chosen import file and folder are kept.
    WriteText(f.home.File("tarvexa.ini"), "[Zentrivo]\nLastCmd=ABCDEFGHIJK\n");
    LoadSettings();
    QCOMPARE(QString(AppSettings.LastCmd), QString("ABCDEFGHIJ"));
    AppSettings.ImportFile = "/somewhere/list.txt";
    AppSettings.HtmlFolder = "/somewhere/site";
    SaveSettings();
    LoadSettings();
    QCOMPARE(GetImportFile(), std::string("/somewhere/list.txt"));
    QCOMPARE(GetHtmlFolder(), std::string("/somewhere/site"));
    QVERIFY(f.Settings().find("[Other]") == std::string::npos);
}

void SettingsTest::shellOpenNeedsATarget()
{
    GuiFixture f;
    QCOMPARE(ShellOpen(nullptr), 0);
    QCOMPARE(ShellOpen(""), 0);
    QVERIFY(f.opened.isEmpty());
    QCOMPARE(ShellOpen("https://www.zentrivo.example/"), 1);
    QCOMPARE(f.opened, QStringList({"https://www.zentrivo.example/"}));
}

QObject* NewSettingsTest()
{
    return new SettingsTest;
}

#include "SettingsTest.moc"
