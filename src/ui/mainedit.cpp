// The main window's editing commands: the popup menus of the command list,
// the parameter list and the error-message list, and the category editor.
#include "AddCmdDialog.h"
#include "AppSettings.h"
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLHtmlWriter.h"
#include "CLRecordUtil.h"
#include "CommandListModel.h"
#include "DialogRunner.h"
#include "FileDialog.h"
#include "FolderLock.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "RowItem.h"
#include "RowText.h"
#include "UpperCaseValidator.h"
#include "apputil.h"
#include "cat.h"
#include "errormsg.h"
#include "main.h"
#include "param.h"
#include "ui_main.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

#include <memory>

namespace {

using ParamRow = RowItem<CLCmdParam>;
using ErrorRow = RowItem<CLCmdError>;

int SelectedRow(QTreeWidget* view)
{
    QList<QTreeWidgetItem*> selected = view->selectedItems();
    return selected.isEmpty() ? -1 : view->indexOfTopLevelItem(selected.first());
}

// Restores the arrow cursor when it goes out of scope.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

// --- the command list's menu -------------------------------------------------------

void TfmMain::pmCommandPopup()
{
    bool bSelected = !ui->lbCommand->selectionModel()->selectedIndexes().isEmpty();
    ui->pmiDelCmd->setEnabled(bSelected);
    ui->pmiSaveCmd->setEnabled(bSelected);
}

void TfmMain::pmiAddCmdClick()
{
    // The command goes into the category chosen, or category 1 under "All".
    auto* pCat = reinterpret_cast<CLCategory*>(ui->cbCate->currentData().value<quintptr>());
    uint32_t dwCat = pCat ? pCat->dwID : 1;
    CLCategory* pTarget = pCat ? pCat : m_pCmdManager->FindCat(dwCat);
    QString category = pTarget ? FromLatin1(FieldText(pTarget->szName)) : QString::number(dwCat);
    AddCmdDialog dialog(m_pCmdManager, category, pCat == nullptr, this);
    if (RunDialog(&dialog) != QDialog::Accepted)
        return;
    std::string name = ToLatin1(dialog.textValue());
    if (!CLCmdManager::IsCLName(name.c_str())) {
        MsgBox::Error(this, QStringLiteral("Invalid CL Command Name."));
        return;
    }
    CLCmdIndex idx = CLCmdManager::MakeCmdIdx(name, dwCat);
    uint32_t nBefore = m_pCmdManager->GetCmdIdxCount();
    CLCmdIndex* pStored = m_pCmdManager->AddCmdIdx(&idx); // a duplicate is reported there
    if (!pStored || m_pCmdManager->GetCmdIdxCount() == nBefore)
        return;
    FillCommandList();
    SelectCommand(pStored->szName);
}

void TfmMain::pmiDelCmdClick()
{
    if (!m_pCurIdx)
        return;
    CLCmdIndex* pDeleted = m_pCurIdx;
    int i = m_pModel->RowOf(pDeleted);
    // The rows on the pages refer to the record that goes with the entry.
    ui->lvParam->clear();
    ui->lvError->clear();
    if (!m_pCmdManager->DeleteCmdIdx(pDeleted)) {
        UpdateCommandData(false);
        return;
    }
    m_modified.erase(pDeleted);
    int n = m_pModel->Count();
    m_pModel->RemoveAt(i);
    RefreshStatus();
    int next = -1;
    if (i >= 0 && i < n - 1)
        next = i;
    else if (i > 0)
        next = i - 1;
    if (next < 0) {
        SelectRow(-1);
        ClearPages();
        return;
    }
    SelectRow(next);
    m_pCurIdx = m_pModel->At(next).pIdx;
    UpdateCommandData(false);
}

void TfmMain::pmiSaveCmdClick()
{
    if (m_pCurIdx)
        UpdateCommandData(true);
}

void TfmMain::pmiAnalyzeClick()
{
    QString file = FileDialog::GetOpenFileName(
        this, QStringLiteral("Analyze File"), QString::fromStdString(GetImportFile()),
        QStringLiteral("Command lists (*.txt);;All files (*)"));
    if (file.isEmpty())
        return;
    AppSettings.ImportFile = file.toStdString();
    QString question =
        QStringLiteral("Analyze File replaces the %1 categories and %2 commands of the reference "
                       "with those listed in \"%3\". Do you want to go on?")
            .arg(m_pCmdManager->GetCatCount())
            .arg(m_pCmdManager->GetCmdIdxCount())
            .arg(file);
    if (MsgBox::Ask(this, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                    QMessageBox::No) != QMessageBox::Yes)
        return;
    bool ok;
    QString error;
    QStringList warnings;
    {
        FolderWork work(this);
        if (!work.IsHeld())
            return;
        {
            CLFileAnalyzer analyzer;
            analyzer.SetMakeRecords(false); // the reload reads the records as it needs them
            ok = analyzer.AnalyzeFile(file.toLocal8Bit().constData());
            error = QString::fromLocal8Bit(analyzer.GetLastError().c_str());
            for (const std::string& w : analyzer.GetWarnings())
                warnings << FromLatin1(w);
        }
        // A refused import changed no file: the work in memory stays. Else the
        // reload releases every record: nothing on the pages may refer to one.
        if (ok) {
            ClearPages();
            m_modified.clear();
            m_pCmdManager->LoadAll();
            FillCategoryList();
            RefreshStatus();
            StartSearchIndex();
        }
    } // the refused lines are shown here, after the lock is released
    if (ok)
        MsgBox::Information(this, QStringLiteral("Data Analyzing Finished."));
    else
        MsgBox::Error(this, error);
    if (!warnings.isEmpty())
        MsgBox::Error(this, MsgBox::FirstLines(warnings, 20));
}

void TfmMain::pmiBuildDataClick()
{
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(m_pCmdManager);
    bool ok;
    {
        FolderWork work(this);
        if (!work.IsHeld())
            return;
        ok = analyzer.BuildDataFile();
    }
    if (!ok) {
        MsgBox::Error(this, QString::fromLocal8Bit(analyzer.GetLastError().c_str()));
        return;
    }
    MsgBox::Information(this, QStringLiteral("Data Building Finished."));
    StartSearchIndex();
    if (!analyzer.GetWarnings().empty()) {
        QStringList lines;
        for (const std::string& w : analyzer.GetWarnings())
            lines << FromLatin1(w);
        MsgBox::Error(this, lines.join(QLatin1Char('\n')));
    }
}

void TfmMain::pmiCreateHtmlClick()
{
    if (!m_pCurIdx || !m_pHtmlWriter)
        return;
    QString folder = QString::fromStdString(GetHtmlFolder());
    QDir().mkpath(folder);
    m_pHtmlWriter->SetOutputFolder(folder.toStdString());
    ApplyHtmlOptions();
    if (!m_pHtmlWriter->CreateCmdHtml(m_pCurIdx))
        MsgBox::Error(this, QString::fromLocal8Bit(m_pHtmlWriter->GetLastError().c_str()));
}

void TfmMain::ApplyHtmlOptions()
{
    std::string why;
    m_pHtmlWriter->SetOptions(LoadHtmlOptions(&why));
    if (!why.empty())
        MsgBox::Error(this, QString::fromLocal8Bit(why.c_str()));
}

void TfmMain::pmiCreateAllHtmlClick()
{
    if (!m_pHtmlWriter)
        return;
    QString folder = FileDialog::GetExistingDirectory(this, QStringLiteral("Create All HTML"),
                                                      QString::fromStdString(GetHtmlFolder()));
    if (folder.isEmpty())
        return;
    AppSettings.HtmlFolder = folder.toStdString();
    m_pHtmlWriter->SetOutputFolder(folder.toStdString());
    ApplyHtmlOptions();
    bool ok;
    {
        WaitCursor wait;
        ok = m_pHtmlWriter->CreateAllHtml();
    }
    if (!ok) {
        QStringList lines;
        for (const std::string& error : m_pHtmlWriter->GetErrors())
            lines << QString::fromLocal8Bit(error.c_str());
        MsgBox::Error(this, MsgBox::FirstLines(lines, 20));
    }
}

void TfmMain::EditCategories()
{
    TfmCat dialog(m_pCmdManager, this);
    dialog.UpdateCatData(false);
    RunDialog(&dialog);
    if (dialog.IsChanged())
        FillCategoryList();
}

// --- parameters ----------------------------------------------------------------------

void TfmMain::AddParamRow(int row, bool bInsert)
{
    auto entry = std::make_unique<CLCmdParam>();
    CopyField(entry->szNote, "Optional");
    TfmParam dialog(this);
    dialog.SetParam(entry.get());
    if (RunDialog(&dialog) != 1)
        return;
    auto* item = new ParamRow(std::move(entry));
    ShowParamRow(item, *item->Entry());
    if (bInsert && row >= 0)
        ui->lvParam->insertTopLevelItem(row, item);
    else
        ui->lvParam->addTopLevelItem(item);
    m_bRowsChanged = true;
}

void TfmMain::pmiAddParamClick()
{
    AddParamRow(-1, false);
}

void TfmMain::pmiInsertParamClick()
{
    AddParamRow(SelectedRow(ui->lvParam), true);
}

void TfmMain::pmiDelParamClick()
{
    int row = SelectedRow(ui->lvParam);
    if (row >= 0) {
        delete ui->lvParam->takeTopLevelItem(row);
        m_bRowsChanged = true;
    }
}

void TfmMain::pmiParamPropClick()
{
    int row = SelectedRow(ui->lvParam);
    if (row < 0)
        return;
    auto* item = static_cast<ParamRow*>(ui->lvParam->topLevelItem(row));
    TfmParam dialog(this);
    dialog.SetParam(item->Entry());
    if (RunDialog(&dialog) != 1)
        return;
    ShowParamRow(item, *item->Entry());
    NoteRowEdited(item->OwnsEntry());
}

// --- error messages -------------------------------------------------------------------

void TfmMain::AddErrorRow()
{
    auto entry = std::make_unique<CLCmdError>();
    CopyField(entry->szCode, "CPF");
    TfmErrorMsg dialog(this);
    dialog.SetErrorMsg(entry.get());
    if (RunDialog(&dialog) != 1)
        return;
    auto* item = new ErrorRow(std::move(entry));
    ShowErrorRow(item, *item->Entry());
    ui->lvError->addTopLevelItem(item);
    m_bRowsChanged = true;
}

void TfmMain::pmiAddErrorClick()
{
    AddErrorRow();
}

void TfmMain::pmiDelErrorClick()
{
    int row = SelectedRow(ui->lvError);
    if (row >= 0) {
        delete ui->lvError->takeTopLevelItem(row);
        m_bRowsChanged = true;
    }
}

void TfmMain::pmiErrorPropClick()
{
    int row = SelectedRow(ui->lvError);
    if (row < 0)
        return;
    auto* item = static_cast<ErrorRow*>(ui->lvError->topLevelItem(row));
    TfmErrorMsg dialog(this);
    dialog.SetErrorMsg(item->Entry());
    if (RunDialog(&dialog) != 1)
        return;
    ShowErrorRow(item, *item->Entry());
    NoteRowEdited(item->OwnsEntry());
}

// A row of its own changes only the rows; a row of the record changes the
// record in memory, which then waits to be saved.
void TfmMain::NoteRowEdited(bool bOwnEntry)
{
    if (bOwnEntry)
        m_bRowsChanged = true;
    else if (m_pCurIdx && AppSettings.RunMode != kRunModeRead)
        m_modified.insert(m_pCurIdx);
}
