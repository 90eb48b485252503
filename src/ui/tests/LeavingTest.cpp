// No edit is lost when the command shown changes: every way of leaving an
// edited command asks Save, Discard or Cancel and does what the answer says;
// Build settles the edit first; the history starts with the first command
// and a walk through the list with the keys is one step of it.
#include "AppSettings.h"
#include "CLCmdManager.h"
#include "GuiFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

void Sample(GuiFixture& f, int runMode = 1)
{
    f.AddCategory(1, "Libraries", "lib.htm");
    f.AddCategory(2, "Jobs", "job.htm");
    f.AddCommand({"AAA", 1, "First", {{"P1", "One", "Name", "Required"}}, {}, "Original"});
    f.AddCommand({"BBB", 1, "Second"});
    f.AddCommand({"CCC", 1, "Third"});
    f.AddCommand({"SBMJOB", 2, "Submit Job"});
    f.WriteDatabase();
    f.WriteSettings(runMode);
}

QString DetailOnDisk(GuiFixture& f, const char* name)
{
    CLCmdIndex e = MakeIdx(name);
    RecordPtr rec = NewRecord(&e);
    CLCmdManager m(CurrentOptions());
    m.ReadCmdRecord(rec.get());
    (void)f;
    return rec->pszDetail ? QString::fromLatin1(rec->pszDetail) : QString();
}

// Whether a popup menu opened since CloseNextPopup.
bool g_bPopupOpened = false;

// Closes the popup menu that opens next (once it is open), noting that it did.
void CloseNextPopup()
{
    g_bPopupOpened = false;
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            g_bPopupOpened = qobject_cast<QMenu*>(popup) != nullptr;
            popup->close();
        }
    });
}

void Focus(GuiFixture& f, QWidget* w)
{
    f.window()->activateWindow();
    (void)QTest::qWaitForWindowActive(f.window());
    w->setFocus(Qt::OtherFocusReason);
}

struct Way
{
    const char* name;
    std::function<void(GuiFixture&)> prepare; // before the edit (AAA is shown)
    std::function<void(GuiFixture&)> leave;
    enum After
    {
        Another, // another command is shown
        Closes,  // the window closes
        Reloads  // the reference is read anew (the same command may be shown again)
    } after = Another;
};

std::vector<Way> WaysOfLeaving()
{
    auto none = [](GuiFixture&) {};
    auto backAndForth = [](GuiFixture& f) {
        f.window()->SelectCommand("BBB");
        f.window()->SelectCommand("AAA");
    };
    return {
        {"list click", none, [](GuiFixture& f) { f.ClickListRow(1); }},
        {"list key", none,
         [](GuiFixture& f) {
             auto* list = f.Find<QListView>("lbCommand");
             Focus(f, list);
             QTest::keyClick(list, Qt::Key_Down);
             QApplication::processEvents();
         }},
        {"Go to Command", none,
         [](GuiFixture& f) { QTest::keyClicks(f.Find<QLineEdit>("edtCommand"), "C"); }},
        {"search hit", none,
         [](GuiFixture& f) {
             auto* find = f.Find<QLineEdit>("edtFind");
             Focus(f, find);
             if (!f.window()->WaitForSearchIndex(30000))
                 QTest::qFail("no search index", __FILE__, __LINE__);
             QTest::keyClicks(find, "second");
             QTest::keyClick(find, Qt::Key_Return);
         }},
        {"Alt+Left", backAndForth,
         [](GuiFixture& f) { QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier); }},
        {"mouse back button", backAndForth,
         [](GuiFixture& f) {
             QTest::mouseClick(f.Find<QListView>("lbCommand")->viewport(), Qt::BackButton);
         }},
        {"Alt+Right",
         [](GuiFixture& f) {
             f.window()->SelectCommand("BBB");
             QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier); // back to AAA
         },
         [](GuiFixture& f) { QTest::keyClick(f.window(), Qt::Key_Right, Qt::AltModifier); }},
        {"Back button", backAndForth,
         [](GuiFixture& f) { f.Find<QPushButton>("btnBack")->click(); }},
        {"category change", none, [](GuiFixture& f) { f.PickCategory(2); }},
        {"Add Command", none,
         [](GuiFixture& f) {
             f.dialogAnswers.push_back([](QDialog* d) {
                 static_cast<QInputDialog*>(d)->setTextValue("NEWCMD");
                 return int(QDialog::Accepted);
             });
             f.window()->pmiAddCmdClick();
         }},
        {"right-click on another row", none,
         [](GuiFixture& f) {
             auto* list = f.Find<QListView>("lbCommand");
             CloseNextPopup();
             const QRect row = list->visualRect(list->model()->index(2, 0));
             emit list->customContextMenuRequested(row.center());
         }},
        {"Import", none,
         [](GuiFixture& f) {
             WriteText(f.home.File("list.txt"),
                       "[01] - Libraries\nAAA - First\nBBB - Second\nCCC - Third\n");
             f.chooserAnswers << QString::fromStdString(f.home.File("list.txt"));
             f.answers.insert(f.answers.begin(), QMessageBox::Yes); // "Analyze File replaces..."
             f.window()->pmiAnalyzeClick();
         },
         Way::Reloads},
        {"Exit", none, [](GuiFixture& f) { f.Find<QPushButton>("btnExit")->click(); }, Way::Closes},
    };
}

} // namespace

