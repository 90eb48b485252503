// ReadingAids: what helps a reader find and step through commands without
// changing any: full-text search (the field in the top panel, Ctrl+F, and its
// list of results), built on an index made off the window's thread; the
// history of the commands shown (Alt+Left, Alt+Right, the Back and Forward
// buttons and the mouse's buttons); text zoom of the pages.
#ifndef READINGAIDS_H
#define READINGAIDS_H

#include "CLOptions.h"
#include "CLSearch.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CLSearchIndex;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TfmMain;

class ReadingAids : public QObject
{
    Q_OBJECT
public:
    ReadingAids(TfmMain* window, QLineEdit* find, QTreeWidget* results, QLabel* status);
    ~ReadingAids() override;

    // --- the search index --------------------------------------------------
    // Builds the index anew on a manager of its own (records read as options
    // say); onReady runs on the window's thread once it is there.
    void StartIndex(const CLOptions& options, std::function<void()> onReady);
    void StopIndex();
    // Tests: waits (handling events) until an index is ready.
    bool WaitForIndex(int nMs);
    // The index, or null until built.
    const CLSearchIndex* Index() const { return m_pIndex.get(); }

    // --- the search field --------------------------------------------------
    void FocusFind();
    // The results of the field's query under it: a line above them with how
    // many commands there are and, for a query that found nothing, the
    // corrected words searched instead; for a message id its MONMSG lines
    // (to copy) and each command once, those that send it first.
    void ShowResults();
    void HideResults();
    void Activate(QTreeWidgetItem* item);

    // --- history -----------------------------------------------------------
    // The window shows a command: bNow notes it at once (a click, Enter, Go
    // to Command, a search hit); else after it has been shown a moment, so
    // stepping through the list with the keys adds one entry, not one a row.
    void NoteShown(bool bNow);
    void GoBack();
    void GoForward();

    // --- text zoom ---------------------------------------------------------
    void ZoomIn();
    void ZoomOut();
    void ZoomReset();
    void SetZoom(int nZoom);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FindKey(QKeyEvent* key);
    void FillResults(const std::string& query);
    void PlaceResults();
    void NoteNow();
    void StepHistory(int step);

    TfmMain* m_pWindow;
    QLineEdit* m_pFind;
    QTreeWidget* m_pResults;
    QLabel* m_pStatus;
    QLabel* m_pCount;                              // the line above the results
    std::vector<CLSearch::Word> m_words;           // the words the results matched, for the page
    std::shared_ptr<const CLSearchIndex> m_pIndex; // null until built
    std::thread m_thread;
    std::atomic<bool> m_bStop{false};
    int m_nGeneration = 0;      // the index asked for last
    int m_nReadyGeneration = 0; // the index handed over last
    std::vector<std::string> m_history;
    int m_nHistoryPos = -1;
    bool m_bNavigating = false;
    QTimer* m_pSettle;
};

#endif
