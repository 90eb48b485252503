// The parameter, error-message and category dialogs on their own.
#include "CLCmdManager.h"
#include "DialogRunner.h"
#include "GuiFixture.h"
#include "cat.h"
#include "errormsg.h"
#include "param.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

namespace {

QStringList CatRows(QDialog* d)
{
    QStringList rows;
    auto* view = d->findChild<QTreeWidget*>("lvCat");
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = view->topLevelItem(i);
        rows << row->text(0) + "|" + row->text(1) + "|" + row->text(2);
    }
    return rows;
}

QString SelectedCat(QDialog* d)
{
    QList<QTreeWidgetItem*> sel = d->findChild<QTreeWidget*>("lvCat")->selectedItems();
    return sel.isEmpty() ? QString() : sel.first()->text(0);
}

void FillCat(QDialog* d, const QString& id, const QString& name, const QString& file)
{
    d->findChild<QLineEdit*>("edtID")->setText(id);
    d->findChild<QLineEdit*>("edtName")->setText(name);
    d->findChild<QLineEdit*>("edtFile")->setText(file);
}

void ExpectAccessibleNames(QDialog* d,
                           const std::vector<std::pair<const char*, const char*>>& names)
{
    for (const auto& [object, name] : names) {
        QWidget* w = d->findChild<QWidget*>(object);
        QVERIFY2(w, object);
        QCOMPARE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), QString(name));
    }
}

} // namespace

class DialogTest : public QObject
{
    Q_OBJECT
private slots:
    void parameterDialog();
    void errorMessageDialog();
    void categoryValidation();
    void categoryAddDeleteUpdate();
    void categoryFileIsWrittenOnlyByOkAfterAChange();
    void dialogsWorkFromTheKeyboard();
};

void DialogTest::parameterDialog()
{
    GuiFixture f;
    CLCmdParam entry{};
    CopyField(entry.szNote, "Optional");
    TfmParam d;
    QCOMPARE(d.windowTitle(), QString("Command Parameter"));
    QVERIFY(!d.UpdateDlgData(true)); // no entry bound yet
    QVERIFY(d.SetParam(&entry));
    QCOMPARE(TextOf(&d, "edtName"), QString());
    QCOMPARE(TextOf(&d, "edtNotes"), QString("Optional"));

    // An empty keyword is refused; the dialog stays open and the entry unchanged.
    SetText(&d, "edtDesc", "Something");
    Click(&d, "btnOK");
    QCOMPARE(f.MessageTexts(), QStringList({"Invalid Parameter Keyword."}));
    QCOMPARE(f.messages[0].caption, QString("Zentrivo Error"));
    QCOMPARE(d.result(), 0);
    QCOMPARE(QString(entry.szDesc), QString());
    Click(&d, "btnCancel");
    QCOMPARE(d.result(), 2);
    QCOMPARE(QString(entry.szDesc), QString());

    // Typed in lower case, stored in upper case; every field cut to its limit;
    // choices keep their lines with CR LF between them.
    SetText(&d, "edtName", "abcdefghijk");
    QCOMPARE(TextOf(&d, "edtName"), QString("ABCDEFGHIJK"));
    SetText(&d, "edtDesc", QString(70, 'd'));
    SetText(&d, "memChoice", "*LIBL\n*CURLIB\nName");
    SetText(&d, "edtNotes", QString(40, 'n'));
    Click(&d, "btnOK");
    QCOMPARE(d.result(), 1);
    QCOMPARE(QString(entry.szKeyword), QString("ABCDEFGHIJ"));
    QCOMPARE(QString(entry.szDesc), QString(59, 'd'));
    QCOMPARE(QString(entry.szChoices), QString("*LIBL\r\n*CURLIB\r\nName"));
    QCOMPARE(QString(entry.szNote), QString(31, 'n'));

    // Opened again, the choices come back on three lines; line breaks count
    // towards the 199 characters.
    TfmParam again;
    again.SetParam(&entry);
    QCOMPARE(TextOf(&again, "memChoice"), QString("*LIBL\n*CURLIB\nName"));
    SetText(&again, "memChoice", QString(99, 'a') + "\n" + QString(99, 'b'));
    Click(&again, "btnOK");
    QCOMPARE(std::strlen(entry.szChoices), size_t(199));
    QCOMPARE(QString(entry.szChoices), QString(99, 'a') + "\r\n" + QString(98, 'b'));
    ExpectAccessibleNames(&again, {{"edtName", "Keyword:"},
                                   {"edtDesc", "Description:"},
                                   {"memChoice", "Choices:"},
                                   {"edtNotes", "Notes:"},
                                   {"btnOK", "OK"},
                                   {"btnCancel", "Cancel"}});
}

