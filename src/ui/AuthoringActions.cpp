#include "AuthoringActions.h"

#include "AddCmdDialog.h"
#include "AppSettings.h"
#include "CLCmdDefImport.h"
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLHtmlWriter.h"
#include "CLRecordStore.h"
#include "CLRecordUtil.h"
#include "CmdDefXml.h"
#include "DialogRunner.h"
#include "FileDialog.h"
#include "FolderLock.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "RecordPages.h"
#include "apputil.h"
#include "cat.h"
#include "main.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>
#include <vector>

namespace {

// Restores the arrow cursor when it goes out of scope.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// The folder the definitions chooser opened last in this run.
QString& LastDefinitionsFolder()
{
    static QString folder;
    return folder;
}

QString Local(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str());
}

} // namespace

AuthoringActions::AuthoringActions(TfmMain* window) : QObject(window), m_pWindow(window) {}

bool AuthoringActions::IsReader() const
{
    return AppSettings.RunMode == kRunModeRead;
}

// --- commands ---------------------------------------------------------------------

void AuthoringActions::AddCommand()
{
    if (IsReader() || !m_pWindow->ConfirmLeave())
        return;
    CLCmdManager* pManager = m_pWindow->GetCmdManager();
    // The command goes into the category chosen, or category 1 under "All".
    CLCategory* pCat = m_pWindow->ChosenCategory();
    const uint32_t dwCat = pCat ? pCat->dwID : 1;
    CLCategory* pTarget = pCat ? pCat : pManager->FindCat(dwCat);
    const QString category =
        pTarget ? FromLatin1(FieldText(pTarget->szName)) : QString::number(dwCat);
    AddCmdDialog dialog(pManager, category, pCat == nullptr, m_pWindow);
    if (RunDialog(&dialog) != QDialog::Accepted)
        return;
    const std::string name = ToLatin1(dialog.textValue());
    if (!CLCmdManager::IsCLName(name.c_str())) {
        MsgBox::Error(m_pWindow, QString::fromLatin1(CLCmdManager::kInvalidCmdName));
        return;
    }
    CLCmdIndex idx = CLCmdManager::MakeCmdIdx(name, dwCat);
    // A new command starts empty, whatever file may lie under its name.
    idx.pRec = new CLCmdRecord;
    CLCmdManager::InitCmdRecord(nullptr, idx.pRec);
    CopyField(idx.pRec->szName, name);
    const uint32_t nBefore = pManager->GetCmdIdxCount();
    CLCmdIndex* pStored = pManager->AddCmdIdx(&idx); // a duplicate is reported there
    if (!pStored || pManager->GetCmdIdxCount() == nBefore) {
        CLCmdManager::FreeCmdRecord(idx.pRec);
        return;
    }
    m_pWindow->FillCommandList();
    m_pWindow->SelectCommand(pStored->szName);
}

void AuthoringActions::DeleteCommand()
{
    CLCmdIndex* pIdx = m_pWindow->GetCurIdx();
    if (IsReader() || !pIdx)
        return;
    // The question names the command it acts on: the one shown, highlighted.
    const QString question =
        QStringLiteral("Delete CL Command \"%1\"?").arg(FromLatin1(FieldText(pIdx->szName)));
    if (MsgBox::Ask(m_pWindow, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                    QMessageBox::No) != QMessageBox::Yes)
        return;
    // The pages' rows refer to the record that goes with the entry.
    m_pWindow->Pages()->Clear();
    m_pWindow->RemoveCommandRow(pIdx); // shows the next command, or none
    m_pWindow->GetCmdManager()->DeleteCmdIdx(pIdx);
}

