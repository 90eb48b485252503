// The prompter: F4 and the Parameters page's button open it for the shown
// command in every run mode, F4 on an example filled from it; typing a value
// builds the string live; a string pasted fills the form, another command's
// re-prompts; qualified names get a field per part; defaults and allowed
// values are shown; fields with problems are marked; Copy fills the clipboard.
#include "prompt.h"
#include "GuiFixture.h"
#include "WindowColours.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>

#include <functional>

namespace {

// CRTLIB and DSPLIB; with bMore also CRTJOBD (qualified names, defaults,
// examples) and DLTLIB.
void Sample(GuiFixture& f, int runMode, bool bMore = false)
{
    f.AddCategory(1, "Libraries");
    f.AddCommand({"CRTLIB",
                  1,
                  "Create Library",
                  {{"LIB", "Library", "Name", "Required, Positional 1"},
                   {"TYPE", "Library type", "*PROD, *TEST", "Optional, Positional 2"},
                   {"TEXT", "Text 'description'", "Character value, *BLANK", "Optional"}}});
    f.AddCommand({"DSPLIB", 1, "Display Library"});
    if (bMore) {
        f.AddCommand(
            {"CRTJOBD",
             1,
             "Create Job Description",
             {{"JOBD", "Job description",
               "Qualified object name; job description: Name; library: Name, *LIBL, *CURLIB",
               "Required, Positional 1"},
              {"JOBQ", "Job queue",
               "Qualified object name; job queue: Name, QBATCH (default); library: Name, "
               "*LIBL, *CURLIB",
               "Optional"},
              {"HOLD", "Hold on job queue", "*NO (default), *YES", "Optional"}},
             {},
             "",
             "CRTJOBD JOBD(QGPL/NIGHTLY) HOLD(*YES)\r\n\r\nCreates a job description.\r\n"
             "DLTLIB LIB(OLDLIB)",
             "partial-parameters"});
        f.AddCommand({"DLTLIB",
                      1,
                      "Delete Library",
                      {{"LIB", "Library", "Name", "Required, Positional 1"}}});
    }
    f.WriteDatabase();
    f.WriteSettings(runMode);
}

QStringList Items(QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class PromptTest : public QObject
{
    Q_OBJECT
private slots:
    void f4OpensThePrompterInEveryRunMode();
    void typingBuildsTheStringAndShowsProblems();
    void pastingAStringFillsTheForm();
    void commandsWithoutParametersHaveNoPrompter();
    void qualifiedNamesDefaultsAndMarkedProblems();
    void anotherCommandIsRepromptedAndUnlistedKept();
    void aPartialRecordSaysSoAndTakesOtherKeywords();
    void f4OnAnExamplePromptsIt();

private:
    static void Typing(TfmPrompt* dialog);
    static void Pasting(TfmPrompt* dialog);
};

void PromptTest::f4OpensThePrompterInEveryRunMode()
{
    for (int mode : {1, 2}) {
        GuiFixture f;
        Sample(f, mode);
        f.Open();
        QString title;
        QStringList typeItems;
        QString typeName;
        f.dialogAnswers.push_back([&](QDialog* d) {
            title = d->windowTitle();
            typeItems = Items(d->findChild<QComboBox*>("cbTYPE"));
            typeName = d->findChild<QComboBox*>("cbLIB")->accessibleName();
            return 0;
        });
        f.window()->activateWindow();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        QCOMPARE(f.dialogsShown, 1);
        QCOMPARE(title, QString("Prompt: CRTLIB"));
        QCOMPARE(typeItems, QStringList({"", "*PROD", "*TEST"}));
        QCOMPARE(typeName, QString("Library (LIB), required"));

        // The same from the Parameters page's button.
        auto* button = f.Find<QPushButton>("btnPrompt");
        f.Find<QTabWidget>("pClient")->setCurrentIndex(1);
        QVERIFY(button->isVisible());
        f.dialogAnswers.push_back([](QDialog*) { return 0; });
        button->click();
        QCOMPARE(f.dialogsShown, 2);
    }
}

void PromptTest::typingBuildsTheStringAndShowsProblems()
{
    GuiFixture f;
    Sample(f, 2);
    f.Open();
    f.dialogAnswers.push_back([](QDialog* d) {
        Typing(static_cast<TfmPrompt*>(d));
        return 0;
    });
    f.window()->btnPromptClick();
    QCOMPARE(f.dialogsShown, 1);
}

void PromptTest::Typing(TfmPrompt* dialog)
{
    {
        QDialog* d = dialog;
        QCOMPARE(dialog->CommandString(), QString("CRTLIB"));
        QCOMPARE(dialog->Problems(), QStringList({"LIB: a value is required."}));
        // The first field has the focus when the dialog opens.
        QWidget* focus = d->focusWidget();
        QVERIFY(focus == dialog->ValueField("LIB") ||
                dialog->ValueField("LIB")->isAncestorOf(focus));
        QTest::keyClicks(dialog->ValueField("LIB")->lineEdit(), "payroll");
        QTest::keyClicks(dialog->ValueField("TEXT")->lineEdit(), "Pay data");
        QCOMPARE(dialog->CommandString(), QString("CRTLIB LIB(PAYROLL) TEXT('Pay data')"));
        QVERIFY(dialog->Problems().isEmpty());
        dialog->ValueField("TYPE")->setEditText("*OTHER");
        QCOMPARE(dialog->Problems(), QStringList({"TYPE: *OTHER is not one of *PROD, *TEST."}));
        dialog->ValueField("TYPE")->setCurrentIndex(2);
        QCOMPARE(dialog->CommandString(),
                 QString("CRTLIB LIB(PAYROLL) TYPE(*TEST) TEXT('Pay data')"));

        QApplication::clipboard()->clear();
        d->findChild<QPushButton*>("btnCopy")->click();
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("CRTLIB LIB(PAYROLL) TYPE(*TEST) TEXT('Pay data')"));
    }
}

void PromptTest::pastingAStringFillsTheForm()
{
    GuiFixture f;
    Sample(f, 1);
    f.Open();
    f.dialogAnswers.push_back([](QDialog* d) {
        Pasting(static_cast<TfmPrompt*>(d));
        return 0;
    });
    f.window()->btnPromptClick();
    QCOMPARE(f.dialogsShown, 1);
}

void PromptTest::Pasting(TfmPrompt* dialog)
{
    {
        QDialog* d = dialog;
        dialog->ValueField("TEXT")->setEditText("old");
        auto* field = d->findChild<QPlainTextEdit*>("memString");
        field->setPlainText("crtlib mylib *test");
        QCOMPARE(dialog->ValueField("LIB")->currentText(), QString("MYLIB"));
        QCOMPARE(dialog->ValueField("TYPE")->currentText(), QString("*TEST"));
        QCOMPARE(dialog->ValueField("TEXT")->currentText(), QString()); // not in the string
        QVERIFY(dialog->Problems().isEmpty());
        // The string stays as typed while it is being typed.
        QCOMPARE(field->toPlainText(), QString("crtlib mylib *test"));
        field->setPlainText("CRTLIB LIB(");
        QCOMPARE(dialog->Problems(), QStringList({"A parenthesis is not closed."}));
        QCOMPARE(dialog->ValueField("LIB")->currentText(), QString("MYLIB"));
        field->setPlainText("CRTLIB FOO(1)");
        QCOMPARE(dialog->Problems(),
                 QStringList({"FOO: CRTLIB has no such parameter.", "LIB: a value is required."}));
    }
}

void PromptTest::commandsWithoutParametersHaveNoPrompter()
{
    GuiFixture f;
    Sample(f, 1);
    f.Open();
    f.window()->SelectCommand("DSPLIB");
    f.Find<QTabWidget>("pClient")->setCurrentIndex(1);
    QVERIFY(!f.Find<QPushButton>("btnPrompt")->isVisible());
    f.window()->btnPromptClick();
    QCOMPARE(f.dialogsShown, 0);
    QCOMPARE(f.MessageTexts(), QStringList({"The reference holds no parameters of DSPLIB."}));
}

namespace {

// Runs the prompter of the command shown, handing it to check.
void WithPrompter(GuiFixture& f, const char* command, std::function<void(TfmPrompt*)> check)
{
    f.window()->SelectCommand(command);
    f.dialogAnswers.push_back([check](QDialog* d) {
        check(static_cast<TfmPrompt*>(d));
        return 0;
    });
    f.window()->btnPromptClick();
    QCOMPARE(f.dialogsShown, 1);
}

} // namespace

void PromptTest::qualifiedNamesDefaultsAndMarkedProblems()
{
    GuiFixture f;
    Sample(f, 1, true);
    f.Open();
    WithPrompter(f, "CRTJOBD", [](TfmPrompt* dialog) {
        QVERIFY(dialog->isSizeGripEnabled());
        // One field per part, object first, each offering its own values.
        QComboBox* object = dialog->ValueField("JOBD");
        QComboBox* library = dialog->ValueField("JOBD", 1);
        QVERIFY(object && library);
        QCOMPARE(dialog->ValueField("JOBD", 2), nullptr);
        QCOMPARE(Items(library), QStringList({"", "*LIBL", "*CURLIB"}));
        QCOMPARE(library->accessibleName(), QString("Job description (JOBD), library, required"));
        // Defaults where the record states them, beside and in the field.
        QVERIFY(dialog->Hint("HOLD").startsWith("Default: *NO\n*NO (default), *YES"));
        QCOMPARE(dialog->ValueField("HOLD")->lineEdit()->placeholderText(), QString("*NO"));
        QCOMPARE(dialog->ValueField("JOBQ")->lineEdit()->placeholderText(), QString("QBATCH"));
        QVERIFY(dialog->Hint("JOBQ").startsWith("Default job queue: QBATCH\n"));

        QTest::keyClicks(object->lineEdit(), "nightly");
        QCOMPARE(dialog->CommandString(), QString("CRTJOBD JOBD(NIGHTLY)"));
        library->setEditText("qgpl");
        QCOMPARE(dialog->CommandString(), QString("CRTJOBD JOBD(QGPL/NIGHTLY)"));
        QVERIFY(!dialog->IsMarked("JOBD"));
        // A problem marks the field, in a colour that shows on the palette,
        // and its message stands under it.
        library->setEditText("*ALL");
        QCOMPARE(dialog->FieldProblem("JOBD"),
                 QString("JOBD: *ALL (library) is not one of its special values *LIBL, *CURLIB."));
        QVERIFY(dialog->IsMarked("JOBD"));
        QVERIFY(library->styleSheet().contains(ColoursFor(dialog->palette()).problem.name()));
        library->setEditText("QGPL");
        QVERIFY(!dialog->IsMarked("JOBD"));
        QCOMPARE(dialog->FieldProblem("JOBD"), QString());
        // A string fills each part.
        dialog->SetCommandString("CRTJOBD JOBD(*CURLIB/BATCH) JOBQ(QBATCH)");
        QCOMPARE(object->currentText(), QString("BATCH"));
        QCOMPARE(library->currentText(), QString("*CURLIB"));
        QCOMPARE(dialog->ValueField("JOBQ", 1)->currentText(), QString());
        dialog->SetCommandString("CRTJOBD JOBD(A/B/C)");
        QCOMPARE(object->currentText(), QString("A/B/C")); // too many parts: kept whole
        QCOMPARE(dialog->FieldProblem("JOBD"),
                 QString("JOBD: A/B/C has 3 parts; at most 2 are allowed "
                         "(library/job description)."));
    });
    // The problem colour reads on a dark palette too.
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Base, QColor(0x18, 0x18, 0x18));
    QVERIFY(ContrastRatio(ColoursFor(dark).problem, dark.color(QPalette::Base)) >= 4.5);
    QVERIFY(ContrastRatio(ColoursFor(QPalette(Qt::white)).problem, Qt::white) >= 4.5);
}

