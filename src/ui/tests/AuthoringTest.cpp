// Authoring never loses work: renames, unsaved work at Exit, the question
// before Analyze File, new command names, and what the window shows.
#include "AppSettings.h"
#include "CLCmdManager.h"
#include "GuiFixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace {

void Sample(GuiFixture& f, int runMode = 1)
{
    f.AddCategory(1, "Libraries", "lib.htm");
    f.AddCategory(2, "Jobs", "job.htm");
    f.AddCommand({"AAA", 1, "First", {{"P1", "One", "Name", "Required"}}});
    f.AddCommand({"BBB", 1, "Second"});
    f.AddCommand({"SBMJOB", 2, "Submit Job"});
    f.WriteDatabase();
    f.WriteSettings(runMode);
}

RecordPtr ReadFile(const std::string& file)
{
    int32_t old = AppSettings.RunMode;
    AppSettings.RunMode = 1;
    static CLCmdIndex e;
    e = MakeIdx("X");
    CopyField(e.szFileName, file);
    RecordPtr rec = NewRecord(&e);
    CLCmdManager m(CurrentOptions());
    m.ReadCmdRecord(rec.get());
    AppSettings.RunMode = old;
    return rec;
}

// Types name into the Add Command prompt and presses OK; returns whether it closed.
std::function<int(QDialog*)> TypeName(const QString& name, bool* pClosed, QString* pLabel = nullptr)
{
    return [=](QDialog* d) {
        auto* input = static_cast<QInputDialog*>(d);
        if (pLabel)
            *pLabel = input->labelText();
        auto* edit = input->findChild<QLineEdit*>();
        edit->clear();
        QTest::keyClicks(edit, name);
        input->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        *pClosed = input->result() == QDialog::Accepted;
        return input->result();
    };
}

} // namespace

class AuthoringTest : public QObject
{
    Q_OBJECT
private slots:
    void renameOntoAnotherCommandIsRefused();
    void renamedCommandReachesTheJoinedFile();
    void exitAsksAboutUnsavedWork();
    void exitSavesEverything();
    void readerExitsWithoutAsking();
    void analyzeFileAsksFirst();
    void statusFollowsDeleteAndImport();
    void addCommandTakesOnlyClNames();
    void focusStartsInGoToCommand();
    void captionsAreExact();
    void anotherProgramsChangeIsNotOverwritten();
    void importCommandDefinitions();
    void noBoxIsOpenWhileTheFolderIsLocked();
    void importInAJoinedRunModeBuilds();
};

void AuthoringTest::renameOntoAnotherCommandIsRefused()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    Bytes before = ReadBytes(f.home.File("data/AAA.dat"));
    f.Find<QLineEdit>("edtName")->setText("BBB");
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Edited");
    f.window()->pmiSaveCmdClick();
    QCOMPARE(f.MessageTexts(), QStringList({"CL Command \"BBB\" is already in the database."}));
    QCOMPARE(f.messages[0].caption, QString("Zentrivo Error"));
    QVERIFY(f.messages[0].bError);
    QCOMPARE(ReadBytes(f.home.File("data/AAA.dat")), before);
    QCOMPARE(QString(f.window()->GetCurIdx()->szName), QString("AAA"));
    // The edit flags stay: back to the old name, the save writes the detail.
    f.Find<QLineEdit>("edtName")->setText("AAA");
    f.window()->pmiSaveCmdClick();
    QCOMPARE(QString(ReadFile("AAA.dat")->pszDetail), QString("Edited"));
    // A new name that is no CL name is refused too.
    f.Find<QLineEdit>("edtName")->setText("A-B");
    f.window()->pmiSaveCmdClick();
    QCOMPARE(f.MessageTexts().last(), QString("Invalid CL Command Name."));
    QVERIFY(!FileExists(f.home.File("data/A-B.dat")));
}

