// TfmMain: the main window. Readers pick a category and a command and read it
// on four pages (RecordPages); a menu bar reaches every action. In the
// editing run modes the popup menus and the Edit menu make the window the
// authoring tool of the reference (AuthoringActions); the reading aids
// (search, history, zoom) are ReadingAids.
//
// The window never touches a data file itself: it goes through its database
// manager, which it owns with the HTML writer for the whole run. A command's
// record is read once, on first display, and stays with its index entry.
// Whatever would show another command first asks about unsaved edits of the
// one shown (ConfirmLeave), so no edit is ever lost without a word.
#ifndef MAIN_H
#define MAIN_H

#include "CLRecords.h"
#include "CLSearch.h"

#include <QColor>
#include <QMainWindow>

#include <string>
#include <vector>

class AuthoringActions;
class CLCmdManager;
class CLHtmlWriter;
class CommandListModel;
class QLabel;
class QMenu;
class ReadingAids;
class RecordPages;
class QTimer;

namespace Ui {
class TfmMain;
}

class TfmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfmMain(QWidget* parent = nullptr);
    ~TfmMain() override;

    // Start-up: settings, database, lists, run mode, last command, HTML writer.
    void FormCreate();
    // Shut-down: settings written, writer and manager destroyed.
    void FormDestroy();
    // The run mode's set-up: in the reading run mode (2) nothing can change a
    // record (read-only pages, no editing menus or items); every other run
    // mode offers them. Applied again when the settings change it.
    void ApplyRunMode();

    void FillCategoryList();
    void FillCommandList();
    void SelectCommand(const char* szCmdName);
    CLCmdManager* GetCmdManager() const { return m_pCmdManager; }
    CLCmdIndex* GetCurIdx() const { return m_pCurIdx; }
    CLHtmlWriter* HtmlWriter() const { return m_pHtmlWriter; }
    RecordPages* Pages() const;

    // bSave false: the current command into the controls; true: the controls
    // into its record, which is then saved (a new name renames it).
    bool UpdateCommandData(bool bSave);
    bool UpdateParamData(bool bSave);
    bool UpdateErrorData(bool bSave);

    // Before the command shown changes (or the window closes, or the
    // reference is rebuilt): when it holds unsaved edits, asks Save, Discard
    // or Cancel. False when the user cancels or the save fails; the command
    // and its edits then stay shown, its row highlighted.
    bool ConfirmLeave();
    // Shows a command (after ConfirmLeave), selecting its row: in the chosen
    // category when it is there, else under "All". False when there is none.
    bool ShowCommand(CLCmdIndex* pIdx);
    bool ShowByName(const std::string& name);

    // The text of the status bar's panel.
    QString StatusText() const;
    // The status panel's text for the category chosen and the listed commands.
    void RefreshStatus();
    // The second panel: how many of the category's commands have a record.
    void RefreshDocumented();
    // What Exit would lose, one line per kind of work; empty when nothing is
    // unsaved or the window is a reader (run mode 2).
    QStringList UnsavedWork() const;
    // Saves the shown command's edits and, when they changed, the index and
    // the categories; false (with a message) at the first failure.
    bool SaveAllWork();
    // When there is unsaved work, asks Save, Discard or Cancel ("Save them
    // before <before>?"); false when the user cancels or a save fails.
    bool SettleUnsavedWork(const QString& before);
    // The popup menus, or null in the reading run mode.
    QMenu* CommandMenu() const;
    QMenu* ParamMenu() const;
    QMenu* ErrorMenu() const;
    // Empties the pages and the current command.
    void ClearPages();
    // Moves the shown command's row to its place after a rename.
    void MoveCurrentRow();
    // Takes a deleted command's row out of the list; the next row (or the one
    // before) is shown, or nothing when the list is empty.
    void RemoveCommandRow(CLCmdIndex* pIdx);
    // The category chosen in the drop-down, or null for "All".
    CLCategory* ChosenCategory() const;
    // Rebuilds the search index and the documented marks (after a change of the files).
    void StartSearchIndex();
    // Tests: waits (handling events) until the search index is ready.
    bool WaitForSearchIndex(int nMs);
    ReadingAids* Aids() const { return m_pAids; }

    // --- event handlers ----------------------------------------------------
    void cbCateChange();
    void lbCommandClick();
    void lbCommandKeyPress();
    void btnSearchClick();
    void edtCommandChange();
    void btnWebClick();
    // The prompter for the shown command (F4, "Prompt..." on the Parameters
    // page); F4 on a line of the Examples page fills it from that example.
    void btnPromptClick();
    void btnExitClick();
    void btnCatClick();
    void memDetailChange();
    void memExampleChange();

    // --- editing commands (AuthoringActions) ----------------------------------
    void pmCommandPopup();
    void pmiAddCmdClick();
    void pmiDelCmdClick();
    void pmiSaveCmdClick();
    void pmiAnalyzeClick();
    void pmiBuildDataClick();
    void pmiImportCmdDefClick();
    void pmiCreateHtmlClick();
    void pmiCreateAllHtmlClick();
    void pmiAddParamClick();
    void pmiInsertParamClick();
    void pmiDelParamClick();
    void pmiParamPropClick();
    void pmiAddErrorClick();
    void pmiDelErrorClick();
    void pmiErrorPropClick();
    void EditCategories();

    // The Settings dialog: run mode, web site, text zoom, applied at once.
    void EditSettings();
    // Help: the keyboard shortcuts and the program's version.
    void ShowShortcuts();
    void ShowAbout();
    // View > Documented Commands Only.
    void SetDocumentedOnly(bool bOnly);

    // The web address of a command's page on a site (SITE/clcommand/NAME.htm);
    // empty when the site is no http or https address.
    static QString CommandWebAddress(const CLCmdIndex* pIdx, const QString& site);
    // Whether site is an http or https address with a host.
    static bool IsWebSite(const QString& site);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SetupControls();
    void SetupMenuBar();
    void SetupPopupMenus();
    void ShowPopup(QMenu* menu, QWidget* view, const QPoint& pos);
    // The labels', hints' and top panel's colours for the current palette.
    void ApplyColours();
    // The banner, drawn for the width its label has.
    void DrawBanner();
    void SelectRow(int row);
    // Puts the highlight back on the command shown (after a cancelled leave).
    void KeepCurrentRow();
    // Shows the entry of a row of the list (after ConfirmLeave).
    void ShowRow(int row);
    // Marks the commands that have no record yet, when the index knows.
    void ApplyDocumented();
    // Window size, position, maximised state and splitter, from and to tarvexa.ini.
    void RestoreGeometry();
    void SaveGeometry();

    Ui::TfmMain* ui;
    CommandListModel* m_pModel;
    QLabel* m_pStatus;
    QLabel* m_pDocStatus; // "N of M commands documented"
    QMenu* m_pmCommand = nullptr;
    std::vector<QWidget*> m_tabOrder;
    std::vector<QAction*> m_editActions; // menu items only the editing run modes offer
    QAction* m_pDocumentedOnly = nullptr;

    CLCmdManager* m_pCmdManager = nullptr;
    CLHtmlWriter* m_pHtmlWriter = nullptr;
    CLCmdIndex* m_pCurIdx = nullptr;
    AuthoringActions* m_pAuthoring = nullptr;
    ReadingAids* m_pAids = nullptr;
    bool m_bFilling = false;
    bool m_bSelecting = false; // the program, not the user, moves the selection
    bool m_bDestroyed = false;
    bool m_bListKeys = false; // the list's selection last moved by a key, not the mouse
    int m_nColoursDark = -1;  // the palette the colours were applied for; -1 none yet
    QColor m_panel;           // the top panel's colour, the banner's background
    static constexpr int kBannerWidth = 475, kBannerHeight = 61;
};

#endif