class LeavingTest : public QObject
{
    Q_OBJECT
private slots:
    void everyWayOfLeavingAsks();
    void aSaveThatIsRefusedKeepsTheCommand();
    void buildSettlesTheEditFirst();
    void renamedThenAddedStartsEmpty();
    void historyStartsWithTheFirstCommandAndSettles();
    void popupMenusOpenFromTheKeyboard();
};

void LeavingTest::everyWayOfLeavingAsks()
{
    for (const Way& way : WaysOfLeaving()) {
        for (QMessageBox::StandardButton answer :
             {QMessageBox::Cancel, QMessageBox::Discard, QMessageBox::Save}) {
            const QByteArray what = QByteArray(way.name) + " / " +
                                    (answer == QMessageBox::Cancel    ? "Cancel"
                                     : answer == QMessageBox::Discard ? "Discard"
                                                                      : "Save");
            GuiFixture f;
            Sample(f);
            f.Open();
            way.prepare(f);
            QCOMPARE(f.Shown(), QString("AAA"));
            f.Find<QPlainTextEdit>("memDetail")->setPlainText("Edited");
            f.answers.push_back(answer);
            way.leave(f);
            QVERIFY2(f.answers.empty(), what.constData());
            QVERIFY2(f.questions.back().text.contains("AAA"), what.constData());
            QCOMPARE(f.questions.back().buttons,
                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            const QString onDisk = DetailOnDisk(f, "AAA");
            if (answer == QMessageBox::Cancel) {
                // The command and its edit stay, its row highlighted.
                QVERIFY2(f.window()->isVisible(), what.constData());
                QVERIFY2(f.Shown() == "AAA", what.constData());
                QVERIFY2(f.Find<QPlainTextEdit>("memDetail")->toPlainText() == "Edited",
                         what.constData());
                QVERIFY2(f.ListItems().value(f.SelectedListRow()) == "AAA", what.constData());
                QVERIFY2(!f.window()->UnsavedWork().isEmpty(), what.constData());
                QVERIFY2(onDisk == "Original", what.constData());
                f.dialogAnswers.clear();
                f.answers.push_back(QMessageBox::Discard); // the fixture's close
                continue;
            }
            QVERIFY2(onDisk == (answer == QMessageBox::Save ? "Edited" : "Original"),
                     qPrintable(what + ": " + onDisk));
            if (way.after == Way::Closes)
                QVERIFY2(!f.window()->isVisible(), what.constData());
            else if (way.after == Way::Another)
                QVERIFY2(f.Shown() != "AAA", qPrintable(what + ": " + f.Shown()));
            if (way.after != Way::Closes)
                QVERIFY2(f.window()->UnsavedWork().filter("AAA").isEmpty(), what.constData());
        }
    }
}

void LeavingTest::aSaveThatIsRefusedKeepsTheCommand()
{
    // A rename onto another command is refused: the edits stay and nothing is shown instead.
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QLineEdit>("edtName")->setText("BBB");
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Edited");
    f.answers.push_back(QMessageBox::Save);
    f.ClickListRow(2);
    QCOMPARE(f.MessageTexts(), QStringList({"CL Command \"BBB\" is already in the database."}));
    QCOMPARE(f.Shown(), QString("BBB")); // the edited name, still on screen
    QCOMPARE(QString(f.window()->GetCurIdx()->szName), QString("AAA"));
    QCOMPARE(f.SelectedListRow(), 0);
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString("Edited"));
    f.answers.push_back(QMessageBox::Discard);
}

