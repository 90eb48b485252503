// The main window's editing commands, driven through the seams.
#include "AppSettings.h"
#include "CLCmdManager.h"
#include "GuiFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

namespace {

void Sample(GuiFixture& f, int runMode = 1)
{
    f.AddCategory(1, "Libraries");
    f.AddCategory(2, "Jobs");
    f.AddCommand({"CRTLIB",
                  1,
                  "Create Library",
                  {{"LIB", "Library", "Name", "Required"}, {"TYPE", "Type", "*PROD", "Optional"}},
                  {{"CPF2111", "Library exists."}},
                  "Detail text.",
                  "CRTLIB LIB(X)"});
    f.AddCommand({"DSPLIB", 1, "Display Library"});
    f.AddCommand({"SBMJOB", 2, "Submit Job"});
    f.WriteDatabase();
    f.WriteSettings(runMode);
}

// A dialog answer: fill the named edits, then press the button.
std::function<int(QDialog*)> Answer(std::vector<std::pair<const char*, QString>> fields,
                                    const char* button = "btnOK")
{
    return [fields, button](QDialog* d) {
        for (const auto& [name, text] : fields)
            SetText(d, name, text);
        Click(d, button);
        return d->result();
    };
}

RecordPtr ReadBack(const char* name, int runMode = 1)
{
    int32_t old = AppSettings.RunMode;
    AppSettings.RunMode = runMode;
    CLCmdManager m(CurrentOptions());
    static CLCmdIndex e;
    e = MakeIdx(name);
    CLCmdManager loaded;
    if (runMode != 1 && loaded.LoadCmdIdxList())
        if (CLCmdIndex* p = loaded.FindCmdIdx(name))
            e = *p, e.pRec = nullptr;
    RecordPtr rec = NewRecord(&e);
    m.ReadCmdRecord(rec.get());
    AppSettings.RunMode = old;
    return rec;
}

QAction* Action(GuiFixture& f, const char* name)
{
    return f.window()->findChild<QAction*>(name);
}

} // namespace

class EditingTest : public QObject
{
    Q_OBJECT
private slots:
    void commandMenuEnabling();
    void addAndInsertParameters();
    void cancelledDialogsChangeNothing();
    void deleteRowsAndProperties();
    void propertiesEditTheRecordInMemory();
    void saveWritesTheRecord();
    void saveThatCannotWriteKeepsTheFlags();
    void deleteCommandRows();
    void deleteRemovesTheCommandShown();
    void analyzeFileReloads();
    void analyzeFileFailureIsReported();
    void buildDataFileThenReadInRunMode2();
    void createHtml();
    void categoryEditorFromTheWindow();
    void runMode2DialogsChangeMemoryOnly();
    void addCommand();
};

void EditingTest::commandMenuEnabling()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    QMenu* menu = f.window()->CommandMenu();
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QString("-") : a->text());
    QCOMPARE(items,
             QStringList({"&Add Command", "&Delete Command", "&Save Command", "-",
                          "Edit Ca&tegories...", "Analyze &File", "Import Command Defi&nitions...",
                          "&Build Data File", "-", "&Create HTML", "Create All &HTML"}));
    f.window()->pmCommandPopup();
    QVERIFY(Action(f, "pmiDelCmd")->isEnabled());
    QVERIFY(Action(f, "pmiSaveCmd")->isEnabled());
    f.Find<QListView>("lbCommand")->selectionModel()->clear();
    f.window()->pmCommandPopup();
    QVERIFY(!Action(f, "pmiDelCmd")->isEnabled());
    QVERIFY(!Action(f, "pmiSaveCmd")->isEnabled());
    QVERIFY(Action(f, "pmiAddCmd")->isEnabled());
}