void DialogTest::errorMessageDialog()
{
    GuiFixture f;
    CLCmdError entry{};
    CopyField(entry.szCode, "CPF");
    TfmErrorMsg d;
    QCOMPARE(d.windowTitle(), QString("Command Error Message"));
    d.SetErrorMsg(&entry);
    QCOMPARE(TextOf(&d, "edtCode"), QString("CPF"));
    QCOMPARE(TextOf(&d, "memDetail"), QString());

    SetText(&d, "edtCode", "");
    Click(&d, "btnOK"); // both empty: the code is reported first
    SetText(&d, "edtCode", "cpf9801");
    Click(&d, "btnOK");
    QCOMPARE(f.MessageTexts(),
             QStringList({"Invalid Command Error Code.", "Invalid Command Error Message."}));
    QCOMPARE(d.result(), 0);
    QCOMPARE(QString(entry.szCode), QString("CPF"));

    SetText(&d, "edtCode", "cpf123456");
    SetText(&d, "memDetail", QString(200, 'm'));
    Click(&d, "btnOK");
    QCOMPARE(d.result(), 1);
    QCOMPARE(QString(entry.szCode), QString("CPF12345"));
    QCOMPARE(QString(entry.szText), QString(148, 'm'));
    ExpectAccessibleNames(&d, {{"edtCode", "Error Code:"}, {"memDetail", "Message:"}});
}

void DialogTest::categoryValidation()
{
    GuiFixture f;
    CLCmdManager m;
    CLCategory c{};
    c.dwID = 5;
    CopyField(c.szName, "Five");
    CopyField(c.szFileName, "five.htm");
    m.AddCat(&c);
    TfmCat d(&m);
    QCOMPARE(d.windowTitle(), QString("Edit CL Command Categories"));
    d.UpdateCatData(false);
    const std::pair<std::array<const char*, 3>, const char*> cases[] = {
        {{"5", "", ""}, "Duplicate command category found. Please try another one."},
        {{"0", "Zero", "z.htm"}, "Invalid command category ID."},
        {{"abc", "Text", "t.htm"}, "Invalid command category ID."},
        {{"7", "", "x.htm"}, "Invalid command category name."},
        {{"7", "Seven", ""}, "Invalid command category file name."},
    };
    for (const auto& [fields, message] : cases) {
        FillCat(&d, fields[0], fields[1], fields[2]);
        d.btnAddClick();
        QCOMPARE(f.MessageTexts().last(), QString(message));
    }
    QCOMPARE(CatRows(&d), QStringList({"5|Five|five.htm"}));
    QVERIFY(!d.IsChanged());

    // Read like atol: leading blanks and trailing text.
    FillCat(&d, "  12abc", "Twelve", "t.htm");
    d.btnAddClick();
    QCOMPARE(CatRows(&d), QStringList({"5|Five|five.htm", "12|Twelve|t.htm"}));
    QVERIFY(d.IsChanged());
}

