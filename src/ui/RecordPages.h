// RecordPages: the four pages of a command (Overview, Parameters, Examples,
// Error Messages), the page control pClient of the main window, and the
// exchange between a command's record and their controls in both directions.
//
// Showing a command reads its record once and keeps it with its index entry.
// Edits stay in the controls (and in the rows of the two lists, whose
// dialogs change the entries they refer to) until Store takes them into the
// record or Discard drops them; IsEdited tells whether there are any.
#ifndef RECORDPAGES_H
#define RECORDPAGES_H

#include "CLRecords.h"
#include "CLSearch.h"

#include <QTabWidget>

#include <string>
#include <vector>

class CLCmdManager;
class QMenu;
class QTreeWidget;

namespace Ui {
class RecordPages;
}

class RecordPages : public QTabWidget
{
    Q_OBJECT
public:
    explicit RecordPages(QWidget* parent = nullptr);
    ~RecordPages() override;

    void SetManager(CLCmdManager* pManager) { m_pCmdManager = pManager; }
    // The command shown, or null.
    CLCmdIndex* Current() const { return m_pCurIdx; }

    // Record to controls: shows pIdx (reading its record when not loaded yet);
    // the edit flags are cleared. False for a null entry.
    bool Show(CLCmdIndex* pIdx);
    // Controls to record: checks the name (false, *pWhy saying why, nothing
    // changed) and then takes every field and both lists into the record.
    // The name typed goes to *pName; the record keeps its old name, which a
    // rename changes only once the record is saved under the new one.
    bool Store(std::string* pName, std::string* pWhy);
    // The two lists' exchange with the record (false without a record).
    bool UpdateParamData(bool bSave);
    bool UpdateErrorData(bool bSave);
    // Whether the controls or the lists hold edits not yet in the file.
    bool IsEdited() const;
    // The edits have reached the file: the flags are cleared.
    void NoteSaved();
    // Drops the edits: the record is read again from its file.
    void Discard();
    // Empties every page, so nothing refers to a record that is gone.
    void Clear();

    // Reading run mode: no field, row or dialog changes a record.
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    // Points added to the pages' text.
    void SetZoom(int nZoom);
    // Shows the page and row of a place found by the search.
    void ShowPlace(CLSearch::Field field, uint32_t item);
    // Marks the words a search matched (folded, as CLSearch::MatchedSpans
    // takes them) in the memos and in the cells of both lists; no words
    // clear the marks, as showing a command does.
    void Highlight(const std::vector<CLSearch::Word>& words);

    // The popup menus of the two lists, or null in the reading run mode.
    QMenu* ParamMenu() const { return m_pmParam; }
    QMenu* ErrorMenu() const { return m_pmError; }
    // Their items.
    void AddParam();
    void InsertParam();
    void DeleteParam();
    void ParamProperties();
    void AddError();
    void DeleteError();
    void ErrorProperties();
    // The detail and examples memos changed (they set the edit flags).
    void DetailChanged() { m_bDetailChanged = true; }
    void ExampleChanged() { m_bExampleChanged = true; }

    // The hint labels' colour for the current palette.
    void SetHintColour(const QString& colour);

signals:
    // "CL Command on the Web" and "Prompt..." were pressed.
    void webRequested();
    void promptRequested();
    // The lists' menus and dialogs changed a row.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetupMenus();
    void AddParamRow(int row, bool bInsert);
    void ShowPopup(QMenu* menu, QTreeWidget* view, const QPoint& pos);
    void ShowPartialNotice();

    Ui::RecordPages* ui;
    CLCmdManager* m_pCmdManager = nullptr;
    CLCmdIndex* m_pCurIdx = nullptr;
    QMenu* m_pmParam = nullptr;
    QMenu* m_pmError = nullptr;
    bool m_bReadOnly = false;
    bool m_bDetailChanged = false;
    bool m_bExampleChanged = false;
    bool m_bRowsChanged = false; // rows added, deleted or edited since the command was shown
};

#endif