void EditingTest::addAndInsertParameters()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // A new parameter opens empty with the notes "Optional".
    QString notes;
    f.dialogAnswers.push_back([&notes](QDialog* d) {
        notes = TextOf(d, "edtNotes");
        SetText(d, "edtName", "new");
        Click(d, "btnOK");
        return d->result();
    });
    f.window()->pmiAddParamClick();
    QCOMPARE(notes, QString("Optional"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB", "TYPE", "NEW"}));
    QCOMPARE(f.Rows("lvParam", 3), QStringList({"Required", "Optional", "Optional"}));

    // Insert before the selected row, which moves down.
    f.SelectRow("lvParam", 1);
    f.dialogAnswers.push_back(Answer({{"edtName", "ins"}}));
    f.window()->pmiInsertParamClick();
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB", "INS", "TYPE", "NEW"}));
    // With no selected row, Insert appends.
    f.SelectRow("lvParam", -1);
    f.dialogAnswers.push_back(Answer({{"edtName", "last"}}));
    f.window()->pmiInsertParamClick();
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB", "INS", "TYPE", "NEW", "LAST"}));

    // Saved, the record holds the rows in row order.
    f.window()->pmiSaveCmdClick();
    RecordPtr rec = ReadBack("CRTLIB");
    QCOMPARE(rec->dwParamCount, 5u);
    QCOMPARE(QString(rec->pParams[1].szKeyword), QString("INS"));
    QCOMPARE(QString(rec->pParams[4].szNote), QString("Optional"));

    // The first error message of a command without any.
    f.window()->SelectCommand("DSPLIB");
    QString code;
    f.dialogAnswers.push_back([&code](QDialog* d) {
        code = TextOf(d, "edtCode");
        SetText(d, "edtCode", "cpf2110");
        SetText(d, "memDetail", "Not found.");
        Click(d, "btnOK");
        return d->result();
    });
    f.window()->pmiAddErrorClick();
    QCOMPARE(code, QString("CPF"));
    QCOMPARE(f.Rows("lvError"), QStringList({"CPF2110"}));
    QCOMPARE(f.Rows("lvError", 1), QStringList({"Not found."}));
}

void EditingTest::cancelledDialogsChangeNothing()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.dialogAnswers.push_back(Answer({{"edtName", "X"}}, "btnCancel"));
    f.window()->pmiAddParamClick();
    f.SelectRow("lvParam", 0);
    f.dialogAnswers.push_back(Answer({{"edtName", "X"}}, "btnCancel"));
    f.window()->pmiInsertParamClick();
    f.dialogAnswers.push_back(Answer({{"edtCode", "X"}, {"memDetail", "y"}}, "btnCancel"));
    f.window()->pmiAddErrorClick();
    f.dialogAnswers.push_back(Answer({{"edtName", "CHANGED"}}, "btnCancel"));
    f.window()->pmiParamPropClick();
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB", "TYPE"}));
    QCOMPARE(f.Rows("lvError"), QStringList({"CPF2111"}));
    QCOMPARE(QString(f.window()->GetCurIdx()->pRec->pParams[0].szKeyword), QString("LIB"));
    QCOMPARE(f.dialogsShown, 4);
}

void EditingTest::deleteRowsAndProperties()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // Nothing selected: Delete and Properties do nothing, and no dialog opens.
    f.SelectRow("lvParam", -1);
    f.SelectRow("lvError", -1);
    f.window()->pmiDelParamClick();
    f.window()->pmiDelErrorClick();
    f.window()->pmiParamPropClick();
    f.window()->pmiErrorPropClick();
    QCOMPARE(f.dialogsShown, 0);
    QCOMPARE(f.Rows("lvParam").size(), 2);

    f.SelectRow("lvParam", 0);
    f.window()->pmiDelParamClick();
    QCOMPARE(f.Rows("lvParam"), QStringList({"TYPE"}));
    f.SelectRow("lvError", 0);
    f.window()->pmiDelErrorClick();
    QVERIFY(f.Rows("lvError").isEmpty());
    // The record changes only with Save.
    QCOMPARE(f.window()->GetCurIdx()->pRec->dwParamCount, 2u);
    f.window()->pmiSaveCmdClick();
    RecordPtr rec = ReadBack("CRTLIB");
    QCOMPARE(rec->dwParamCount, 1u);
    QCOMPARE(rec->dwErrorCount, 0u);
}

