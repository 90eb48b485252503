#include "ReadingAids.h"

#include "AppSettings.h"
#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "CLSearchIndex.h"
#include "Latin1.h"
#include "RecordPages.h"
#include "main.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <set>

namespace {

// What a row of the results carries.
enum FindRole
{
    kNameRole = Qt::UserRole,
    kFieldRole,
    kItemRole,
    kMonitorRole
};

constexpr size_t kMaxResults = 200;
constexpr int kResultsMaxHeight = 280;
constexpr int kResultsWidth = 576;
// The title column: wide enough for a MONMSG line that goes to a label, whole.
constexpr int kTitleWidth = 310;
constexpr int kMaxHistory = 100;
constexpr int kMinZoom = -3;
constexpr int kMaxZoom = 8;
constexpr int kSettleMs = 1000; // a command shown this long joins the history

} // namespace

ReadingAids::ReadingAids(TfmMain* window, QLineEdit* find, QTreeWidget* results, QLabel* status)
    : QObject(window), m_pWindow(window), m_pFind(find), m_pResults(results), m_pStatus(status)
{
    m_pResults->header()->resizeSection(0, 90);
    m_pResults->header()->resizeSection(1, kTitleWidth);
    m_pResults->hide();
    // The count reads as the results' caption: their frame and background.
    m_pCount = new QLabel(m_pResults->parentWidget());
    m_pCount->setObjectName(QStringLiteral("lblFindCount"));
    m_pCount->setAccessibleName(QStringLiteral("Search results count"));
    m_pCount->setTextFormat(Qt::AutoText);
    m_pCount->setWordWrap(true);
    m_pCount->setFrameShape(QFrame::StyledPanel);
    m_pCount->setMargin(3);
    m_pCount->setAutoFillBackground(true);
    m_pCount->setBackgroundRole(QPalette::AlternateBase);
    m_pCount->hide();
    connect(m_pFind, &QLineEdit::textChanged, this, [this] { ShowResults(); });
    connect(m_pResults, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { Activate(item); });
    m_pFind->installEventFilter(this);
    m_pSettle = new QTimer(this);
    m_pSettle->setSingleShot(true);
    m_pSettle->setInterval(kSettleMs);
    connect(m_pSettle, &QTimer::timeout, this, [this] { NoteNow(); });
    qApp->installEventFilter(this); // the mouse's back and forward buttons, anywhere in the window
}

ReadingAids::~ReadingAids()
{
    StopIndex();
    qApp->removeEventFilter(this);
}

// --- the search index -----------------------------------------------------------

void ReadingAids::StartIndex(const CLOptions& options, std::function<void()> onReady)
{
    StopIndex();
    m_bStop = false;
    const int generation = ++m_nGeneration;
    // A manager of its own reads the records, so nothing the window shows,
    // its current command or its lists' cursors are touched.
    m_thread = std::thread([this, generation, options, onReady] {
        auto pIndex = std::make_shared<CLSearchIndex>();
        CLCmdManager manager(options);
        manager.SetQuiet(true);
        bool ok = manager.LoadCmdIdxList() && pIndex->Build(manager, &m_bStop);
        if (!ok && m_bStop)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, generation, pIndex, onReady] {
                if (generation != m_nGeneration)
                    return;
                m_pIndex = pIndex;
                m_nReadyGeneration = generation;
                if (!m_pFind->text().isEmpty() && m_pFind->hasFocus())
                    ShowResults();
                if (onReady)
                    onReady();
            },
            Qt::QueuedConnection);
    });
}

