#include "GuiFixture.h"

#include "CLRecordUtil.h"

#include "CLFileAnalyzer.h"
#include "CLFolderLock.h"
#include "CLRecordUtil.h"
#include "CxFileLock.h"
#include "DialogRunner.h"
#include "FileDialog.h"
#include "MsgBox.h"
#include "ShellOpen.h"
#include "WinUtil.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <stdexcept>

GuiFixture::GuiFixture() : m_db(std::make_unique<CLCmdManager>())
{
    MsgBox::SetHandler(
        [this](QWidget*, const QString& text, const QString& caption, CLMsgIcon icon) {
            messages.push_back({text, caption, icon == CLMsgIcon::Error, FolderLockFree()});
        });
    MsgBox::SetAskHandler(
        [this](QWidget*, const QString& text, QMessageBox::StandardButtons buttons,
               QMessageBox::StandardButton def, QMessageBox::StandardButton escape) {
            questions.push_back({text, buttons, def, escape, FolderLockFree()});
            if (answers.empty())
                throw std::logic_error("a question was asked that the test did not expect");
            QMessageBox::StandardButton answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
    SetShellOpenHandler([this](const QString& target) { opened << target; });
    FileDialog::SetHandler([this](const QString&, const QString&) {
        return chooserAnswers.isEmpty() ? QString() : chooserAnswers.takeFirst();
    });
    SetDialogHandler([this](QDialog* dialog) {
        ++dialogsShown;
        if (dialogAnswers.empty())
            throw std::logic_error("a dialog was shown that the test did not expect");
        auto answer = dialogAnswers.front();
        dialogAnswers.erase(dialogAnswers.begin());
        return answer(dialog);
    });
}

GuiFixture::~GuiFixture()
{
    Close();
    MsgBox::SetHandler({});
    MsgBox::SetAskHandler({});
    SetShellOpenHandler({});
    FileDialog::SetHandler({});
    SetDialogHandler({});
}

bool FolderLockFree()
{
    // Another descriptor of the lock file conflicts within one process too.
    CxFileLock other;
    return other.Acquire(AppFile(CLFolderLock::kLockFile), 0);
}

void GuiFixture::AddCategory(uint32_t id, const std::string& name, const std::string& file)
{
    CLCategory c{};
    c.dwID = id;
    CopyField(c.szName, name);
    CopyField(c.szFileName, file);
    m_db->AddCat(&c);
}

void GuiFixture::AddCommand(const CommandSpec& command)
{
    CLCmdIndex e = MakeIdx(command.name, command.cat);
    CLCmdIndex* p = m_db->AddCmdIdx(&e);
    RecordPtr rec = NewRecord();
    FillRecord(rec.get(), p, command.name, command.desc, "", command.params, command.errors,
               command.detail, "", command.example);
    SetText(rec->pszReserved, command.reserved);
    if (!m_db->SaveCmdRecord(rec.get()))
        throw std::runtime_error("cannot save " + command.name);
}

void GuiFixture::WriteDatabase()
{
    CLFileAnalyzer builder;
    builder.SetCmdManager(m_db.get());
    if (!m_db->SaveCatList() || !builder.BuildDataFile())
        throw std::runtime_error("cannot write the database");
}

void GuiFixture::WriteSettings(int runMode, int lastCat, const std::string& lastCmd)
{
    WriteText(home.File("tarvexa.ini"), "[Zentrivo]\nRunMode=" + std::to_string(runMode) +
                                            "\nDataMode=1\nLastCat=" + std::to_string(lastCat) +
                                            "\nLastCmd=" + lastCmd + "\n");
}

std::string GuiFixture::Settings() const
{
    return ReadText(home.File("tarvexa.ini"));
}

TfmMain* GuiFixture::Open()
{
    Close();
    m_window = std::make_unique<TfmMain>();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        throw std::runtime_error("the main window did not show");
    return m_window.get();
}

void GuiFixture::Close()
{
    m_window.reset();
}

QStringList GuiFixture::ListItems() const
{
    QStringList items;
    QAbstractItemModel* model = Find<QListView>("lbCommand")->model();
    for (int i = 0; i < model->rowCount(); ++i)
        items << model->index(i, 0).data().toString();
    return items;
}

int GuiFixture::SelectedListRow() const
{
    QModelIndexList selected = Find<QListView>("lbCommand")->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QString GuiFixture::Shown() const
{
    return Find<QLineEdit>("edtName")->text();
}

void GuiFixture::PickCategory(int index)
{
    auto* combo = Find<QComboBox>("cbCate");
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void GuiFixture::ClickListRow(int row)
{
    auto* view = Find<QListView>("lbCommand");
    QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

QStringList GuiFixture::Rows(const char* view, int column) const
{
    QStringList rows;
    auto* tree = Find<QTreeWidget>(view);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        rows << tree->topLevelItem(i)->text(column);
    return rows;
}

void GuiFixture::SelectRow(const char* view, int row)
{
    auto* tree = Find<QTreeWidget>(view);
    if (row < 0)
        tree->clearSelection();
    else
        tree->setCurrentItem(tree->topLevelItem(row));
}

QStringList GuiFixture::MessageTexts() const
{
    QStringList texts;
    for (const auto& m : messages)
        texts << m.text;
    return texts;
}

void SetText(QDialog* dialog, const char* name, const QString& text)
{
    QWidget* w = dialog->findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->clear();
        QTest::keyClicks(edit, text); // typed, so upper-casing applies
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        memo->setPlainText(text);
    } else {
        throw std::logic_error(std::string("no edit named ") + name);
    }
}

QString TextOf(QDialog* dialog, const char* name)
{
    QWidget* w = dialog->findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->toPlainText();
    throw std::logic_error(std::string("no edit named ") + name);
}

void Click(QDialog* dialog, const char* button)
{
    auto* b = dialog->findChild<QPushButton*>(QString::fromLatin1(button));
    if (!b)
        throw std::logic_error(std::string("no button named ") + button);
    b->click();
}
