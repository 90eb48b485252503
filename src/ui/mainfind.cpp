// The main window's reading aids: full-text search (a field in the top
// panel, Ctrl+F), the history of the commands shown (Alt+Left, Alt+Right and
// the mouse's back and forward buttons) and text zoom (Ctrl+Plus, Ctrl+Minus,
// Ctrl+0). None of them changes what the window shows otherwise.
#include "AppSettings.h"
#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "CLSearchIndex.h"
#include "CommandListModel.h"
#include "Latin1.h"
#include "main.h"
#include "ui_main.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QThread>
#include <QTreeWidget>

#include <algorithm>

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
constexpr int kMaxHistory = 100;
constexpr int kMinZoom = -3;
constexpr int kMaxZoom = 8;

} // namespace

void TfmMain::SetupReadingAids()
{
    ui->lvFind->header()->resizeSection(0, 90);
    ui->lvFind->header()->resizeSection(1, 280);
    ui->lvFind->hide();
    connect(ui->edtFind, &QLineEdit::textChanged, this, [this] { edtFindChange(); });
    connect(ui->lvFind, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { lvFindActivate(item); });
    ui->edtFind->installEventFilter(this);

    auto shortcut = [this](const QKeySequence& keys, void (TfmMain::*handler)()) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, [this, handler] { (this->*handler)(); });
    };
    shortcut(QKeySequence::Find, &TfmMain::FocusFind);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), &TfmMain::GoBack);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), &TfmMain::GoForward);
    shortcut(QKeySequence::ZoomIn, &TfmMain::ZoomIn);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), &TfmMain::ZoomIn);
    shortcut(QKeySequence::ZoomOut, &TfmMain::ZoomOut);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), &TfmMain::ZoomReset);
    shortcut(QKeySequence(Qt::Key_F4), &TfmMain::btnPromptClick);
    qApp->installEventFilter(this); // the mouse's back and forward buttons, anywhere in the window
}

// --- the search index --------------------------------------------------------------

void TfmMain::StartSearchIndex()
{
    StopSearchIndex();
    m_bStopIndex = false;
    const int generation = ++m_nIndexGeneration;
    // A manager of its own reads the records, so nothing the window shows,
    // its current command or its lists' cursors are touched.
    const CLOptions options = m_pCmdManager->GetOptions();
    m_indexThread = std::thread([this, generation, options] {
        auto pIndex = std::make_shared<CLSearchIndex>();
        CLCmdManager manager(options);
        manager.SetQuiet(true);
        bool ok = manager.LoadCmdIdxList() && pIndex->Build(manager, &m_bStopIndex);
        if (!ok && m_bStopIndex)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, generation, pIndex] {
                if (generation != m_nIndexGeneration)
                    return;
                m_pSearchIndex = pIndex;
                if (!ui->edtFind->text().isEmpty())
                    ShowFindResults();
            },
            Qt::QueuedConnection);
    });
}

void TfmMain::StopSearchIndex()
{
    m_bStopIndex = true;
    if (m_indexThread.joinable())
        m_indexThread.join();
}

bool TfmMain::WaitForSearchIndex(int nMs)
{
    // processEvents returns at once when nothing is pending, so the time is
    // measured, not counted in calls.
    QElapsedTimer timer;
    timer.start();
    while (!m_pSearchIndex && timer.elapsed() < nMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return m_pSearchIndex != nullptr;
}

// --- the search field and its results ---------------------------------------------

void TfmMain::FocusFind()
{
    ui->edtFind->setFocus(Qt::ShortcutFocusReason);
    ui->edtFind->selectAll();
    if (!ui->edtFind->text().isEmpty())
        ShowFindResults();
}

void TfmMain::edtFindChange()
{
    ShowFindResults();
}

void TfmMain::ShowFindResults()
{
    QTreeWidget* view = ui->lvFind;
    view->clear();
    const std::string query = ToLatin1(ui->edtFind->text());
    if (query.find_first_not_of(' ') == std::string::npos) {
        view->hide();
        return;
    }
    auto addRow = [view](const QString& a, const QString& b, const QString& c) {
        auto* row = new QTreeWidgetItem(view, {a, b, c});
        for (int i = 0; i < 3; ++i)
            row->setToolTip(i, row->text(i));
        return row;
    };
    if (!m_pSearchIndex) {
        addRow(QString(), QStringLiteral("Preparing the search..."), QString())
            ->setFlags(Qt::NoItemFlags);
    } else {
        CLSearch::Results r = m_pSearchIndex->Find(query, kMaxResults);
        if (!r.monitor.empty()) {
            addRow(QStringLiteral("MONMSG"), FromLatin1(r.monitor), QStringLiteral("copy"))
                ->setData(0, kMonitorRole, FromLatin1(r.monitor));
            for (const CLSearch::MessageHit& m : r.sends) {
                QTreeWidgetItem* row =
                    addRow(FromLatin1(m.name), FromLatin1(m.text), QStringLiteral("sends it"));
                row->setData(0, kNameRole, FromLatin1(m.name));
                row->setData(0, kFieldRole, static_cast<int>(CLSearch::kError));
                row->setData(0, kItemRole, m.item);
            }
        }
        for (const CLSearch::Hit& h : r.hits) {
            QTreeWidgetItem* row =
                addRow(FromLatin1(h.name), FromLatin1(h.title), FromLatin1(h.where));
            row->setData(0, kNameRole, FromLatin1(h.name));
            row->setData(0, kFieldRole, static_cast<int>(h.field));
            row->setData(0, kItemRole, h.item);
        }
        if (view->topLevelItemCount() == 0)
            addRow(QString(), QStringLiteral("No command holds these words."), QString())
                ->setFlags(Qt::NoItemFlags);
    }
    if (view->topLevelItem(0)->flags() & Qt::ItemIsEnabled)
        view->setCurrentItem(view->topLevelItem(0));
    // As tall as its rows, up to twelve of them; the pages stay visible below.
    int rows = std::min(view->topLevelItemCount(), 12);
    int height = view->header()->sizeHint().height() + rows * view->sizeHintForRow(0) +
                 2 * view->frameWidth() + 2;
    view->resize(view->width(), std::min(height, kResultsMaxHeight));
    view->show();
    view->raise();
}

void TfmMain::HideFindResults()
{
    ui->lvFind->hide();
}

// Keys of the search field: Down and Up choose a result, Enter shows it,
// Escape leaves the field.
bool TfmMain::FindKey(QKeyEvent* key)
{
    QTreeWidget* view = ui->lvFind;
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
            lvFindActivate(view->currentItem());
        return true;
    case Qt::Key_Escape:
        HideFindResults();
        ui->lbCommand->setFocus(Qt::OtherFocusReason);
        return true;
    default:
        return false;
    }
}

