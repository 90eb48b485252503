#include "RecordPages.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "CLPartial.h"
#include "CLRecordUtil.h"
#include "DialogRunner.h"
#include "Latin1.h"
#include "RowItem.h"
#include "RowText.h"
#include "UpperCaseValidator.h"
#include "errormsg.h"
#include "param.h"
#include "ui_RecordPages.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTextCursor>
#include <QTimer>

#include <memory>

namespace {

using ParamRow = RowItem<CLCmdParam>;
using ErrorRow = RowItem<CLCmdError>;

int SelectedRow(QTreeWidget* view)
{
    QList<QTreeWidgetItem*> selected = view->selectedItems();
    return selected.isEmpty() ? -1 : view->indexOfTopLevelItem(selected.first());
}

} // namespace

RecordPages::RecordPages(QWidget* parent) : QTabWidget(parent), ui(new Ui::RecordPages)
{
    ui->setupUi(this);
    QFont fixed(QStringLiteral("Courier New"), 9);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    ui->memExample->setFont(fixed);
    ui->edtName->setValidator(new UpperCaseValidator(ui->edtName));
    ui->edtName->setMaxLength(static_cast<int>(CLFormat::kCmdName));

    // The columns start at their designed widths; the last one takes what is left.
    const int paramWidths[] = {80, 200, 150};
    for (int i = 0; i < 3; ++i)
        ui->lvParam->header()->resizeSection(i, paramWidths[i]);
    ui->lvError->header()->resizeSection(0, 100);
    for (QTreeWidget* view : {ui->lvParam, ui->lvError}) {
        view->header()->setStretchLastSection(true);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    ui->lblPartial->hide();
    setCurrentWidget(ui->tOverview);

    connect(ui->memDetail, &QPlainTextEdit::textChanged, this, [this] { DetailChanged(); });
    connect(ui->memExample, &QPlainTextEdit::textChanged, this, [this] { ExampleChanged(); });
    connect(ui->btnWeb, &QPushButton::clicked, this, [this] { emit webRequested(); });
    connect(ui->btnPrompt, &QPushButton::clicked, this, [this] { emit promptRequested(); });
    SetupMenus();
}

RecordPages::~RecordPages()
{
    // The rows may refer to a record: they go before anything else.
    ui->lvParam->clear();
    ui->lvError->clear();
    delete ui;
}

void RecordPages::SetupMenus()
{
    struct Item
    {
        const char* name; // null: a separator
        const char* text;
        void (RecordPages::*handler)();
    };
    auto menu = [this](const char* name, std::initializer_list<Item> items) {
        auto* m = new QMenu(this);
        m->setObjectName(QString::fromLatin1(name));
        for (const Item& item : items) {
            if (!item.name) {
                m->addSeparator();
                continue;
            }
            QAction* action = m->addAction(QString::fromLatin1(item.text));
            action->setObjectName(QString::fromLatin1(item.name));
            connect(action, &QAction::triggered, this,
                    [this, handler = item.handler] { (this->*handler)(); });
        }
        return m;
    };
    m_pmParam =
        menu("pmParam", {{"pmiAddParam", "&Add Parameter", &RecordPages::AddParam},
                         {"pmiDelParam", "&Delete Parameter", &RecordPages::DeleteParam},
                         {"pmiInsertParam", "&Insert Parameter", &RecordPages::InsertParam},
                         {nullptr, nullptr, nullptr},
                         {"pmiParamProp", "Parameter &Properties", &RecordPages::ParamProperties}});
    m_pmError =
        menu("pmError", {{"pmiAddError", "&Add Error Message", &RecordPages::AddError},
                         {"pmiDelError", "&Delete Error Message", &RecordPages::DeleteError},
                         {"pmiErrorProp", "Error &Properties", &RecordPages::ErrorProperties}});
    connect(ui->lvParam, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowPopup(m_pmParam, ui->lvParam, pos); });
    connect(ui->lvError, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowPopup(m_pmError, ui->lvError, pos); });
}

void RecordPages::ShowPopup(QMenu* menu, QTreeWidget* view, const QPoint& pos)
{
    if (!menu)
        return;
    // The row under the pointer is the one the menu acts on.
    if (QTreeWidgetItem* row = view->itemAt(pos))
        view->setCurrentItem(row);
    menu->exec(view->viewport()->mapToGlobal(pos));
}

// --- record and controls ------------------------------------------------------