bool AuthoringActions::SaveShown(const std::string& name)
{
    CLCmdManager* pManager = m_pWindow->GetCmdManager();
    CLCmdIndex* pIdx = m_pWindow->GetCurIdx();
    const bool bRename = name != FieldText(pIdx->szName);
    bool bSaved = false;
    std::string why;
    {
        FolderWork work(m_pWindow);
        if (!work.IsHeld())
            return false;
        if (bRename) {
            bSaved = CLRecordStore::Rename(pManager, pIdx, name, &why);
        } else {
            bSaved = pManager->SaveCmdRecord(pIdx->pRec);
            why = "The file \"" + pManager->GetCmdRecordFileName(pIdx) + "\" cannot be written.";
        }
    }
    if (!bSaved)
        MsgBox::Error(m_pWindow, Local(why));
    return bSaved;
}

bool AuthoringActions::SaveLists()
{
    CLCmdManager* pManager = m_pWindow->GetCmdManager();
    if (!pManager->IsCmdIdxListChanged() && !pManager->IsCatListChanged())
        return true;
    bool bSaved = false;
    {
        FolderWork work(m_pWindow);
        if (!work.IsHeld())
            return false;
        bSaved = pManager->SaveAll();
    }
    if (!bSaved)
        MsgBox::Error(m_pWindow, Local(pManager->GetSaveError()));
    return bSaved;
}

void AuthoringActions::EditCategories()
{
    if (IsReader())
        return;
    TfmCat dialog(m_pWindow->GetCmdManager(), m_pWindow);
    dialog.UpdateCatData(false);
    RunDialog(&dialog);
    if (dialog.IsChanged() && m_pWindow->ConfirmLeave())
        m_pWindow->FillCategoryList();
}

// --- import and build ----------------------------------------------------------------

void AuthoringActions::AnalyzeFile()
{
    if (IsReader())
        return;
    const QString file = FileDialog::GetOpenFileName(
        m_pWindow, QStringLiteral("Analyze File"), QString::fromStdString(GetImportFile()),
        QStringLiteral("Command lists (*.txt);;All files (*)"));
    if (file.isEmpty())
        return;
    AppSettings.ImportFile = file.toStdString();
    CLCmdManager* pManager = m_pWindow->GetCmdManager();
    const QString question =
        QStringLiteral("Analyze File replaces the %1 categories and %2 commands of the reference "
                       "with those listed in \"%3\". Do you want to go on?")
            .arg(pManager->GetCatCount())
            .arg(pManager->GetCmdIdxCount())
            .arg(file);
    if (MsgBox::Ask(m_pWindow, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                    QMessageBox::No) != QMessageBox::Yes ||
        !m_pWindow->ConfirmLeave())
        return;
    bool ok;
    QString error;
    QStringList warnings;
    {
        FolderWork work(m_pWindow);
        if (!work.IsHeld())
            return;
        {
            CLFileAnalyzer analyzer;
            analyzer.SetMakeRecords(false); // the reload reads the records as it needs them
            ok = analyzer.AnalyzeFile(file.toLocal8Bit().constData());
            error = Local(analyzer.GetLastError());
            for (const std::string& w : analyzer.GetWarnings())
                warnings << FromLatin1(w);
        }
        // A refused import changed no file: the work in memory stays. Else the
        // reload releases every record: nothing on the pages may refer to one.
        if (ok) {
            m_pWindow->ClearPages();
            pManager->LoadAll();
            m_pWindow->FillCategoryList();
            m_pWindow->StartSearchIndex();
        }
    } // the refused lines are shown here, after the lock is released
    if (ok)
        MsgBox::Information(m_pWindow, QStringLiteral("Data Analyzing Finished."));
    else
        MsgBox::Error(m_pWindow, error);
    if (!warnings.isEmpty())
        MsgBox::Error(m_pWindow, MsgBox::FirstLines(warnings, 20));
}