void PromptTest::anotherCommandIsRepromptedAndUnlistedKept()
{
    GuiFixture f;
    Sample(f, 2, true);
    f.Open();
    WithPrompter(f, "CRTLIB", [](TfmPrompt* dialog) {
        // A keyword the record lacks stays in the string and is shown.
        dialog->SetCommandString("CRTLIB LIB(A) FOO(1)");
        QCOMPARE(dialog->Unlisted(),
                 QString("Kept in the string, but CRTLIB has no such parameter: FOO(1)"));
        dialog->ValueField("TEXT")->setEditText("Mine");
        QCOMPARE(dialog->CommandString(), QString("CRTLIB LIB(A) TEXT('Mine') FOO(1)"));
        QCOMPARE(dialog->Problems(), QStringList({"FOO: CRTLIB has no such parameter."}));

        // Another command's name prompts that command.
        dialog->SetCommandString("NOSUCH X");
        QCOMPARE(dialog->Problems(),
                 QStringList({"CL command \"NOSUCH\" is not in the reference."}));
        QVERIFY(dialog->ValueField("TYPE"));
        dialog->SetCommandString("DSPLIB");
        QCOMPARE(dialog->Problems(), QStringList({"The reference holds no parameters of DSPLIB."}));
        dialog->SetCommandString("dltlib oldlib");
        QCOMPARE(dialog->windowTitle(), QString("Prompt: DLTLIB"));
        QCOMPARE(dialog->ValueField("TYPE"), nullptr); // the old fields are gone
        QCOMPARE(dialog->ValueField("LIB")->currentText(), QString("OLDLIB"));
        QCOMPARE(dialog->Unlisted(), QString());
        dialog->ValueField("LIB")->setEditText("NEWLIB");
        QCOMPARE(dialog->CommandString(), QString("DLTLIB LIB(NEWLIB)"));
    });
}