bool RecordPages::Show(CLCmdIndex* pIdx)
{
    if (!pIdx)
        return false;
    m_pCurIdx = pIdx;
    // The rows may refer to another record's entries: they go first.
    ui->lvParam->clear();
    ui->lvError->clear();
    ui->edtName->setText(FromLatin1(FieldText(pIdx->szName)));
    CLCmdRecord* pRec = m_pCmdManager->AttachCmdRecord(pIdx);
    ui->edtDesc->setText(FromLatin1(FieldText(pRec->szDesc)));
    ui->edtDesc->setCursorPosition(0);
    ui->memEnv->setPlainText(MemoFromText(FieldText(pRec->szEnv).c_str()));
    ui->memDetail->setPlainText(MemoFromText(pRec->pszDetail));
    ui->memExample->setPlainText(MemoFromText(pRec->pszExample));
    if (!UpdateParamData(false) || !UpdateErrorData(false))
        return false;
    m_bDetailChanged = false;
    m_bExampleChanged = false;
    m_bRowsChanged = false;
    Highlight({});
    return true;
}

bool RecordPages::Store(std::string* pName, std::string* pWhy)
{
    if (!m_pCurIdx || !m_pCurIdx->pRec)
        return false;
    CLCmdRecord* pRec = m_pCurIdx->pRec;
    const std::string name = ToLatin1(ui->edtName->text());
    const bool bRename = name != FieldText(m_pCurIdx->szName);
    // A new name must be a CL name, since it also names the command's file.
    if (name.empty() || name.size() > CLFormat::kCmdName ||
        !CLCmdManager::IsSafeFileName(name.c_str()) ||
        (bRename && !CLCmdManager::IsCLName(name.c_str()))) {
        *pWhy = CLCmdManager::kInvalidCmdName;
        return false;
    }
    if (bRename) {
        CLCmdIndex* pOther = m_pCmdManager->FindCmdIdx(name.c_str());
        if (pOther && pOther != m_pCurIdx) {
            *pWhy = CLCmdManager::DuplicateCmdMessage(name.c_str());
            return false;
        }
    }
    *pName = name;
    CopyField(pRec->szDesc, ToLatin1(ui->edtDesc->text()), CLFormat::kWindowDesc);
    CopyField(pRec->szEnv, TextFromMemo(MemoText(ui->memEnv), CLFormat::kWindowDesc));
    if (m_bDetailChanged)
        SetText(pRec->pszDetail, TextFromMemo(MemoText(ui->memDetail), CLFormat::kLongText));
    if (m_bExampleChanged)
        SetText(pRec->pszExample, TextFromMemo(MemoText(ui->memExample), CLFormat::kLongText));
    return UpdateParamData(true) && UpdateErrorData(true);
}

bool RecordPages::UpdateParamData(bool bSave)
{
    if (!m_pCurIdx || !m_pCurIdx->pRec)
        return false;
    CLCmdRecord* pRec = m_pCurIdx->pRec;
    QTreeWidget* view = ui->lvParam;
    if (!bSave) {
        view->setUpdatesEnabled(false);
        view->clear();
        QList<QTreeWidgetItem*> rows;
        for (uint32_t i = 0; i < pRec->dwParamCount; ++i) {
            auto* row = new ParamRow(&pRec->pParams[i]);
            ShowParamRow(row, pRec->pParams[i]);
            rows.append(row);
        }
        view->addTopLevelItems(rows);
        view->setUpdatesEnabled(true);
        ui->lblNoParam->setVisible(view->topLevelItemCount() == 0);
        ui->btnPrompt->setVisible(view->topLevelItemCount() > 0);
        ShowPartialNotice();
        return true;
    }
    int n = view->topLevelItemCount();
    CLCmdParam* pNew = n ? new CLCmdParam[static_cast<size_t>(n)]() : nullptr;
    for (int i = 0; i < n; ++i)
        pNew[i] = *static_cast<ParamRow*>(view->topLevelItem(i))->Entry();
    delete[] pRec->pParams;
    pRec->pParams = pNew;
    pRec->dwParamCount = static_cast<uint32_t>(n);
    for (int i = 0; i < n; ++i)
        static_cast<ParamRow*>(view->topLevelItem(i))->Rebind(&pNew[i]);
    return true;
}