void AuthoringTest::renamedCommandReachesTheJoinedFile()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QLineEdit>("edtName")->setText("ABC");
    f.Find<QLineEdit>("edtDesc")->setText("Renamed");
    f.window()->pmiSaveCmdClick();
    QVERIFY(f.messages.empty());
    QCOMPARE(f.ListItems(), QStringList({"ABC", "BBB", "SBMJOB"}));
    QCOMPARE(f.SelectedListRow(), 0);
    f.window()->pmiBuildDataClick();
    QCOMPARE(f.MessageTexts(), QStringList({"Data Building Finished."}));
    f.Close();
    f.WriteSettings(2);
    f.Open();
    QCOMPARE(f.ListItems(), QStringList({"ABC", "BBB", "SBMJOB"}));
    QCOMPARE(f.Shown(), QString("ABC"));
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("Renamed"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"P1"}));
}

void AuthoringTest::exitAsksAboutUnsavedWork()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // Nothing changed: Exit closes without a question.
    f.Find<QPushButton>("btnExit")->click();
    QVERIFY(!f.window()->isVisible());
    QVERIFY(f.questions.empty());

    f.Open();
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Unsaved");
    f.answers.push_back(QMessageBox::Discard); // leaving the edited command
    f.window()->SelectCommand("SBMJOB");
    f.answers.push_back(QMessageBox::Yes); // "Delete CL Command "SBMJOB"?"
    f.window()->pmiDelCmdClick();
    f.window()->SelectCommand("AAA");
    f.questions.clear();
    f.Find<QLineEdit>("edtDesc")->setText("Changed");
    // Cancel (Escape) keeps the window open.
    f.answers.push_back(QMessageBox::Cancel);
    f.Find<QPushButton>("btnExit")->click();
    QVERIFY(f.window()->isVisible());
    QCOMPARE(f.questions.size(), size_t(1));
    QCOMPARE(f.questions[0].text,
             QString("These changes are not saved yet:\n\nCommands: AAA\nThe command index: "
                     "commands added, renamed or deleted\n\nSave them before Zentrivo closes?"));
    QCOMPARE(f.questions[0].buttons,
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(f.questions[0].escapeButton, QMessageBox::Cancel);
    // Discard closes and writes nothing.
    f.answers.push_back(QMessageBox::Discard);
    f.window()->close();
    QVERIFY(!f.window()->isVisible());
    f.Open();
    QCOMPARE(f.ListItems().size(), 3);
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("First"));
}

void AuthoringTest::exitSavesEverything()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // A category edited in the editor and left without OK.
    f.dialogAnswers.push_back([](QDialog* d) {
        d->findChild<QLineEdit*>("edtName")->setText("Libraries, renamed");
        Click(d, "btnUpdate");
        return 0;
    });
    f.window()->EditCategories();
    // A Properties edit of another command, then edits of the shown one.
    f.SelectRow("lvParam", 0);
    f.dialogAnswers.push_back([](QDialog* d) {
        SetText(d, "edtDesc", "Edited in place");
        Click(d, "btnOK");
        return d->result();
    });
    f.window()->pmiParamPropClick();
    f.answers.push_back(QMessageBox::Save); // leaving AAA saves it
    f.window()->SelectCommand("BBB");
    f.Find<QLineEdit>("edtDesc")->setText("Second, edited");
    f.dialogAnswers.push_back([](QDialog* d) {
        SetText(d, "edtCode", "CPF9801");
        SetText(d, "memDetail", "Not found.");
        Click(d, "btnOK");
        return d->result();
    });
    f.window()->pmiAddErrorClick();
    Bytes joined = ReadBytes(f.home.File("clcmd.dat"));

    f.answers.push_back(QMessageBox::Save);
    f.window()->close();
    QVERIFY(!f.window()->isVisible());
    QVERIFY(f.questions[0].text.contains("The command AAA has changes"));
    QVERIFY(f.questions[1].text.contains("Commands: BBB\n"));
    QVERIFY(f.questions[1].text.contains("\nThe categories\n"));
    QCOMPARE(QString(ReadFile("AAA.dat")->pParams[0].szDesc), QString("Edited in place"));
    RecordPtr bbb = ReadFile("BBB.dat");
    QCOMPARE(QString(bbb->szDesc), QString("Second, edited"));
    QCOMPARE(QString(bbb->pErrors[0].szCode), QString("CPF9801"));
    CLCmdManager m(CurrentOptions());
    QVERIFY(m.LoadAll());
    QCOMPARE(QString(m.FindCat(1)->szName), QString("Libraries, renamed"));
    QCOMPARE(ReadBytes(f.home.File("clcmd.dat")), joined); // not rebuilt

    // A save that fails keeps the window open.
    f.Open();
    f.Find<QLineEdit>("edtDesc")->setText("Cannot be saved");
    std::filesystem::rename(f.home.File("data"), f.home.File("data-away"));
    f.answers.push_back(QMessageBox::Save);
    f.window()->close();
    QVERIFY(f.window()->isVisible());
    QVERIFY(f.MessageTexts().last().endsWith("cannot be written."));
    std::filesystem::rename(f.home.File("data-away"), f.home.File("data"));
}