void EditingTest::propertiesEditTheRecordInMemory()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.SelectRow("lvParam", 1);
    f.dialogAnswers.push_back(Answer({{"edtDesc", "Library type"}}));
    f.window()->pmiParamPropClick();
    QCOMPARE(f.Rows("lvParam", 1), QStringList({"Library", "Library type"}));
    f.SelectRow("lvError", 0);
    f.dialogAnswers.push_back(Answer({{"memDetail", "It is there already."}}));
    f.window()->pmiErrorPropClick();
    f.dialogAnswers.push_back(Answer({{"edtName", "TEMP"}}));
    f.window()->pmiAddParamClick();
    // Showing another command asks first; Cancel keeps the command and its rows.
    f.answers.push_back(QMessageBox::Cancel);
    f.window()->SelectCommand("DSPLIB");
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB", "TYPE", "TEMP"}));
    QCOMPARE(f.Rows("lvParam", 1), QStringList({"Library", "Library type", ""}));
    QCOMPARE(f.Rows("lvError", 1), QStringList({"It is there already."}));
    // Not saved: the file still has the old text.
    QCOMPARE(QString(ReadBack("CRTLIB")->pParams[1].szDesc), QString("Type"));
    // Discard drops every edit, those the dialogs made in the record too.
    f.answers.push_back(QMessageBox::Discard);
    f.window()->SelectCommand("DSPLIB");
    QCOMPARE(f.Shown(), QString("DSPLIB"));
    f.window()->SelectCommand("CRTLIB");
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB", "TYPE"}));
    QCOMPARE(f.Rows("lvParam", 1), QStringList({"Library", "Type"}));

    // A double-click on the list opens the selected row's dialog.
    f.SelectRow("lvParam", 0);
    f.dialogAnswers.push_back(Answer({{"edtNotes", "Key"}}));
    auto* view = f.Find<QTreeWidget>("lvParam");
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(300, 250));
    QTRY_COMPARE(f.dialogsShown, 4);
    QCOMPARE(f.Rows("lvParam", 3).at(0), QString("Key"));
}

void EditingTest::saveWritesTheRecord()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QLineEdit>("edtDesc")->setText("Create a library");
    f.Find<QPlainTextEdit>("memEnv")->setPlainText("Batch\nInteractive");
    f.window()->pmiSaveCmdClick();
    QVERIFY(f.messages.empty());
    RecordPtr rec = ReadBack("CRTLIB");
    QCOMPARE(QString(rec->szName), QString("CRTLIB"));
    QCOMPARE(QString(rec->szDesc), QString("Create a library"));
    QCOMPARE(QString(rec->szEnv), QString("Batch\r\nInteractive"));
    QCOMPARE(QString(rec->pszDetail), QString("Detail text.")); // memo untouched: text kept
    QCOMPARE(QString(rec->pszExample), QString("CRTLIB LIB(X)"));
    QCOMPARE(rec->dwParamCount, 2u);
    QCOMPARE(QString(rec->pErrors[0].szCode), QString("CPF2111"));

    // Edited memos are saved with CR LF; an emptied memo stores no text.
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("One\nTwo");
    f.Find<QPlainTextEdit>("memExample")->clear();
    f.window()->pmiSaveCmdClick();
    rec = ReadBack("CRTLIB");
    QCOMPARE(QString(rec->pszDetail), QString("One\r\nTwo"));
    QCOMPARE(rec->pszExample, nullptr);

    // A new name goes into the entry, the record, the row and a file of its own.
    f.Find<QLineEdit>("edtName")->setText("CRTLIBX");
    f.window()->pmiSaveCmdClick();
    QCOMPARE(f.ListItems().at(0), QString("CRTLIBX"));
    QCOMPARE(QString(ReadBack("CRTLIBX")->szName), QString("CRTLIBX"));
    // The old file is gone, so a command added later under the old name starts empty.
    QVERIFY(!std::filesystem::exists(f.home.File("data/CRTLIB.dat")));
    QCOMPARE(QString(f.window()->GetCurIdx()->szName), QString("CRTLIBX"));
    QCOMPARE(QString(f.window()->GetCurIdx()->szFileName), QString("CRTLIBX.dat"));
}