bool RecordPages::UpdateErrorData(bool bSave)
{
    if (!m_pCurIdx || !m_pCurIdx->pRec)
        return false;
    CLCmdRecord* pRec = m_pCurIdx->pRec;
    QTreeWidget* view = ui->lvError;
    if (!bSave) {
        view->setUpdatesEnabled(false);
        view->clear();
        QList<QTreeWidgetItem*> rows;
        for (uint32_t i = 0; i < pRec->dwErrorCount; ++i) {
            auto* row = new ErrorRow(&pRec->pErrors[i]);
            ShowErrorRow(row, pRec->pErrors[i]);
            rows.append(row);
        }
        view->addTopLevelItems(rows);
        view->setUpdatesEnabled(true);
        ui->lblNoError->setVisible(view->topLevelItemCount() == 0);
        return true;
    }
    int n = view->topLevelItemCount();
    CLCmdError* pNew = n ? new CLCmdError[static_cast<size_t>(n)]() : nullptr;
    for (int i = 0; i < n; ++i)
        pNew[i] = *static_cast<ErrorRow*>(view->topLevelItem(i))->Entry();
    delete[] pRec->pErrors;
    pRec->pErrors = pNew;
    pRec->dwErrorCount = static_cast<uint32_t>(n);
    for (int i = 0; i < n; ++i)
        static_cast<ErrorRow*>(view->topLevelItem(i))->Rebind(&pNew[i]);
    return true;
}

// A partial record says so under its parameters.
void RecordPages::ShowPartialNotice()
{
    const std::string notice =
        m_pCurIdx && m_pCurIdx->pRec ? CLPartial::Notice(m_pCurIdx->pRec) : std::string();
    ui->lblPartial->setText(FromLatin1(notice));
    ui->lblPartial->setVisible(!notice.empty());
}

bool RecordPages::IsEdited() const
{
    if (!m_pCurIdx || !m_pCurIdx->pRec || m_bReadOnly)
        return false;
    const CLCmdRecord* pRec = m_pCurIdx->pRec;
    return m_bDetailChanged || m_bExampleChanged || m_bRowsChanged ||
           ToLatin1(ui->edtName->text()) != FieldText(m_pCurIdx->szName) ||
           ToLatin1(ui->edtDesc->text()).substr(0, CLFormat::kWindowDesc) !=
               FieldText(pRec->szDesc) ||
           TextFromMemo(MemoText(ui->memEnv), CLFormat::kWindowDesc) != FieldText(pRec->szEnv);
}

void RecordPages::NoteSaved()
{
    m_bDetailChanged = false;
    m_bExampleChanged = false;
    m_bRowsChanged = false;
    // The name shown is the saved one; a rename has put it there.
    if (m_pCurIdx)
        ui->edtName->setText(FromLatin1(FieldText(m_pCurIdx->szName)));
    ShowPartialNotice();
}

void RecordPages::Discard()
{
    CLCmdIndex* pIdx = m_pCurIdx;
    if (!pIdx)
        return;
    // The rows' dialogs change the record's own entries: only a fresh read
    // undoes them.
    ui->lvParam->clear();
    ui->lvError->clear();
    CLCmdManager::DetachCmdRecord(pIdx);
    Show(pIdx);
}

void RecordPages::Clear()
{
    m_pCurIdx = nullptr;
    ui->edtName->clear();
    ui->edtDesc->clear();
    ui->memEnv->clear();
    ui->memDetail->clear();
    ui->memExample->clear();
    ui->lvParam->clear();
    ui->lvError->clear();
    ui->lblNoParam->setVisible(true);
    ui->btnPrompt->setVisible(false);
    ui->lblNoError->setVisible(true);
    ui->lblPartial->hide();
    m_bDetailChanged = false;
    m_bExampleChanged = false;
    m_bRowsChanged = false;
}

void RecordPages::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    ui->edtName->setReadOnly(bReadOnly);
    ui->edtDesc->setReadOnly(bReadOnly);
    ui->memEnv->setReadOnly(bReadOnly);
    ui->memDetail->setReadOnly(bReadOnly);
    ui->memExample->setReadOnly(bReadOnly);
    for (QTreeWidget* view : {ui->lvParam, ui->lvError})
        view->setContextMenuPolicy(bReadOnly ? Qt::NoContextMenu : Qt::CustomContextMenu);
}