void TfmMain::lvFindActivate(QTreeWidgetItem* item)
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
    HideFindResults();
    ShowSearchHit(name, static_cast<CLSearch::Field>(item->data(0, kFieldRole).toInt()),
                  item->data(0, kItemRole).toUInt());
}

void TfmMain::ShowSearchHit(const std::string& name, CLSearch::Field field, uint32_t item)
{
    if (!ShowByName(name))
        return;
    NoteShown();
    // The page where it was found, and its row.
    switch (field) {
    case CLSearch::kParameter:
        ui->pClient->setCurrentWidget(ui->tParam);
        if (QTreeWidgetItem* row = ui->lvParam->topLevelItem(static_cast<int>(item))) {
            ui->lvParam->setCurrentItem(row);
            ui->lvParam->scrollToItem(row);
            ui->lvParam->setFocus(Qt::OtherFocusReason);
        }
        break;
    case CLSearch::kError:
        ui->pClient->setCurrentWidget(ui->tErrorMsg);
        if (QTreeWidgetItem* row = ui->lvError->topLevelItem(static_cast<int>(item))) {
            ui->lvError->setCurrentItem(row);
            ui->lvError->scrollToItem(row);
            ui->lvError->setFocus(Qt::OtherFocusReason);
        }
        break;
    case CLSearch::kExamples:
        ui->pClient->setCurrentWidget(ui->tExample);
        ui->memExample->setFocus(Qt::OtherFocusReason);
        break;
    default:
        ui->pClient->setCurrentWidget(ui->tOverview);
        ui->edtName->setFocus(Qt::OtherFocusReason);
        break;
    }
}

// Shows a command by name: in the chosen category when it is there, else
// under "All". False when the index holds no such command.
bool TfmMain::ShowByName(const std::string& name)
{
    CLCmdIndex* pIdx = m_pCmdManager->FindCmdIdx(name.c_str());
    if (!pIdx)
        return false;
    if (m_pModel->RowOf(pIdx) < 0 && ui->cbCate->currentIndex() != 0) {
        ui->cbCate->setCurrentIndex(0);
        AppSettings.LastCat = 0;
        FillCommandList();
    }
    int row = m_pModel->RowOf(pIdx);
    if (row < 0)
        return false;
    SelectRow(row);
    m_pCurIdx = pIdx;
    UpdateCommandData(false);
    CopyField(AppSettings.LastCmd, m_pCurIdx->szName);
    return true;
}

// --- history ---------------------------------------------------------------------------

void TfmMain::NoteShown()
{
    if (m_bNavigating || !m_pCurIdx)
        return;
    std::string name = FieldText(m_pCurIdx->szName);
    if (m_nHistoryPos >= 0 && m_history[static_cast<size_t>(m_nHistoryPos)] == name)
        return;
    m_history.resize(static_cast<size_t>(m_nHistoryPos) + 1); // the way forward is gone
    m_history.push_back(name);
    if (m_history.size() > kMaxHistory)
        m_history.erase(m_history.begin());
    m_nHistoryPos = static_cast<int>(m_history.size()) - 1;
}

void TfmMain::GoBack()
{
    StepHistory(-1);
}

void TfmMain::GoForward()
{
    StepHistory(+1);
}

void TfmMain::StepHistory(int step)
{
    // Commands that are gone since (deleted, renamed) are stepped over.
    for (int pos = m_nHistoryPos + step; pos >= 0 && pos < static_cast<int>(m_history.size());
         pos += step) {
        m_bNavigating = true;
        bool bShown = ShowByName(m_history[static_cast<size_t>(pos)]);
        m_bNavigating = false;
        if (bShown) {
            m_nHistoryPos = pos;
            return;
        }
    }
}

bool TfmMain::HistoryMouse(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this)
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

void TfmMain::ZoomIn()
{
    SetZoom(AppSettings.TextZoom + 1);
}

void TfmMain::ZoomOut()
{
    SetZoom(AppSettings.TextZoom - 1);
}

void TfmMain::ZoomReset()
{
    SetZoom(0);
}

// The memos and both lists of the pages grow or shrink by a point a step;
// nothing else of the window moves.
void TfmMain::SetZoom(int nZoom)
{
    AppSettings.TextZoom = std::clamp(nZoom, kMinZoom, kMaxZoom);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->memEnv, ui->memDetail, ui->memExample,
                                                      ui->lvParam, ui->lvError}) {
        QFont f = w->font();
        if (!w->property("zentrivoBasePt").isValid())
            w->setProperty("zentrivoBasePt", f.pointSizeF());
        f.setPointSizeF(w->property("zentrivoBasePt").toDouble() + AppSettings.TextZoom);
        w->setFont(f);
    }
}
