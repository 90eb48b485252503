// TfmMain: the main window. Readers pick a category and a command and read it
// on four pages; in the editing run modes three popup menus make the window
// the authoring tool of the reference (mainedit.cpp).
//
// The window never touches a data file itself: it goes through its database
// manager, which it owns with the HTML writer for the whole run. A command's
// record is read once, on first display, and stays with its index entry.
#ifndef MAIN_H
#define MAIN_H

#include "CLRecords.h"

#include "CLSearch.h"

#include <QMainWindow>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CLCmdManager;
class CLHtmlWriter;
class CLSearchIndex;
class QKeyEvent;
class CommandListModel;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

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
    // Run mode 2: overview read-only and no popup menus.
    void ApplyRunMode();

    void FillCategoryList();
    void FillCommandList();
    void SelectCommand(const char* szCmdName);
    CLCmdManager* GetCmdManager() const { return m_pCmdManager; }
    CLCmdIndex* GetCurIdx() const { return m_pCurIdx; }
    CLHtmlWriter* GetHtmlWriter() const { return m_pHtmlWriter; }

    // bSave false: the current command into the controls; true: the controls
    // into its record, which is then saved.
    bool UpdateCommandData(bool bSave);
    bool UpdateParamData(bool bSave);
    bool UpdateErrorData(bool bSave);

    // The text of the status bar's panel.
    QString StatusText() const;
    // What Exit would lose, one line per kind of work; empty when nothing is
    // unsaved or the window is a reader (run mode 2).
    QStringList UnsavedWork();
    // Saves every modified command and, when they changed, the index and the
    // categories; false (with a message) at the first failure.
    bool SaveAllWork();
    // The three popup menus, or null once the run mode removed them.
    QMenu* CommandMenu() const { return m_pmCommand; }
    QMenu* ParamMenu() const { return m_pmParam; }
    QMenu* ErrorMenu() const { return m_pmError; }

    // --- event handlers ----------------------------------------------------
    void cbCateChange();
    void lbCommandClick();
    void lbCommandKeyPress();
    void btnSearchClick();
    void edtCommandChange();
    void btnWebClick();
    // The prompter for the shown command (F4, "Prompt..." on the Parameters page).
    void btnPromptClick();
    void btnExitClick();
    void btnCatClick();
    void memDetailChange();
    void memExampleChange();

    // --- editing commands (mainedit.cpp) -------------------------------------
    void pmCommandPopup();
    void pmiAddCmdClick();
    void pmiDelCmdClick();
    void pmiSaveCmdClick();
    void pmiAnalyzeClick();
    void pmiBuildDataClick();
    // Imports IBM i command definitions (XML) as parameter lists (mainimport.cpp).
    void pmiImportCmdDefClick();
    void pmiCreateHtmlClick();
    // Gives the HTML writer the publisher's settings of tarvexa.ini.
    void ApplyHtmlOptions();
    void pmiCreateAllHtmlClick();
    void pmiAddParamClick();
    void pmiInsertParamClick();
    void pmiDelParamClick();
    void pmiParamPropClick();
    void pmiAddErrorClick();
    void pmiDelErrorClick();
    void pmiErrorPropClick();
    void EditCategories();

    // The web address of a command's page on a site (SITE/clcommand/NAME.htm);
    // empty when the site is no http or https address.
    static QString CommandWebAddress(const CLCmdIndex* pIdx, const QString& site);

    // --- reading aids (mainfind.cpp) -----------------------------------------
    // Full-text search: the field in the top panel (Ctrl+F) and its results.
    void FocusFind();
    void edtFindChange();
    void lvFindActivate(QTreeWidgetItem* item);
    // Shows a command found, on the page and row where it was found.
    void ShowSearchHit(const std::string& name, CLSearch::Field field, uint32_t item);
    // Builds the search index anew, off the window's thread.
    void StartSearchIndex();
    // Tests: waits (handling events) until an index is ready.
    bool WaitForSearchIndex(int nMs);
    // The commands shown, to step back and forth through (Alt+Left, Alt+Right).
    void GoBack();
    void GoForward();
    // Text zoom of the pages (Ctrl+Plus, Ctrl+Minus, Ctrl+0).
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    void SetZoom(int nZoom);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SetupControls();
    // The labels', hints' and top panel's colours for the current palette.
    void ApplyColours();
    void SetupMenus();
    void ShowPopup(QMenu* menu, QWidget* view, const QPoint& pos);
    void SelectRow(int row);
    void ClearPages();
    void AddParamRow(int row, bool bInsert);
    void AddErrorRow();
    // The status panel's text for the category chosen and the listed commands.
    void RefreshStatus();
    // Moves the shown command's row to its place after a rename.
    void MoveCurrentRow();
    // True when the controls hold edits of the shown command not yet in its file.
    bool CurrentCommandEdited() const;
    void SetupReadingAids();
    void StopSearchIndex();
    void ShowFindResults();
    void HideFindResults();
    bool FindKey(QKeyEvent* key);
    bool ShowByName(const std::string& name);
    void NoteShown();
    void StepHistory(int step);
    bool HistoryMouse(QObject* watched, QEvent* event);
    void NoteRowEdited(bool bOwnEntry);

    Ui::TfmMain* ui;
    CommandListModel* m_pModel;
    QLabel* m_pStatus;
    QMenu* m_pmCommand = nullptr;
    QMenu* m_pmParam = nullptr;
    QMenu* m_pmError = nullptr;
    std::vector<QWidget*> m_tabOrder;

    CLCmdManager* m_pCmdManager = nullptr;
    CLHtmlWriter* m_pHtmlWriter = nullptr;
    CLCmdIndex* m_pCurIdx = nullptr;
    bool m_bFilling = false;
    bool m_bSelecting = false; // the program, not the user, moves the selection
    bool m_bDetailChanged = false;
    bool m_bExampleChanged = false;
    bool m_bRowsChanged = false; // rows added, inserted or deleted since the command was shown
    bool m_bDestroyed = false;
    // Entries whose record in memory was edited (Properties) but not saved.
    std::set<CLCmdIndex*> m_modified;

    std::shared_ptr<const CLSearchIndex> m_pSearchIndex; // null until built
    std::thread m_indexThread;
    std::atomic<bool> m_bStopIndex{false};
    int m_nIndexGeneration = 0;
    std::vector<std::string> m_history;
    int m_nHistoryPos = -1;
    bool m_bNavigating = false;
    int m_nColoursDark = -1; // the palette the colours were applied for; -1 none yet
};

// The main window, for the whole run.
extern TfmMain* fmMain;

#endif