void RecordPages::SetHintColour(const QString& colour)
{
    const QString hint = QStringLiteral("color: %1;").arg(colour);
    ui->lblNoParam->setStyleSheet(hint);
    ui->lblNoError->setStyleSheet(hint);
    ui->lblPartial->setStyleSheet(hint);
}

// The memos and both lists grow or shrink by a point a step; nothing else moves.
void RecordPages::SetZoom(int nZoom)
{
    for (QWidget* w : std::initializer_list<QWidget*>{ui->memEnv, ui->memDetail, ui->memExample,
                                                      ui->lvParam, ui->lvError}) {
        QFont f = w->font();
        if (!w->property("zentrivoBasePt").isValid())
            w->setProperty("zentrivoBasePt", f.pointSizeF());
        f.setPointSizeF(w->property("zentrivoBasePt").toDouble() + nZoom);
        w->setFont(f);
    }
}

void RecordPages::ShowPlace(CLSearch::Field field, uint32_t item)
{
    auto showRow = [this](QWidget* page, QTreeWidget* view, uint32_t row) {
        setCurrentWidget(page);
        if (QTreeWidgetItem* r = view->topLevelItem(static_cast<int>(row))) {
            view->setCurrentItem(r);
            view->scrollToItem(r);
            view->setFocus(Qt::OtherFocusReason);
        }
    };
    switch (field) {
    case CLSearch::kParameter:
        showRow(ui->tParam, ui->lvParam, item);
        break;
    case CLSearch::kError:
        showRow(ui->tErrorMsg, ui->lvError, item);
        break;
    case CLSearch::kExamples:
        setCurrentWidget(ui->tExample);
        ui->memExample->setFocus(Qt::OtherFocusReason);
        break;
    default:
        setCurrentWidget(ui->tOverview);
        ui->edtName->setFocus(Qt::OtherFocusReason);
        break;
    }
}

void RecordPages::Highlight(const std::vector<CLSearch::Word>& words)
{
    // Dark text on amber reads on light and dark palettes alike.
    const QBrush back(QColor(255, 208, 64));
    const QBrush fore(Qt::black);
    for (QPlainTextEdit* memo : {ui->memEnv, ui->memDetail, ui->memExample}) {
        QList<QTextEdit::ExtraSelection> marks;
        if (!words.empty()) {
            for (auto [offset, length] :
                 CLSearch::MatchedSpans(ToLatin1(memo->toPlainText()), words)) {
                QTextEdit::ExtraSelection mark;
                mark.cursor = QTextCursor(memo->document());
                mark.cursor.setPosition(static_cast<int>(offset));
                mark.cursor.setPosition(static_cast<int>(offset + length), QTextCursor::KeepAnchor);
                mark.format.setBackground(back);
                mark.format.setForeground(fore);
                marks.append(mark);
            }
        }
        memo->setExtraSelections(marks);
    }
    // A line edit has no marks of its own; the formats an input method gives
    // its text serve, and an event without them takes them away.
    QList<QInputMethodEvent::Attribute> titleMarks;
    QTextCharFormat format;
    format.setBackground(back);
    format.setForeground(fore);
    const int cursor = ui->edtDesc->cursorPosition();
    if (!words.empty()) {
        for (auto [offset, length] : CLSearch::MatchedSpans(ToLatin1(ui->edtDesc->text()), words))
            titleMarks.append({QInputMethodEvent::TextFormat, static_cast<int>(offset) - cursor,
                               static_cast<int>(length), format});
    }
    // (A read-only line edit ignores input methods: it takes them for the moment.)
    const bool bReadOnly = ui->edtDesc->isReadOnly();
    ui->edtDesc->setReadOnly(false);
    QInputMethodEvent marks(QString(), titleMarks);
    QCoreApplication::sendEvent(ui->edtDesc, &marks);
    ui->edtDesc->setReadOnly(bReadOnly);
    if (words.empty())
        return; // the rows are made anew for every command shown
    for (QTreeWidget* view : {ui->lvParam, ui->lvError}) {
        for (int r = 0; r < view->topLevelItemCount(); ++r) {
            QTreeWidgetItem* row = view->topLevelItem(r);
            for (int c = 0; c < view->columnCount(); ++c) {
                if (CLSearch::MatchedSpans(ToLatin1(row->text(c)), words).empty())
                    continue;
                row->setBackground(c, back);
                row->setForeground(c, fore);
            }
        }
    }
}

// --- the lists' rows --------------------------------------------------------------