void EditingTest::saveThatCannotWriteKeepsTheFlags()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Unsaved detail");
    std::filesystem::rename(f.home.File("data"), f.home.File("data-away"));
    f.window()->pmiSaveCmdClick();
    QCOMPARE(f.MessageTexts(),
             QStringList({"The file \"" + QString::fromStdString(f.home.File("data/CRTLIB.dat")) +
                          "\" cannot be written."}));
    QCOMPARE(f.messages[0].caption, QString("Zentrivo Error"));
    std::filesystem::rename(f.home.File("data-away"), f.home.File("data"));
    // The flag is still set, so the next save writes the detail text.
    f.window()->pmiSaveCmdClick();
    QCOMPARE(QString(ReadBack("CRTLIB")->pszDetail), QString("Unsaved detail"));
}

void EditingTest::deleteCommandRows()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // Deleting the last row shows the new last row; each delete asks first.
    f.window()->SelectCommand("SBMJOB");
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiDelCmdClick();
    QCOMPARE(f.questions.back().text, QString("Delete CL Command \"SBMJOB\"?"));
    QCOMPARE(f.questions.back().defaultButton, QMessageBox::No);
    QCOMPARE(f.ListItems(), QStringList({"CRTLIB", "DSPLIB"}));
    QCOMPARE(f.SelectedListRow(), 1);
    QCOMPARE(f.Shown(), QString("DSPLIB"));
    // Deleting a row in the middle shows the row that followed.
    f.window()->SelectCommand("CRTLIB");
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiDelCmdClick();
    QCOMPARE(f.Shown(), QString("DSPLIB"));
    QCOMPARE(f.SelectedListRow(), 0);

    // Deleting the only row clears the pages; nothing refers to the freed record.
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiDelCmdClick();
    QVERIFY(f.ListItems().isEmpty());
    QCOMPARE(f.window()->GetCurIdx(), nullptr);
    QCOMPARE(f.Shown(), QString());
    QVERIFY(f.Rows("lvParam").isEmpty());
    QVERIFY(f.Rows("lvError").isEmpty());
    f.window()->pmiParamPropClick();
    f.window()->pmiErrorPropClick();
    f.window()->pmiSaveCmdClick();
    f.window()->pmiDelCmdClick();
    QCOMPARE(f.dialogsShown, 0);
    f.window()->pmCommandPopup();
    QVERIFY(!Action(f, "pmiDelCmd")->isEnabled());
    QVERIFY(!Action(f, "pmiSaveCmd")->isEnabled());

    // The index file is untouched: the commands come back at the next start.
    f.Close();
    f.Open();
    QCOMPARE(f.ListItems().size(), 3);
    QVERIFY(std::filesystem::exists(f.home.File("data/SBMJOB.dat")));
}

void EditingTest::deleteRemovesTheCommandShown()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QLineEdit>("edtCommand")->setText("DSPLIB");
    f.Find<QLineEdit>("edtCommand")->clear(); // DSPLIB stays shown and highlighted
    QCOMPARE(f.SelectedListRow(), 1);
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiDelCmdClick();
    QCOMPARE(f.ListItems(), QStringList({"CRTLIB", "SBMJOB"}));
    QCOMPARE(f.Shown(), QString("SBMJOB"));
}

void EditingTest::analyzeFileReloads()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    WriteText(f.home.File("list.txt"),
              "[03] - Messages\nSNDMSG - Send Message\nDSPMSG - Display\n");
    // A cancelled chooser does nothing.
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.ListItems().size(), 3);
    f.chooserAnswers << QString::fromStdString(f.home.File("list.txt"));
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.MessageTexts(), QStringList({"Data Analyzing Finished."}));
    QCOMPARE(f.messages[0].caption, QString("Zentrivo Information"));
    QVERIFY(!f.messages[0].bError);
    QCOMPARE(f.ListItems(), QStringList({"DSPMSG", "SNDMSG"}));
    QCOMPARE(f.Find<QComboBox>("cbCate")->itemText(1), QString("Messages"));
    QCOMPARE(f.Shown(), QString("DSPMSG"));
    QCOMPARE(AppSettings.ImportFile, f.home.File("list.txt"));

    // A list with no command is refused: the reference stays as it was.
    WriteText(f.home.File("empty.txt"), "nothing here\n");
    f.chooserAnswers << QString::fromStdString(f.home.File("empty.txt"));
    f.answers.push_back(QMessageBox::Yes);
    f.messages.clear();
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.ListItems(), QStringList({"DSPMSG", "SNDMSG"}));
    QVERIFY(f.messages.size() == 1 && f.messages[0].bError);
    QVERIFY(f.messages[0].text.contains("holds no command that could be taken"));
}