void AuthoringTest::readerExitsWithoutAsking()
{
    GuiFixture f;
    Sample(f, 2);
    f.Open();
    f.SelectRow("lvParam", 0);
    f.dialogAnswers.push_back([](QDialog* d) {
        SetText(d, "edtDesc", "In memory only");
        Click(d, "btnOK");
        return d->result();
    });
    f.window()->pmiParamPropClick();
    f.window()->close();
    QVERIFY(!f.window()->isVisible());
    QVERIFY(f.questions.empty());
}

void AuthoringTest::analyzeFileAsksFirst()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    std::string list = f.home.File("list.txt");
    WriteText(list, "[05] - Messages\nSNDMSG - Send Message\n");
    Bytes index = ReadBytes(f.home.File("cldict.dat"));
    f.chooserAnswers << QString::fromStdString(list);
    f.answers.push_back(QMessageBox::No);
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.questions.size(), size_t(1));
    QCOMPARE(f.questions[0].text,
             QString("Analyze File replaces the 2 categories and 3 commands of the reference with "
                     "those listed in \"%1\". Do you want to go on?")
                 .arg(QString::fromStdString(list)));
    QCOMPARE(f.questions[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(f.questions[0].defaultButton, QMessageBox::No);
    QCOMPARE(ReadBytes(f.home.File("cldict.dat")), index);
    QCOMPARE(f.ListItems().size(), 3);
    QVERIFY(f.messages.empty());

    f.chooserAnswers << QString::fromStdString(list);
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.ListItems(), QStringList({"SNDMSG"}));
}

void AuthoringTest::statusFollowsDeleteAndImport()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    QCOMPARE(f.window()->StatusText(), QString("All: 3 commands loaded."));
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiDelCmdClick();
    QCOMPARE(f.window()->StatusText(), QString("All: 2 commands loaded."));
    // An import that is refused leaves the status as it was.
    WriteText(f.home.File("empty.txt"), "[01] - Libraries\n");
    f.chooserAnswers << QString::fromStdString(f.home.File("empty.txt"));
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.window()->StatusText(), QString("All: 2 commands loaded."));
    // One that is taken updates it.
    WriteText(f.home.File("one.txt"), "[01] - Libraries\nCRTLIB - Create Library\n");
    f.chooserAnswers << QString::fromStdString(f.home.File("one.txt"));
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.window()->StatusText(), QString("All: 1 commands loaded."));
}

void AuthoringTest::addCommandTakesOnlyClNames()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    bool bClosed = true;
    QString label;
    // Under "All" the prompt names the category; a bad name keeps it open.
    f.dialogAnswers.push_back([&](QDialog* d) {
        for (const char* bad : {"MY CMD!", "1ABC", "_X", "AB-C"}) {
            TypeName(bad, &bClosed, &label)(d);
            if (bClosed)
                return -1;
        }
        return TypeName("#NEW_1", &bClosed)(d);
    });
    f.window()->pmiAddCmdClick();
    QCOMPARE(f.MessageTexts(),
             QStringList({"Invalid CL Command Name.", "Invalid CL Command Name.",
                          "Invalid CL Command Name.", "Invalid CL Command Name."}));
    QVERIFY(label.contains("\"Libraries\""));
    QVERIFY(bClosed);
    QCOMPARE(f.ListItems(), QStringList({"#NEW_1", "AAA", "BBB", "SBMJOB"}));
    QVERIFY(!FileExists(f.home.File("data/MY CMD!.dat")));

    // In a category the prompt just asks for the name; a name taken keeps it open too.
    f.PickCategory(2);
    f.dialogAnswers.push_back([&](QDialog* d) {
        TypeName("SBMJOB", &bClosed, &label)(d);
        if (bClosed)
            return -1;
        return TypeName("ENDJOB", &bClosed)(d);
    });
    f.window()->pmiAddCmdClick();
    QCOMPARE(label, QString("Command Name:"));
    QCOMPARE(f.MessageTexts().last(), QString("CL Command \"SBMJOB\" is already in the database."));
    QCOMPARE(f.ListItems(), QStringList({"ENDJOB", "SBMJOB"}));
    QCOMPARE(f.window()->GetCurIdx()->dwCatID, 2u);
}