void RecordPages::AddParamRow(int row, bool bInsert)
{
    if (m_bReadOnly || !m_pCurIdx)
        return;
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
    ui->lblNoParam->hide();
    m_bRowsChanged = true;
    emit edited();
}

void RecordPages::AddParam()
{
    AddParamRow(-1, false);
}

void RecordPages::InsertParam()
{
    AddParamRow(SelectedRow(ui->lvParam), true);
}

void RecordPages::DeleteParam()
{
    int row = SelectedRow(ui->lvParam);
    if (m_bReadOnly || row < 0)
        return;
    delete ui->lvParam->takeTopLevelItem(row);
    m_bRowsChanged = true;
    emit edited();
}

void RecordPages::ParamProperties()
{
    int row = SelectedRow(ui->lvParam);
    if (row < 0)
        return;
    auto* item = static_cast<ParamRow*>(ui->lvParam->topLevelItem(row));
    // In the reading run mode the dialog shows the parameter and changes nothing.
    CLCmdParam copy = *item->Entry();
    TfmParam dialog(this);
    dialog.SetParam(m_bReadOnly ? &copy : item->Entry());
    dialog.SetReadOnly(m_bReadOnly);
    if (RunDialog(&dialog) != 1 || m_bReadOnly)
        return;
    ShowParamRow(item, *item->Entry());
    m_bRowsChanged = true;
    emit edited();
}

void RecordPages::AddError()
{
    if (m_bReadOnly || !m_pCurIdx)
        return;
    auto entry = std::make_unique<CLCmdError>();
    CopyField(entry->szCode, "CPF");
    TfmErrorMsg dialog(this);
    dialog.SetErrorMsg(entry.get());
    if (RunDialog(&dialog) != 1)
        return;
    auto* item = new ErrorRow(std::move(entry));
    ShowErrorRow(item, *item->Entry());
    ui->lvError->addTopLevelItem(item);
    ui->lblNoError->hide();
    m_bRowsChanged = true;
    emit edited();
}

void RecordPages::DeleteError()
{
    int row = SelectedRow(ui->lvError);
    if (m_bReadOnly || row < 0)
        return;
    delete ui->lvError->takeTopLevelItem(row);
    m_bRowsChanged = true;
    emit edited();
}

void RecordPages::ErrorProperties()
{
    int row = SelectedRow(ui->lvError);
    if (row < 0)
        return;
    auto* item = static_cast<ErrorRow*>(ui->lvError->topLevelItem(row));
    CLCmdError copy = *item->Entry();
    TfmErrorMsg dialog(this);
    dialog.SetErrorMsg(m_bReadOnly ? &copy : item->Entry());
    dialog.SetReadOnly(m_bReadOnly);
    if (RunDialog(&dialog) != 1 || m_bReadOnly)
        return;
    ShowErrorRow(item, *item->Entry());
    m_bRowsChanged = true;
    emit edited();
}

bool RecordPages::eventFilter(QObject* watched, QEvent* event)
{
    // A double-click anywhere on a list, or Enter, opens the selected row's dialog.
    const bool bParam = watched == ui->lvParam || watched == ui->lvParam->viewport();
    const bool bError = watched == ui->lvError || watched == ui->lvError->viewport();
    if (bParam || bError) {
        bool bOpen = event->type() == QEvent::MouseButtonDblClick;
        if (event->type() == QEvent::KeyPress) {
            const auto* keyEvent = static_cast<QKeyEvent*>(event);
            const int key = keyEvent->key();
            bOpen = key == Qt::Key_Return || key == Qt::Key_Enter;
            // Shift+F10 and the Menu key open the popup menu at the current row.
            if (key == Qt::Key_Menu ||
                (key == Qt::Key_F10 && keyEvent->modifiers() == Qt::ShiftModifier)) {
                QTreeWidget* view = bParam ? ui->lvParam : ui->lvError;
                if (view->contextMenuPolicy() == Qt::CustomContextMenu) {
                    QTreeWidgetItem* row = view->currentItem();
                    const QPoint pos = row ? view->visualItemRect(row).center() : QPoint(4, 4);
                    ShowPopup(bParam ? m_pmParam : m_pmError, view, pos);
                }
                return true;
            }
        }
        if (bOpen) {
            // Run after the event, so a double-click's own selection is in place.
            QTimer::singleShot(0, this,
                               [this, bParam] { bParam ? ParamProperties() : ErrorProperties(); });
            return true;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}