void EditingTest::analyzeFileFailureIsReported()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.chooserAnswers << QString::fromStdString(f.home.File("missing.txt"));
    f.answers.push_back(QMessageBox::Yes);
    f.window()->pmiAnalyzeClick();
    QCOMPARE(f.MessageTexts(), QStringList({"The import file \"" +
                                            QString::fromStdString(f.home.File("missing.txt")) +
                                            "\" cannot be read."}));
    QVERIFY(f.messages[0].bError);
    QCOMPARE(f.ListItems().size(), 3); // reloaded from the unchanged files
}

void EditingTest::buildDataFileThenReadInRunMode2()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QLineEdit>("edtDesc")->setText("Built description");
    f.window()->pmiSaveCmdClick();
    f.window()->pmiBuildDataClick();
    QCOMPARE(f.MessageTexts(), QStringList({"Data Building Finished."}));
    f.Close();
    f.WriteSettings(2);
    f.Open();
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("Built description"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB", "TYPE"}));

    // A build that cannot write says which file.
    f.Close();
    f.WriteSettings(1);
    f.Open();
    f.messages.clear();
    std::filesystem::remove(f.home.File("clcmd.dat"));
    std::filesystem::create_directory(f.home.File("clcmd.dat"));
    f.window()->pmiBuildDataClick();
    QCOMPARE(f.MessageTexts(),
             QStringList({"The file \"" + QString::fromStdString(f.home.File("clcmd.dat")) +
                          "\" cannot be written."}));
}

void EditingTest::createHtml()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // Create HTML writes the shown command's page from the record in memory.
    f.SelectRow("lvParam", 0);
    f.window()->pmiCreateHtmlClick();
    std::string page = ReadText(f.home.File("html/CRTLIB.htm"));
    QVERIFY(page.find("<TITLE>CL Command Reference - CRTLIB</TITLE>") != std::string::npos);
    QVERIFY(f.messages.empty());

    // Create All HTML asks for the folder and remembers it.
    std::string site = f.home.File("site");
    std::filesystem::create_directory(site);
    f.chooserAnswers << QString::fromStdString(site);
    f.window()->pmiCreateAllHtmlClick();
    QCOMPARE(ListDir(site),
             (std::vector<std::string>{"CRTLIB.htm", "DSPLIB.htm", "SBMJOB.htm", "index-1.htm"}));
    QCOMPARE(AppSettings.HtmlFolder, site);
    QVERIFY(f.messages.empty());
    f.Close();
    QVERIFY(f.Settings().find("HtmlFolder=" + site) != std::string::npos);
}

void EditingTest::categoryEditorFromTheWindow()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    // Closed without OK after a change: the drop-down reloads, nothing is written.
    Bytes before = ReadBytes(f.home.File("clcat.dat"));
    f.dialogAnswers.push_back([](QDialog* d) {
        d->findChild<QLineEdit*>("edtID")->setText("7");
        d->findChild<QLineEdit*>("edtName")->setText("Seven");
        d->findChild<QLineEdit*>("edtFile")->setText("7.htm");
        Click(d, "btnAdd");
        return 0;
    });
    Action(f, "pmiEditCat")->trigger();
    QCOMPARE(f.Find<QComboBox>("cbCate")->count(), 4);
    QCOMPARE(f.Find<QComboBox>("cbCate")->itemText(3), QString("Seven"));
    QCOMPARE(ReadBytes(f.home.File("clcat.dat")), before);

    // OK after a change writes the file.
    f.dialogAnswers.push_back([](QDialog* d) {
        Click(d, "btnDel"); // the first category
        Click(d, "btnOK");
        return d->result();
    });
    f.window()->btnCatClick();
    QCOMPARE(f.Find<QComboBox>("cbCate")->itemText(1), QString("Jobs"));
    CLCmdManager m(CurrentOptions());
    QVERIFY(m.LoadCatList());
    QCOMPARE(m.GetCatCount(), 2u);
    QCOMPARE(m.FindCat(1), nullptr);
}

