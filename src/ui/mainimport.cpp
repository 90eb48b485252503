// The main window's import of IBM i command definitions: the XML documents
// of the Retrieve Command Definition API become parameter lists.
#include "CLCmdDefImport.h"
#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "CmdDefXml.h"
#include "FileDialog.h"
#include "FolderLock.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "apputil.h"
#include "main.h"
#include "ui_main.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {

// The folder the chooser opened last in this run.
QString& LastFolder()
{
    static QString folder;
    return folder;
}

} // namespace

void TfmMain::pmiImportCmdDefClick()
{
    if (LastFolder().isEmpty())
        LastFolder() = QFileInfo(QString::fromStdString(GetImportFile())).absolutePath();
    const QStringList files = FileDialog::GetOpenFileNames(
        this, QStringLiteral("Import Command Definitions"), LastFolder(),
        QStringLiteral("Command definitions (*.xml);;All files (*)"));
    if (files.isEmpty())
        return;
    LastFolder() = QFileInfo(files.first()).absolutePath();

    // The import rereads the records it changes: pending edits are saved first,
    // so none is lost and the index written afterwards holds only saved work.
    const QStringList unsaved = UnsavedWork();
    if (!unsaved.isEmpty()) {
        QString question = QStringLiteral("Your changes are saved before the import:\n%1\n\n"
                                          "Do you want to go on?")
                               .arg(unsaved.join(QLatin1Char('\n')));
        if (MsgBox::Ask(this, question, QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save,
                        QMessageBox::Cancel) != QMessageBox::Save ||
            !SaveAllWork())
            return;
    }

    auto work = std::make_unique<FolderWork>(this);
    if (!work->IsHeld())
        return;
    const QString dataFolder = QString::fromLocal8Bit(CLCmdManager::GetDataFolder().c_str());
    if (!QDir().mkpath(dataFolder)) {
        work.reset();
        MsgBox::Error(this, QStringLiteral("The folder \"%1\" cannot be created.").arg(dataFolder));
        return;
    }

    // New commands go into the category chosen, or category 1 under "All".
    auto* pCat = reinterpret_cast<CLCategory*>(ui->cbCate->currentData().value<quintptr>());
    const std::string shown = m_pCurIdx ? FieldText(m_pCurIdx->szName) : std::string();
    // The pages refer to the records the import may release.
    ClearPages();
    m_pCurIdx = nullptr;

    QStringList lines, refused;
    std::string first;
    bool bAllTaken = true;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        CLCmdDefImport importer(m_pCmdManager, pCat ? pCat->dwID : 1);
        std::vector<CLCmdDefChange> changes;
        for (const QString& file : files) {
            CLCmdDefinition def;
            CLCmdDefChange change;
            std::string why;
            if (!CmdDefXml::ReadFile(file.toLocal8Bit().toStdString(), &def, &why) ||
                !importer.Import(def, &change, &why)) {
                refused << QStringLiteral("%1: %2").arg(file, FromLatin1(why));
                bAllTaken = false;
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
        }
        lines << refused;
        if (!bIndexSaved) {
            lines << FromLatin1(why);
            bAllTaken = false;
        }
        QApplication::restoreOverrideCursor();
    }

    work.reset(); // nothing below writes; the lock goes before any box is shown
    FillCommandList();
    const std::string show = first.empty() ? shown : first;
    if (!show.empty())
        SelectCommand(show.c_str());
    RefreshStatus();
    StartSearchIndex();
    const QString head = first.empty() ? QStringLiteral("No command definition was imported.")
                                       : QStringLiteral("Command Definitions Imported.");
    const QString text = head + QStringLiteral("\n\n") + MsgBox::FirstLines(lines, 30);
    if (bAllTaken)
        MsgBox::Information(this, text);
    else
        MsgBox::Error(this, text);
}