void LeavingTest::buildSettlesTheEditFirst()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    const Bytes joined = ReadBytes(f.home.File("clcmd.dat"));
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Built in");
    f.answers.push_back(QMessageBox::Cancel);
    f.window()->pmiBuildDataClick();
    QCOMPARE(ReadBytes(f.home.File("clcmd.dat")), joined); // nothing built
    QVERIFY(f.messages.empty());
    f.answers.push_back(QMessageBox::Save);
    f.window()->pmiBuildDataClick();
    QCOMPARE(f.MessageTexts(), QStringList({"Data Building Finished."}));
    f.Close();
    // A reader of the joined file sees the edit.
    f.WriteSettings(2);
    f.Open();
    QCOMPARE(f.Shown(), QString("AAA"));
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString("Built in"));
}

void LeavingTest::renamedThenAddedStartsEmpty()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QLineEdit>("edtName")->setText("AAAX");
    f.window()->pmiSaveCmdClick();
    QCOMPARE(f.ListItems(), QStringList({"AAAX", "BBB", "CCC", "SBMJOB"}));
    QVERIFY(!FileExists(f.home.File("data/AAA.dat")));
    f.dialogAnswers.push_back([](QDialog* d) {
        static_cast<QInputDialog*>(d)->setTextValue("AAA");
        return int(QDialog::Accepted);
    });
    f.window()->pmiAddCmdClick();
    QCOMPARE(f.Shown(), QString("AAA"));
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString());
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString());
    QVERIFY(f.Rows("lvParam").isEmpty());
    f.answers.push_back(QMessageBox::Save); // the index, at Exit
    f.window()->close();
    f.Close();
    // Read anew from the files: still empty, and AAAX has the old record.
    f.Open();
    f.window()->SelectCommand("AAA");
    QCOMPARE(f.Shown(), QString("AAA"));
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString());
    f.window()->SelectCommand("AAAX");
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString("Original"));
}

void LeavingTest::historyStartsWithTheFirstCommandAndSettles()
{
    GuiFixture f;
    Sample(f, 2);
    f.Open();
    // The command shown at start is the first step back.
    f.window()->SelectCommand("CCC");
    QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("AAA"));
    QTest::keyClick(f.window(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("CCC"));
    // Walking up the list with the keys passes BBB without a step of its own.
    auto* list = f.Find<QListView>("lbCommand");
    Focus(f, list);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    QApplication::processEvents();
    QCOMPARE(f.Shown(), QString("AAA"));
    QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("CCC"));
    QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("AAA")); // the start, not BBB
    // A command shown for a moment joins the history by itself.
    Focus(f, list);
    QTest::keyClick(list, Qt::Key_Down);
    QApplication::processEvents();
    QCOMPARE(f.Shown(), QString("BBB"));
    QTest::qWait(1300);
    f.window()->SelectCommand("SBMJOB");
    QTest::keyClick(f.window(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(f.Shown(), QString("BBB"));
}

void LeavingTest::popupMenusOpenFromTheKeyboard()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    auto* params = f.Find<QTreeWidget>("lvParam");
    f.SelectRow("lvParam", 0);
    for (auto [key, modifiers] :
         {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        CloseNextPopup();
        Focus(f, params);
        QTest::keyClick(params, key, modifiers);
        QVERIFY(g_bPopupOpened);
        CloseNextPopup();
        auto* list = f.Find<QListView>("lbCommand");
        Focus(f, list);
        QTest::keyClick(list, key, modifiers);
        QVERIFY(g_bPopupOpened);
    }
    // A reader has no popup menus to open.
    f.Close();
    f.WriteSettings(2);
    f.Open();
    CloseNextPopup();
    params = f.Find<QTreeWidget>("lvParam");
    Focus(f, params);
    QTest::keyClick(params, Qt::Key_F10, Qt::ShiftModifier);
    QApplication::processEvents(); // the pending close finds no popup
    QVERIFY(!g_bPopupOpened);
}

QObject* NewLeavingTest()
{
    return new LeavingTest;
}

#include "LeavingTest.moc"
