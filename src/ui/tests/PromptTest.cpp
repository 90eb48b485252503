// The prompter: F4 and the Parameters page's button open it for the shown
// command in every run mode; typing a value builds the string live; a string
// pasted fills the form; Copy fills the clipboard.
#include "prompt.h"
#include "GuiFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

void Sample(GuiFixture& f, int runMode)
{
    f.AddCategory(1, "Libraries");
    f.AddCommand({"CRTLIB",
                  1,
                  "Create Library",
                  {{"LIB", "Library", "Name", "Required, Positional 1"},
                   {"TYPE", "Library type", "*PROD, *TEST", "Optional, Positional 2"},
                   {"TEXT", "Text 'description'", "Character value, *BLANK", "Optional"}}});
    f.AddCommand({"DSPLIB", 1, "Display Library"});
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

QObject* NewPromptTest()
{
    return new PromptTest;
}

#include "PromptTest.moc"
