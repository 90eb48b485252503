// The window's reading aids: search (Ctrl+F, results as you type, Enter shows
// the command on the page and row where it matched), history (Alt+Left,
// Alt+Right) and text zoom.
#include "AppSettings.h"
#include "GuiFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

void Sample(GuiFixture& f, int runMode = 2)
{
    f.AddCategory(1, "Libraries", "lib.htm");
    f.AddCategory(2, "Spool", "spool.htm");
    f.AddCommand({"CRTLIB",
                  1,
                  "Create Library",
                  {{"LIB", "Library", "Name", "Required"}, {"TYPE", "Library type", "*PROD", ""}},
                  {{"CPF2111", "Library exists."}},
                  "Adds a library.",
                  "CRTLIB LIB(X)"});
    f.AddCommand({"DSPLIB", 1, "Display Library"});
    f.AddCommand({"WRKSPLF",
                  2,
                  "Work with Spooled Files",
                  {{"SELECT", "Select files for", "*CURRENT", ""},
                   {"OUTQ", "Output queue", "Name, *ALL", ""}},
                  {{"CPF3303", "File not found."}, {"CPF2111", "No library of that name."}}});
    f.WriteDatabase();
    f.WriteSettings(runMode);
}

// Activates the window and types a search; the results' first column.
QStringList Search(GuiFixture& f, const QString& text)
{
    f.window()->activateWindow();
    // Offscreen windows may not report activation; the keys go to the focus anyway.
    (void)QTest::qWaitForWindowActive(f.window());
    // Ctrl+F from whatever has the focus (at first "Go to Command:").
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    auto* field = f.Find<QLineEdit>("edtFind");
    field->clear();
    // The index is built off the window's thread; a loaded machine may take a while.
    if (!f.window()->WaitForSearchIndex(30000))
        QTest::qFail("the search index was not built in time", __FILE__, __LINE__);
    QTest::keyClicks(field, text);
    return f.Rows("lvFind");
}

// The line above the results, or "" when it is hidden.
QString Count(GuiFixture& f)
{
    auto* count = f.Find<QLabel>("lblFindCount");
    return count->isVisible() ? count->text() : QString();
}

// The texts a memo's search marks cover.
QStringList Marked(GuiFixture& f, const char* memo)
{
    QStringList marked;
    for (const QTextEdit::ExtraSelection& mark : f.Find<QPlainTextEdit>(memo)->extraSelections())
        marked << mark.cursor.selectedText();
    return marked;
}

// Whether a widget shows the marks' colour somewhere.
bool HasMarks(QWidget* w)
{
    const QImage image = w->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(255, 208, 64))
                return true;
    return false;
}

QString Page(GuiFixture& f)
{
    return f.Find<QTabWidget>("pClient")->currentWidget()->objectName();
}

} // namespace

class ReadingAidsTest : public QObject
{
    Q_OBJECT
private slots:
    void ctrlFSearchesAsYouType();
    void enterShowsThePageAndRow();
    void countAndCorrection();
    void messageIdOffersAMonitorLine();
    void matchedWordsAreMarkedOnThePage();
    void historyStepsBackAndForth();
    void zoomScalesThePagesAndIsRemembered();
};

void ReadingAidsTest::ctrlFSearchesAsYouType()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    QCOMPARE(Search(f, "lib"), QStringList({"CRTLIB", "DSPLIB", "WRKSPLF"}));
    QCOMPARE(QApplication::focusWidget(), f.Find<QWidget>("edtFind"));
    QVERIFY(f.Find<QTreeWidget>("lvFind")->isVisible());
    QCOMPARE(f.Rows("lvFind", 2), QStringList({"title", "title", "error CPF2111"}));
    QCOMPARE(Search(f, "xyz"), QStringList({""})); // one row that says nothing was found
    // Escape leaves the field and hides the results.
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Escape);
    QVERIFY(!f.Find<QTreeWidget>("lvFind")->isVisible());
    QVERIFY(!f.Find<QLabel>("lblFindCount")->isVisible());
    QVERIFY(QApplication::focusWidget() != f.Find<QWidget>("edtFind"));
    QCOMPARE(f.Shown(), QString("CRTLIB")); // nothing shown changed
}

void ReadingAidsTest::enterShowsThePageAndRow()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.PickCategory(1); // Libraries: WRKSPLF is not listed
    QCOMPARE(Search(f, "outq"), QStringList({"WRKSPLF"}));
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(f.Shown(), QString("WRKSPLF"));
    QCOMPARE(f.Find<QComboBox>("cbCate")->currentIndex(), 0); // switched to All
    QCOMPARE(Page(f), QString("tParam"));
    auto* params = f.Find<QTreeWidget>("lvParam");
    QCOMPARE(params->indexOfTopLevelItem(params->currentItem()), 1);
    QCOMPARE(QString(AppSettings.LastCmd), QString("WRKSPLF"));

    // Down chooses the next result; a hit in the examples opens that page.
    Search(f, "lib(x)");
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    QCOMPARE(Page(f), QString("tExample"));
    QCOMPARE(Search(f, "library"), QStringList({"CRTLIB", "DSPLIB", "WRKSPLF"}));
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Down);
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Down);
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(f.Shown(), QString("WRKSPLF"));
    QCOMPARE(Page(f), QString("tErrorMsg"));
    auto* errors = f.Find<QTreeWidget>("lvError");
    QCOMPARE(errors->indexOfTopLevelItem(errors->currentItem()), 1);
}