void EditingTest::runMode2DialogsChangeMemoryOnly()
{
    GuiFixture f;
    Sample(f, 2);
    f.Open();
    QCOMPARE(f.window()->ParamMenu(), nullptr);
    f.SelectRow("lvParam", 0);
    // A reader's dialog shows the parameter read-only and changes nothing.
    f.dialogAnswers.push_back([](QDialog* d) {
        auto* desc = d->findChild<QLineEdit*>("edtDesc");
        const bool bReadOnly = desc->isReadOnly() && !d->findChild<QWidget*>("btnOK")->isVisible();
        desc->setText("Changed in memory");
        return bReadOnly ? 1 : -1;
    });
    auto* view = f.Find<QTreeWidget>("lvParam");
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       view->visualItemRect(view->topLevelItem(0)).center());
    QTRY_COMPARE(f.dialogsShown, 1);
    QCOMPARE(QString(f.window()->GetCurIdx()->pRec->pParams[0].szDesc), QString("Library"));
    QCOMPARE(f.Rows("lvParam", 1).at(0), QString("Library"));
    QVERIFY(f.window()->UnsavedWork().isEmpty());
    // Nothing else of a record can be changed either.
    f.window()->pmiAddParamClick();
    f.window()->pmiDelParamClick();
    QCOMPARE(f.dialogsShown, 1);
    f.Find<QLineEdit>("edtDesc")->setText("typed");
    QVERIFY(f.Find<QLineEdit>("edtDesc")->isReadOnly());
    QVERIFY(!f.window()->UpdateCommandData(true));
    QCOMPARE(f.Rows("lvParam").size(), 2);
    QCOMPARE(QString(ReadBack("CRTLIB", 2)->pParams[0].szDesc), QString("Library"));
    // Enter on a row opens it too.
    f.dialogAnswers.push_back(Answer({}, "btnCancel"));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_COMPARE(f.dialogsShown, 2);
}

void EditingTest::addCommand()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.PickCategory(2);
    f.dialogAnswers.push_back([](QDialog* d) {
        auto* input = static_cast<QInputDialog*>(d);
        QTest::keyClicks(input->findChild<QLineEdit*>(), "endjob");
        input->accept();
        return int(QDialog::Accepted);
    });
    f.window()->pmiAddCmdClick();
    QCOMPARE(f.ListItems(), QStringList({"ENDJOB", "SBMJOB"}));
    QCOMPARE(f.Shown(), QString("ENDJOB"));
    QCOMPARE(f.window()->GetCurIdx()->dwCatID, 2u);
    QCOMPARE(QString(f.window()->GetCurIdx()->szFileName), QString("ENDJOB.dat"));
    // Filled and saved, it has its own file.
    f.Find<QLineEdit>("edtDesc")->setText("End Job");
    f.window()->pmiSaveCmdClick();
    QCOMPARE(QString(ReadBack("ENDJOB")->szDesc), QString("End Job"));

    // A name already there is reported by the index and nothing is added.
    f.dialogAnswers.push_back([](QDialog* d) {
        static_cast<QInputDialog*>(d)->setTextValue("SBMJOB");
        return int(QDialog::Accepted);
    });
    f.window()->pmiAddCmdClick();
    QCOMPARE(f.MessageTexts().last(), QString("CL Command \"SBMJOB\" is already in the database."));
    QCOMPARE(f.ListItems().size(), 2);
}

QObject* NewEditingTest()
{
    return new EditingTest;
}

#include "EditingTest.moc"