void AuthoringTest::focusStartsInGoToCommand()
{
    GuiFixture f;
    Sample(f, 2);
    f.Open();
    f.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window()));
    QCOMPARE(QApplication::focusWidget(), f.Find<QWidget>("edtCommand"));
    // A first Space types into the field; it does not press Exit.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(f.window()->isVisible());
}

void AuthoringTest::captionsAreExact()
{
    // Qt appends an application display name, once one is set, to every
    // window title on Linux desktops; none is set, so the display name
    // follows the application name.
    QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    QString display = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(name);
    QCOMPARE(display, QString("probe"));
    QCOMPARE(name, QString("Zentrivo"));
}

void AuthoringTest::anotherProgramsChangeIsNotOverwritten()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.PickCategory(2);
    f.dialogAnswers.push_back([](QDialog* d) {
        static_cast<QInputDialog*>(d)->setTextValue("ENDJOB");
        return int(QDialog::Accepted);
    });
    f.window()->pmiAddCmdClick();
    // Meanwhile another program changes the index.
    CLCmdManager other;
    QVERIFY(other.LoadCmdIdxList());
    CLCmdIndex e = MakeIdx("THEIRS");
    other.AddCmdIdx(&e);
    QVERIFY(other.SaveCmdIdxList());
    Bytes theirs = ReadBytes(f.home.File("cldict.dat"));

    f.answers.push_back(QMessageBox::Save);
    f.window()->close();
    QVERIFY(f.window()->isVisible());
    QCOMPARE(f.MessageTexts().last(),
             QString("The file \"%1\" was changed by another program since it was loaded; it "
                     "was not overwritten.")
                 .arg(QString::fromStdString(f.home.File("cldict.dat"))));
    QCOMPARE(ReadBytes(f.home.File("cldict.dat")), theirs);
    // Build says so too, and builds nothing.
    f.window()->pmiBuildDataClick();
    QVERIFY(f.MessageTexts().last().contains("was changed by another program"));
    QCOMPARE(ReadBytes(f.home.File("cldict.dat")), theirs);
}

QObject* NewAuthoringTest()
{
    return new AuthoringTest;
}

#include "AuthoringTest.moc"