void DialogTest::categoryAddDeleteUpdate()
{
    GuiFixture f;
    CLCmdManager m;
    TfmCat d(&m);
    d.UpdateCatData(false);
    QVERIFY(CatRows(&d).isEmpty());
    // With nothing listed, Delete and Update do nothing.
    d.btnDelClick();
    d.btnUpdateClick();
    QVERIFY(!d.IsChanged());

    FillCat(&d, "20", "Twenty", "20.htm");
    d.btnAddClick();
    FillCat(&d, "10", QString(100, 'n'), "a-long-file-name.htm");
    d.btnAddClick();
    // After Add the first row is selected and shown in the edits.
    QCOMPARE(CatRows(&d),
             QStringList({"10|" + QString(79, 'n') + "|a-long-file-nam", "20|Twenty|20.htm"}));
    QCOMPARE(SelectedCat(&d), QString("10"));
    QCOMPARE(d.findChild<QLineEdit*>("edtID")->text(), QString("10"));

    // Update changes name and file name in place; the id and the selection stay.
    d.findChild<QTreeWidget*>("lvCat")->setCurrentItem(
        d.findChild<QTreeWidget*>("lvCat")->topLevelItem(1));
    FillCat(&d, "99", "Renamed", "r.htm");
    d.btnUpdateClick();
    QCOMPARE(CatRows(&d).at(1), QString("20|Renamed|r.htm"));
    QCOMPARE(SelectedCat(&d), QString("20"));
    QCOMPARE(QString(m.FindCat(20)->szName), QString("Renamed"));
    QCOMPARE(m.FindCat(99), nullptr);
    FillCat(&d, "20", "", "r.htm");
    d.btnUpdateClick();
    QCOMPARE(f.MessageTexts().last(), QString("Invalid command category name."));
    QCOMPARE(QString(m.FindCat(20)->szName), QString("Renamed"));

    d.btnDelClick(); // the selected row: 20
    QCOMPARE(CatRows(&d).size(), 1);
    QCOMPARE(SelectedCat(&d), QString("10"));
    d.btnDelClick();
    QVERIFY(CatRows(&d).isEmpty());
    QCOMPARE(m.GetCatCount(), 0u);
    Click(&d, "btnDel"); // nothing left: Delete and Update do nothing
    Click(&d, "btnUpdate");
    QVERIFY(CatRows(&d).isEmpty());
    QVERIFY(d.IsChanged());
}

void DialogTest::categoryFileIsWrittenOnlyByOkAfterAChange()
{
    GuiFixture f;
    CLCmdManager m;
    {
        TfmCat d(&m);
        d.UpdateCatData(false);
        d.btnOKClick();
        QCOMPARE(d.result(), 1);
        QVERIFY(!std::filesystem::exists(f.home.File("clcat.dat")));
    }
    {
        TfmCat d(&m);
        d.UpdateCatData(false);
        FillCat(&d, "3", "Three", "3.htm");
        d.btnAddClick();
        QVERIFY(!std::filesystem::exists(f.home.File("clcat.dat")));
        d.btnOKClick();
        Bytes expect =
            ByteWriter().str("CLCAT").dw(10000).dw(1).dw(3).str("Three").str("3.htm").bytes();
        QCOMPARE(ReadBytes(f.home.File("clcat.dat")), expect);
    }
}

void DialogTest::dialogsWorkFromTheKeyboard()
{
    GuiFixture f;
    CLCmdParam entry{};
    TfmParam d;
    d.SetParam(&entry);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    // Tab goes through the fields, then OK and Cancel.
    QStringList order;
    d.findChild<QLineEdit*>("edtName")->setFocus();
    for (int i = 0; i < 7; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        order << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"edtName", "edtDesc", "memChoice", "edtNotes", "btnOK",
                                 "btnCancel", "edtName"}));

    // Enter presses OK; with an empty keyword the dialog stays open.
    QTest::keyClick(d.findChild<QLineEdit*>("edtName"), Qt::Key_Return);
    QCOMPARE(f.MessageTexts(), QStringList({"Invalid Parameter Keyword."}));
    QTest::keyClicks(d.findChild<QLineEdit*>("edtName"), "lib");
    QTest::keyClick(d.findChild<QLineEdit*>("edtName"), Qt::Key_Return);
    QCOMPARE(d.result(), 1);
    QCOMPARE(QString(entry.szKeyword), QString("LIB"));

    CLCmdError error{};
    TfmErrorMsg e;
    e.SetErrorMsg(&error);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    QTest::keyClick(&e, Qt::Key_Escape);
    QVERIFY(e.isHidden());
    QVERIFY(e.result() != 1);
}

QObject* NewDialogTest()
{
    return new DialogTest;
}

#include "DialogTest.moc"