void AuthoringActions::BuildDataFile()
{
    // The build joins the saved files: an edit on screen is settled first.
    if (IsReader() || !m_pWindow->ConfirmLeave())
        return;
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(m_pWindow->GetCmdManager());
    bool ok;
    {
        FolderWork work(m_pWindow);
        if (!work.IsHeld())
            return;
        ok = analyzer.BuildDataFile();
    }
    if (!ok) {
        MsgBox::Error(m_pWindow, Local(analyzer.GetLastError()));
        return;
    }
    MsgBox::Information(m_pWindow, QStringLiteral("Data Building Finished."));
    m_pWindow->StartSearchIndex();
    if (!analyzer.GetWarnings().empty()) {
        QStringList lines;
        for (const std::string& w : analyzer.GetWarnings())
            lines << FromLatin1(w);
        MsgBox::Error(m_pWindow, lines.join(QLatin1Char('\n')));
    }
}

void AuthoringActions::ImportDefinitions()
{
    if (IsReader())
        return;
    if (LastDefinitionsFolder().isEmpty())
        LastDefinitionsFolder() = QFileInfo(QString::fromStdString(GetImportFile())).absolutePath();
    const QStringList files = FileDialog::GetOpenFileNames(
        m_pWindow, QStringLiteral("Import Command Definitions"), LastDefinitionsFolder(),
        QStringLiteral("Command definitions (*.xml);;All files (*)"));
    if (files.isEmpty())
        return;
    LastDefinitionsFolder() = QFileInfo(files.first()).absolutePath();

    // The import rereads the records it changes and writes the index: the
    // shown command's edits are settled and unsaved lists saved first.
    if (!m_pWindow->ConfirmLeave())
        return;
    CLCmdManager* pManager = m_pWindow->GetCmdManager();
    if (pManager->IsCmdIdxListChanged() || pManager->IsCatListChanged()) {
        const QString question =
            QStringLiteral("Your changes are saved before the import:\n%1\n\nDo you want to go "
                           "on?")
                .arg(m_pWindow->UnsavedWork().join(QLatin1Char('\n')));
        if (MsgBox::Ask(m_pWindow, question, QMessageBox::Save | QMessageBox::Cancel,
                        QMessageBox::Save, QMessageBox::Cancel) != QMessageBox::Save ||
            !SaveLists())
            return;
    }

    // What each file would do; a parameter list that would be replaced is
    // shown first and changed only when the author agrees.
    CLCategory* pCat = m_pWindow->ChosenCategory();
    CLCmdDefImport importer(pManager, pCat ? pCat->dwID : 1);
    std::vector<CLCmdDefinition> defs;
    QStringList refused, replaced;
    for (const QString& file : files) {
        CLCmdDefinition def;
        CLCmdDefChange change;
        std::string why;
        if (!CmdDefXml::ReadFile(file.toLocal8Bit().toStdString(), &def, &why) ||
            !importer.Preview(def, &change, &why)) {
            refused << QStringLiteral("%1: %2").arg(file, FromLatin1(why));
            continue;
        }
        if (!change.bNew)
            replaced << QStringLiteral("%1: %2 added, %3 removed, %4 changed")
                            .arg(FromLatin1(change.name))
                            .arg(change.added.size())
                            .arg(change.removed.size())
                            .arg(change.changed.size());
        defs.push_back(std::move(def));
    }
    if (!replaced.isEmpty()) {
        const QString question =
            QStringLiteral("The parameter lists of these commands are replaced (parameters "
                           "added, removed, changed):\n\n%1\n\nDo you want to go on?")
                .arg(MsgBox::FirstLines(replaced, 20));
        if (MsgBox::Ask(m_pWindow, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                        QMessageBox::No) != QMessageBox::Yes)
            return;
    }

    const std::string shown =
        m_pWindow->GetCurIdx() ? FieldText(m_pWindow->GetCurIdx()->szName) : std::string();
    QStringList lines;
    std::string first, buildError;
    size_t nTaken = 0;
    {
        auto work = std::make_unique<FolderWork>(m_pWindow);
        if (!work->IsHeld())
            return;
        const QString dataFolder = Local(CLCmdManager::GetDataFolder());
        if (!QDir().mkpath(dataFolder)) {
            work.reset();
            MsgBox::Error(m_pWindow,
                          QStringLiteral("The folder \"%1\" cannot be created.").arg(dataFolder));
            return;
        }
        // The pages refer to the records the import may release.
        m_pWindow->ClearPages();
        WaitCursor wait;
        std::vector<CLCmdDefChange> changes;
        for (const CLCmdDefinition& def : defs) {
            CLCmdDefChange change;
            std::string why;
            if (!importer.Import(def, &change, &why)) {
                refused << FromLatin1(def.name + ": " + why);
                continue;
            }
            changes.push_back(change);
        }
        // A new command counts only once the index that names it is saved.
        std::string why;
        const bool bIndexSaved = importer.Finish(&why);
        for (const CLCmdDefChange& change : changes) {
            if (!bIndexSaved && change.bNew)
                continue;
            if (first.empty())
                first = change.name;
            lines << FromLatin1(change.Summary());
            ++nTaken;
        }
        if (!bIndexSaved)
            refused << FromLatin1(why);
        // A reader of clcmd.dat (any run mode but 1) sees the imported
        // commands only once they are built: the build follows at once.
        if (nTaken > 0 && !pManager->ReadsRecordFiles()) {
            CLFileAnalyzer builder;
            builder.SetCmdManager(pManager);
            if (!builder.BuildDataFile())
                buildError = builder.GetLastError();
        }
    } // nothing below writes; the lock goes before any box is shown
    m_pWindow->FillCommandList();
    const std::string show = first.empty() ? shown : first;
    if (!show.empty())
        m_pWindow->SelectCommand(show.c_str());
    m_pWindow->RefreshStatus();
    m_pWindow->StartSearchIndex();
    if (!buildError.empty())
        refused << Local(buildError);
    const QString head = nTaken == 0 ? QStringLiteral("No command definition was imported.")
                                     : QStringLiteral("Command Definitions Imported.");
    const QString text = head + QStringLiteral("\n\n") + MsgBox::FirstLines(lines + refused, 30);
    if (refused.isEmpty())
        MsgBox::Information(m_pWindow, text);
    else if (nTaken > 0)
        MsgBox::Warning(m_pWindow, text);
    else
        MsgBox::Error(m_pWindow, text);
}