void AuthoringTest::importCommandDefinitions()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    const std::string good = f.home.File("aaa.xml"), bad = f.home.File("bad.xml");
    WriteText(good, "<QcdCLCmd><Cmd CmdName=\"AAA\" MaxPos=\"1\">"
                    "<Parm Kwd=\"X\" PosNbr=\"2\" Prompt=\"Ex\" Type=\"NAME\" Min=\"1\"/>"
                    "<Parm Kwd=\"Y\" PosNbr=\"1\" Prompt=\"Why\" Type=\"CHAR\"/>"
                    "</Cmd></QcdCLCmd>");
    WriteText(bad, "not xml");
    // Unsaved edits of the command are saved first, or nothing happens.
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Edited");
    const Bytes before = ReadBytes(f.home.File("data/AAA.dat"));
    f.chooserAnswers << QString::fromStdString(good);
    f.answers.push_back(QMessageBox::Cancel);
    f.window()->pmiImportCmdDefClick();
    QCOMPARE(f.questions.size(), size_t(1));
    QCOMPARE(f.questions[0].buttons,
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(ReadBytes(f.home.File("data/AAA.dat")), before);
    QCOMPARE(f.Rows("lvParam"), QStringList({"P1"}));

    // Saved, then the parameter list that is replaced is shown first: No changes nothing.
    f.chooserAnswers << QString::fromStdString(good + "\n" + bad);
    f.answers.push_back(QMessageBox::Save);
    f.answers.push_back(QMessageBox::No);
    f.window()->pmiImportCmdDefClick();
    QVERIFY(f.questions.back().text.contains("AAA: 2 added, 1 removed, 0 changed"));
    QCOMPARE(ReadFile("AAA.dat")->dwParamCount, 1u);
    f.chooserAnswers << QString::fromStdString(good + "\n" + bad);
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiImportCmdDefClick();
    RecordPtr rec = ReadFile("AAA.dat");
    QCOMPARE(QString(rec->pszDetail), QString("Edited"));
    QCOMPARE(rec->dwParamCount, 2u);
    QCOMPARE(f.Shown(), QString("AAA"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"Y", "X"}));
    QCOMPARE(f.Rows("lvParam", 3), QStringList({"Optional", "Required, Positional 1"}));
    // Some files refused: a warning, not an error.
    QCOMPARE(f.messages.size(), size_t(1));
    QCOMPARE(f.messages[0].caption, QString("Zentrivo Warning"));
    QVERIFY(f.messages[0].text.contains("AAA: parameters added Y, X; removed P1"));
    QVERIFY(f.messages[0].text.contains(QString::fromStdString(bad) + ": line 1"));
    QVERIFY(f.window()->UnsavedWork().isEmpty());
}

// Another program waiting for the folder never waits on a box left open.
void AuthoringTest::noBoxIsOpenWhileTheFolderIsLocked()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // Build: its notice, and the warning about a foreign record.
    WriteBytes(f.home.File("data/BBB.dat"), ReadBytes(f.home.File("data/AAA.dat")));
    f.window()->pmiBuildDataClick();
    // Analyze File: the refused lines, then its notice.
    WriteText(f.home.File("list.txt"), "[05] - Messages\nSNDMSG - Send\nSNDMSG - Again\n");
    f.chooserAnswers << QString::fromStdString(f.home.File("list.txt"));
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiAnalyzeClick();
    // A save that fails.
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Edited");
    std::filesystem::remove_all(f.home.File("data"));
    f.window()->pmiSaveCmdClick();
    // Import Command Definitions: its summary.
    MakeDir(f.home.File("data"));
    WriteText(f.home.File("x.xml"), "not xml");
    f.chooserAnswers << QString::fromStdString(f.home.File("x.xml"));
    f.answers.push_back(QMessageBox::Discard);
    f.answers.push_back(QMessageBox::Save);
    f.window()->pmiImportCmdDefClick();
    QVERIFY(f.messages.size() >= 5);
    for (const ShownMessage& m : f.messages)
        QVERIFY2(m.bLockFree, qPrintable(m.text));
    for (const GuiFixture::Question& q : f.questions)
        QVERIFY2(q.bLockFree, qPrintable(q.text));
}

// In a run mode that reads clcmd.dat, an imported command is readable at once,
// by this window and by any reader of the folder.
void AuthoringTest::importInAJoinedRunModeBuilds()
{
    GuiFixture f;
    Sample(f, 0);
    f.Open();
    const std::string file = f.home.File("new.xml");
    WriteText(file, "<QcdCLCmd><Cmd CmdName=\"NEWCMD\" Prompt=\"New Command\">"
                    "<Parm Kwd=\"OBJ\" Prompt=\"Object\" Type=\"NAME\" Min=\"1\"/>"
                    "</Cmd></QcdCLCmd>");
    f.chooserAnswers << QString::fromStdString(file);
    f.window()->pmiImportCmdDefClick();
    QCOMPARE(f.messages.back().caption, QString("Zentrivo Information"));
    QCOMPARE(f.Shown(), QString("NEWCMD"));
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("New Command"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"OBJ"}));
    f.Close();
    f.WriteSettings(2);
    f.Open();
    f.window()->SelectCommand("NEWCMD");
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("New Command"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"OBJ"}));
}