void ReadingAids::StopIndex()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool ReadingAids::WaitForIndex(int nMs)
{
    // processEvents returns at once when nothing is pending, so the time is
    // measured, not counted in calls.
    QElapsedTimer timer;
    timer.start();
    while (m_nReadyGeneration != m_nGeneration && timer.elapsed() < nMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return m_nReadyGeneration == m_nGeneration && m_pIndex != nullptr;
}

// --- the search field and its results ---------------------------------------------

void ReadingAids::FocusFind()
{
    m_pFind->setFocus(Qt::ShortcutFocusReason);
    m_pFind->selectAll();
    if (!m_pFind->text().isEmpty())
        ShowResults();
}

void ReadingAids::ShowResults()
{
    m_pResults->clear();
    m_pCount->clear();
    m_words.clear();
    const std::string query = ToLatin1(m_pFind->text());
    if (query.find_first_not_of(' ') == std::string::npos) {
        HideResults();
        return;
    }
    FillResults(query);
    if (m_pResults->topLevelItem(0)->flags() & Qt::ItemIsEnabled)
        m_pResults->setCurrentItem(m_pResults->topLevelItem(0));
    PlaceResults();
}

void ReadingAids::FillResults(const std::string& query)
{
    QTreeWidget* view = m_pResults;
    auto addRow = [view](const QString& a, const QString& b, const QString& c) {
        auto* row = new QTreeWidgetItem(view, {a, b, c});
        for (int i = 0; i < 3; ++i)
            row->setToolTip(i, row->text(i));
        return row;
    };
    size_t nListed = 0;
    auto addCommand = [&](const std::string& name, const std::string& text, const QString& where,
                          CLSearch::Field field, uint32_t item) {
        QTreeWidgetItem* row = addRow(FromLatin1(name), FromLatin1(text), where);
        row->setData(0, kNameRole, FromLatin1(name));
        row->setData(0, kFieldRole, static_cast<int>(field));
        row->setData(0, kItemRole, item);
        ++nListed;
    };
    if (!m_pIndex) {
        addRow(QString(), QStringLiteral("Preparing the search..."), QString())
            ->setFlags(Qt::NoItemFlags);
        return;
    }
    const CLSearch::Results r = m_pIndex->Find(query, kMaxResults);
    m_words = CLSearch::ParseQuery(r.corrected.empty() ? query : r.corrected).words;
    // A message id: the lines that monitor it, plain and going to a label,
    // then the commands that send it, each once, before the others found.
    std::set<std::string> sends;
    for (const char* label : {"", CLSearch::kErrorLabel}) {
        std::string monitor;
        if (!CLSearch::MonitorLine(r.messageId, label, &monitor))
            continue;
        // The command in the first column, its parameters in the second.
        const QString line = FromLatin1(monitor);
        addRow(QStringLiteral("MONMSG"), line.section(QLatin1Char(' '), 1), QStringLiteral("copy"))
            ->setData(0, kMonitorRole, line);
    }
    for (const CLSearch::MessageHit& m : r.sends) {
        addCommand(m.name, m.text, QStringLiteral("sends it"), CLSearch::kError, m.item);
        sends.insert(m.name);
    }
    for (const CLSearch::Hit& h : r.hits) {
        if (!sends.count(h.name))
            addCommand(h.name, h.title, FromLatin1(h.where), h.field, h.item);
    }
    if (r.nFound == 0 && r.sends.empty()) {
        addRow(QString(), QStringLiteral("No command holds these words."), QString())
            ->setFlags(Qt::NoItemFlags);
        return;
    }
    // Every command the query finds holds its words, those that send a
    // message id too, so nFound counts each command once.
    const size_t nFound = std::max(r.nFound, r.sends.size());
    QString count =
        nFound == 1 ? QStringLiteral("1 command") : QStringLiteral("%L1 commands").arg(nFound);
    if (nListed < nFound)
        count += QStringLiteral(", the best %L1 listed").arg(nListed);
    if (!r.corrected.empty())
        count = QStringLiteral("Showing results for <b>%1</b> \u00b7 %2")
                    .arg(FromLatin1(r.corrected).toHtmlEscaped(), count);
    m_pCount->setText(count);
}

// Under the search field, the count above the results, as tall as their
// rows (up to twelve) and at most as wide as the window; the pages stay
// visible below.
void ReadingAids::PlaceResults()
{
    QTreeWidget* view = m_pResults;
    QWidget* area = view->parentWidget();
    const QPoint below = m_pFind->mapTo(area, QPoint(m_pFind->width(), m_pFind->height() + 2));
    const int width = std::min(kResultsWidth, area->width() - 8);
    const int x = std::max(4, below.x() - width);
    int y = below.y();
    if (!m_pCount->text().isEmpty()) {
        const int height = m_pCount->heightForWidth(width);
        m_pCount->setGeometry(x, y, width, height > 0 ? height : m_pCount->sizeHint().height());
        m_pCount->show();
        m_pCount->raise();
        y += m_pCount->height();
    } else {
        m_pCount->hide();
    }
    int rows = std::min(view->topLevelItemCount(), 12);
    int height = view->header()->sizeHint().height() + rows * view->sizeHintForRow(0) +
                 2 * view->frameWidth() + 2;
    view->setGeometry(x, y, width, std::min(height, kResultsMaxHeight));
    view->show();
    view->raise();
}

void ReadingAids::HideResults()
{
    m_pResults->hide();
    m_pCount->hide();
}

// Keys of the search field: Down and Up choose a result, Enter shows it,
// Escape leaves the field.
bool ReadingAids::FindKey(QKeyEvent* key)
{
    QTreeWidget* view = m_pResults;
    switch (key->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up: {
        if (!view->isVisible())
            return false;
        int row = view->indexOfTopLevelItem(view->currentItem());
        row += key->key() == Qt::Key_Down ? 1 : -1;
        if (QTreeWidgetItem* item = view->topLevelItem(row))
            view->setCurrentItem(item);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (view->isVisible() && view->currentItem())
            Activate(view->currentItem());
        return true;
    case Qt::Key_Escape:
        HideResults();
        m_pWindow->findChild<QWidget*>(QStringLiteral("lbCommand"))->setFocus(Qt::OtherFocusReason);
        return true;
    default:
        return false;
    }
}

void ReadingAids::Activate(QTreeWidgetItem* item)
{
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    QString monitor = item->data(0, kMonitorRole).toString();
    if (!monitor.isEmpty()) {
        QApplication::clipboard()->setText(monitor);
        m_pStatus->setText(QStringLiteral("Copied: %1").arg(monitor));
        return;
    }
    const std::string name = ToLatin1(item->data(0, kNameRole).toString());
    HideResults();
    if (!m_pWindow->ShowByName(name))
        return;
    NoteShown(true);
    // The page where it was found, and its row.
    m_pWindow->Pages()->ShowPlace(static_cast<CLSearch::Field>(item->data(0, kFieldRole).toInt()),
                                  item->data(0, kItemRole).toUInt());
    // And the words it matched, marked.
    m_pWindow->Pages()->Highlight(m_words);
}

// --- history ---------------------------------------------------------------------------

void ReadingAids::NoteShown(bool bNow)
{
    if (m_bNavigating)
        return;
    if (bNow) {
        m_pSettle->stop();
        NoteNow();
    } else {
        m_pSettle->start();
    }
}

void ReadingAids::NoteNow()
{
    const CLCmdIndex* pIdx = m_pWindow->GetCurIdx();
    if (!pIdx)
        return;
    std::string name = FieldText(pIdx->szName);
    if (m_nHistoryPos >= 0 && m_history[static_cast<size_t>(m_nHistoryPos)] == name)
        return;
    m_history.resize(static_cast<size_t>(m_nHistoryPos) + 1); // the way forward is gone
    m_history.push_back(name);
    if (m_history.size() > kMaxHistory)
        m_history.erase(m_history.begin());
    m_nHistoryPos = static_cast<int>(m_history.size()) - 1;
}

void ReadingAids::GoBack()
{
    StepHistory(-1);
}

void ReadingAids::GoForward()
{
    StepHistory(+1);
}

void ReadingAids::StepHistory(int step)
{
    // A command still settling joins the history first, so Back returns to it.
    if (m_pSettle->isActive()) {
        m_pSettle->stop();
        NoteNow();
    }
    // Commands that are gone since (deleted, renamed) are stepped over.
    for (int pos = m_nHistoryPos + step; pos >= 0 && pos < static_cast<int>(m_history.size());
         pos += step) {
        CLCmdIndex* pIdx =
            m_pWindow->GetCmdManager()->FindCmdIdx(m_history[static_cast<size_t>(pos)].c_str());
        if (!pIdx)
            continue;
        m_bNavigating = true;
        const bool bShown = m_pWindow->ShowCommand(pIdx);
        m_bNavigating = false;
        if (bShown)
            m_nHistoryPos = pos;
        return; // shown, or the user kept the command with its edits
    }
}

bool ReadingAids::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pFind) {
        if (event->type() == QEvent::KeyPress && FindKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::FocusOut)
            HideResults();
        return false;
    }
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != m_pWindow)
        return false;
    auto button = static_cast<QMouseEvent*>(event)->button();
    if (button == Qt::BackButton)
        GoBack();
    else if (button == Qt::ForwardButton)
        GoForward();
    else
        return false;
    return true;
}

// --- text zoom -------------------------------------------------------------------------

void ReadingAids::ZoomIn()
{
    SetZoom(AppSettings.TextZoom + 1);
}

void ReadingAids::ZoomOut()
{
    SetZoom(AppSettings.TextZoom - 1);
}

void ReadingAids::ZoomReset()
{
    SetZoom(0);
}

void ReadingAids::SetZoom(int nZoom)
{
    AppSettings.TextZoom = std::clamp(nZoom, kMinZoom, kMaxZoom);
    m_pWindow->Pages()->SetZoom(AppSettings.TextZoom);
}