void PromptTest::f4OnAnExamplePromptsIt()
{
    GuiFixture f;
    Sample(f, 1, true);
    f.Open();
    f.window()->SelectCommand("CRTJOBD");
    f.Find<QTabWidget>("pClient")->setCurrentIndex(2);
    auto* examples = f.Find<QPlainTextEdit>("memExample");
    f.window()->activateWindow();
    examples->setFocus();
    QStringList strings;
    auto answer = [&strings](QDialog* d) {
        strings << static_cast<TfmPrompt*>(d)->CommandString();
        return 0;
    };
    for (const char* at : {"HOLD", "Creates", "OLDLIB"}) {
        QTextCursor cursor = examples->textCursor();
        cursor.setPosition(examples->toPlainText().indexOf(at));
        examples->setTextCursor(cursor);
        f.dialogAnswers.push_back(answer);
        QTest::keyClick(examples, Qt::Key_F4);
    }
    // A line of prose prompts the command shown, empty.
    QCOMPARE(strings, QStringList({"CRTJOBD JOBD(QGPL/NIGHTLY) HOLD(*YES)", "CRTJOBD",
                                   "DLTLIB LIB(OLDLIB)"}));
}

QObject* NewPromptTest()
{
    return new PromptTest;
}

#include "PromptTest.moc"

void PromptTest::aPartialRecordSaysSoAndTakesOtherKeywords()
{
    GuiFixture f;
    Sample(f, 2, true);
    f.Open();
    WithPrompter(f, "CRTJOBD", [](TfmPrompt* dialog) {
        const QString hint = dialog->findChild<QLabel*>("lblHint")->text();
        QVERIFY2(hint.contains("Only the first 3 parameters are listed"), qPrintable(hint));
        // A real keyword the record does not list is kept, and no error.
        dialog->SetCommandString("CRTJOBD JOBD(NIGHTLY) USER(BATCHUSR)");
        QVERIFY(dialog->Unlisted().startsWith("Kept in the string, not listed in this reference"));
        QCOMPARE(dialog->CommandString(), QString("CRTJOBD JOBD(NIGHTLY) USER(BATCHUSR)"));
        dialog->SetCommandString("CRTLIB A");
        QVERIFY(!dialog->findChild<QLabel*>("lblHint")->text().contains("Only the first"));
    });
}