void ReadingAidsTest::countAndCorrection()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    Search(f, "lib");
    QCOMPARE(Count(f), QString("3 commands"));
    // The count sits between the field and the results.
    auto* count = f.Find<QLabel>("lblFindCount");
    QCOMPARE(count->geometry().bottom() + 1, f.Find<QTreeWidget>("lvFind")->geometry().top());
    Search(f, "crtlib");
    QCOMPARE(Count(f), QString("1 command"));
    Search(f, "xyz");
    QCOMPARE(Count(f), QString()); // the row says nothing was found
    // A misspelt word is searched as the closest one, and the line says so.
    QCOMPARE(Search(f, "spoled"), QStringList({"WRKSPLF"}));
    QCOMPARE(Count(f), QString("Showing results for <b>spooled</b> \u00b7 1 command"));
    // The page marks the corrected word, not the one typed.
    QCOMPARE(Search(f, "libary"), QStringList({"CRTLIB", "DSPLIB", "WRKSPLF"}));
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(Marked(f, "memDetail"), QStringList({"library"}));
    QVERIFY(HasMarks(f.Find<QWidget>("edtDesc"))); // "Create Library"
    f.window()->SelectCommand("DSPLIB");
    QVERIFY(!HasMarks(f.Find<QWidget>("edtDesc")));
}

void ReadingAidsTest::messageIdOffersAMonitorLine()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // Each command once: sending the message and listing it as an error are one row.
    QCOMPARE(Search(f, "cpf2111"), QStringList({"MONMSG", "MONMSG", "CRTLIB", "WRKSPLF"}));
    QCOMPARE(f.Rows("lvFind", 1).mid(0, 2),
             QStringList({"MSGID(CPF2111)", "MSGID(CPF2111) EXEC(GOTO CMDLBL(ERROR))"}));
    QCOMPARE(f.Rows("lvFind", 1).at(3), QString("No library of that name.")); // WRKSPLF's text
    QCOMPARE(f.Rows("lvFind", 2).mid(2), QStringList({"sends it", "sends it"}));
    QCOMPARE(Count(f), QString("2 commands"));
    // Enter on a MONMSG row copies its line.
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(QApplication::clipboard()->text(), QString("MONMSG MSGID(CPF2111)"));
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Down);
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(QApplication::clipboard()->text(),
             QString("MONMSG MSGID(CPF2111) EXEC(GOTO CMDLBL(ERROR))"));
}

void ReadingAidsTest::matchedWordsAreMarkedOnThePage()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    Search(f, "lib(x)");
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(Page(f), QString("tExample"));
    QCOMPARE(Marked(f, "memExample"), QStringList({"LIB", "X"})); // not CRTLIB
    // In a list, the cells that hold a matched word.
    Search(f, "outq");
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QTreeWidgetItem* outq = f.Find<QTreeWidget>("lvParam")->topLevelItem(1);
    QCOMPARE(outq->background(0).style(), Qt::SolidPattern);
    QCOMPARE(outq->background(1).style(), Qt::NoBrush); // "Output queue"
    QCOMPARE(f.Find<QTreeWidget>("lvParam")->topLevelItem(0)->background(0).style(), Qt::NoBrush);
    // A command shown otherwise has no marks.
    Search(f, "adds");
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(Marked(f, "memDetail"), QStringList({"Adds"}));
    f.window()->SelectCommand("DSPLIB");
    f.window()->SelectCommand("CRTLIB");
    QCOMPARE(Marked(f, "memDetail"), QStringList());
}

void ReadingAidsTest::historyStepsBackAndForth()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.window()->SelectCommand("DSPLIB");
    f.ClickListRow(2); // WRKSPLF
    Search(f, "crtlib");
    QTest::keyClick(f.Find<QLineEdit>("edtFind"), Qt::Key_Return);
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("WRKSPLF"));
    QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("DSPLIB"));
    QTest::keyClick(f.window(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("WRKSPLF"));
    // The mouse's back button does the same.
    QTest::mouseClick(f.Find<QWidget>("lbCommand")->findChild<QWidget*>("qt_scrollarea_viewport"),
                      Qt::BackButton);
    QCOMPARE(f.Shown(), QString("DSPLIB"));
    // Showing another command drops the way forward.
    f.window()->SelectCommand("CRTLIB");
    QTest::keyClick(f.window(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("CRTLIB"));
}

void ReadingAidsTest::zoomScalesThePagesAndIsRemembered()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    auto* detail = f.Find<QPlainTextEdit>("memDetail");
    const qreal base = detail->font().pointSizeF();
    const QSize size = f.window()->size();
    f.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window()));
    QTest::keyClick(f.window(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(f.window(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(detail->font().pointSizeF(), base + 2);
    QCOMPARE(f.Find<QTreeWidget>("lvParam")->font().pointSizeF(),
             f.Find<QTreeWidget>("lvError")->font().pointSizeF());
    QCOMPARE(f.window()->size(), size);
    f.Close();
    QVERIFY(f.Settings().find("TextZoom=2") != std::string::npos);
    f.Open();
    detail = f.Find<QPlainTextEdit>("memDetail");
    QCOMPARE(detail->font().pointSizeF(), base + 2);
    f.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window()));
    QTest::keyClick(f.window(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(detail->font().pointSizeF(), base);
}

QObject* NewReadingAidsTest()
{
    return new ReadingAidsTest;
}

#include "ReadingAidsTest.moc"