// --- the HTML pages -------------------------------------------------------------------

void AuthoringActions::ApplyHtmlOptions()
{
    std::string why;
    m_pWindow->HtmlWriter()->SetOptions(LoadHtmlOptions(&why));
    if (!why.empty())
        MsgBox::Error(m_pWindow, Local(why));
}

void AuthoringActions::CreateHtml()
{
    CLHtmlWriter* pWriter = m_pWindow->HtmlWriter();
    CLCmdIndex* pIdx = m_pWindow->GetCurIdx();
    if (IsReader() || !pIdx || !pWriter)
        return;
    const QString folder = QString::fromStdString(GetHtmlFolder());
    QDir().mkpath(folder);
    pWriter->SetOutputFolder(folder.toStdString());
    ApplyHtmlOptions();
    if (!pWriter->CreateCmdHtml(pIdx))
        MsgBox::Error(m_pWindow, Local(pWriter->GetLastError()));
}

void AuthoringActions::CreateAllHtml()
{
    CLHtmlWriter* pWriter = m_pWindow->HtmlWriter();
    if (IsReader() || !pWriter)
        return;
    const QString folder = FileDialog::GetExistingDirectory(
        m_pWindow, QStringLiteral("Create All HTML"), QString::fromStdString(GetHtmlFolder()));
    if (folder.isEmpty())
        return;
    AppSettings.HtmlFolder = folder.toStdString();
    pWriter->SetOutputFolder(folder.toStdString());
    ApplyHtmlOptions();
    bool ok;
    {
        WaitCursor wait;
        ok = pWriter->CreateAllHtml();
    }
    if (!ok) {
        QStringList lines;
        for (const std::string& error : pWriter->GetErrors())
            lines << Local(error);
        MsgBox::Error(m_pWindow, MsgBox::FirstLines(lines, 20));
    }
}
