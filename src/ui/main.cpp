// The main window: start-up, shut-down and browsing.
#include "main.h"

#include "AppSettings.h"
#include "Banner.h"
#include "CLCmdManager.h"
#include "CLFolderLock.h"
#include "CLFormat.h"
#include "CLHtmlWriter.h"
#include "CLRecordStore.h"
#include "CLRecordUtil.h"
#include "CommandListModel.h"
#include "CxAssert.h"
#include "DialogRunner.h"
#include "FolderLock.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "RowItem.h"
#include "RowText.h"
#include "ShellOpen.h"
#include "UpperCaseValidator.h"
#include "WindowColours.h"
#include "apputil.h"
#include "prompt.h"
#include "ui_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QTimer>
#include <QUrl>

TfmMain* fmMain = nullptr;

namespace {

using ParamRow = RowItem<CLCmdParam>;
using ErrorRow = RowItem<CLCmdError>;

} // namespace

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent), ui(new Ui::TfmMain)
{
    ui->setupUi(this);
    m_pModel = new CommandListModel(this);
    ui->lbCommand->setModel(m_pModel);
    m_pStatus = new QLabel(ui->sbMain);
    m_pStatus->setObjectName(QStringLiteral("sbMainPanel"));
    m_pStatus->setFixedWidth(300);
    ui->sbMain->addWidget(m_pStatus);
    SetupControls();
    SetupMenus();
    SetupReadingAids();
    fmMain = this;
    FormCreate();
}

TfmMain::~TfmMain()
{
    FormDestroy();
    delete ui;
    if (fmMain == this)
        fmMain = nullptr;
}

void TfmMain::SetupControls()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(794, 564);
    ui->sbMain->setFixedHeight(19);
    ui->imgTop->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ApplyColours();

    QFont fixed(QStringLiteral("Courier New"), 9);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    ui->memExample->setFont(fixed);
    ui->edtName->setValidator(new UpperCaseValidator(ui->edtName));
    ui->edtName->setMaxLength(static_cast<int>(CLFormat::kCmdName));
    ui->edtCommand->setValidator(new UpperCaseValidator(ui->edtCommand));

    const int paramWidths[] = {80, 200, 150, 140};
    for (int i = 0; i < 4; ++i)
        ui->lvParam->header()->resizeSection(i, paramWidths[i]);
    ui->lvParam->header()->setStretchLastSection(false);
    ui->lvError->header()->setStretchLastSection(false);
    ui->lvError->header()->resizeSection(0, 100);
    ui->lvError->header()->resizeSection(1, 460);
    ui->pClient->setCurrentWidget(ui->tOverview);

    // Tab order: the menu panel, the list, the page tabs, the controls of the
    // shown page, then Exit, and round again. Controls of hidden pages are skipped.
    m_tabOrder = {ui->cbCate,
                  ui->edtCommand,
                  ui->btnSearch,
                  ui->lbCommand,
                  ui->pClient->findChild<QTabBar*>(),
                  ui->edtName,
                  ui->edtDesc,
                  ui->memEnv,
                  ui->memDetail,
                  ui->btnWeb,
                  ui->lvParam,
                  ui->btnPrompt,
                  ui->memExample,
                  ui->lvError,
                  ui->edtFind,
                  ui->btnExit};

    connect(ui->cbCate, &QComboBox::activated, this, [this] { cbCateChange(); });
    connect(ui->lbCommand->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_bSelecting && !m_bFilling)
            lbCommandClick();
    });
    // A click on the highlighted row shows it, should the pages show another command.
    connect(ui->lbCommand, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() < m_pModel->Count() &&
            m_pModel->At(index.row()).pIdx != m_pCurIdx)
            lbCommandClick();
    });
    connect(ui->btnSearch, &QPushButton::clicked, this, [this] { btnSearchClick(); });
    connect(ui->edtCommand, &QLineEdit::textChanged, this, [this] { edtCommandChange(); });
    connect(ui->btnWeb, &QPushButton::clicked, this, [this] { btnWebClick(); });
    connect(ui->btnPrompt, &QPushButton::clicked, this, [this] { btnPromptClick(); });
    connect(ui->btnExit, &QPushButton::clicked, this, [this] { btnExitClick(); });
    connect(ui->btnCat, &QPushButton::clicked, this, [this] { btnCatClick(); });
    connect(ui->memDetail, &QPlainTextEdit::textChanged, this, [this] { memDetailChange(); });
    connect(ui->memExample, &QPlainTextEdit::textChanged, this, [this] { memExampleChange(); });
    ui->lbCommand->installEventFilter(this);
    for (QTreeWidget* view : {ui->lvParam, ui->lvError}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
}

void TfmMain::SetupMenus()
{
    m_pmCommand = new QMenu(this);
    m_pmCommand->setObjectName(QStringLiteral("pmCommand"));
    m_pmCommand->addActions({ui->pmiAddCmd, ui->pmiDelCmd, ui->pmiSaveCmd});
    m_pmCommand->addSeparator();
    m_pmCommand->addActions(
        {ui->pmiEditCat, ui->pmiAnalyze, ui->pmiImportCmdDef, ui->pmiBuildData});
    m_pmCommand->addSeparator();
    m_pmCommand->addActions({ui->pmiCreateHtml, ui->pmiCreateAllHtml});
    connect(m_pmCommand, &QMenu::aboutToShow, this, [this] { pmCommandPopup(); });

    m_pmParam = new QMenu(this);
    m_pmParam->setObjectName(QStringLiteral("pmParam"));
    m_pmParam->addActions({ui->pmiAddParam, ui->pmiDelParam, ui->pmiInsertParam});
    m_pmParam->addSeparator();
    m_pmParam->addAction(ui->pmiParamProp);

    m_pmError = new QMenu(this);
    m_pmError->setObjectName(QStringLiteral("pmError"));
    m_pmError->addActions({ui->pmiAddError, ui->pmiDelError, ui->pmiErrorProp});

    const std::pair<QAction*, void (TfmMain::*)()> handlers[] = {
        {ui->pmiAddCmd, &TfmMain::pmiAddCmdClick},
        {ui->pmiDelCmd, &TfmMain::pmiDelCmdClick},
        {ui->pmiSaveCmd, &TfmMain::pmiSaveCmdClick},
        {ui->pmiEditCat, &TfmMain::EditCategories},
        {ui->pmiAnalyze, &TfmMain::pmiAnalyzeClick},
        {ui->pmiImportCmdDef, &TfmMain::pmiImportCmdDefClick},
        {ui->pmiBuildData, &TfmMain::pmiBuildDataClick},
        {ui->pmiCreateHtml, &TfmMain::pmiCreateHtmlClick},
        {ui->pmiCreateAllHtml, &TfmMain::pmiCreateAllHtmlClick},
        {ui->pmiAddParam, &TfmMain::pmiAddParamClick},
        {ui->pmiDelParam, &TfmMain::pmiDelParamClick},
        {ui->pmiInsertParam, &TfmMain::pmiInsertParamClick},
        {ui->pmiParamProp, &TfmMain::pmiParamPropClick},
        {ui->pmiAddError, &TfmMain::pmiAddErrorClick},
        {ui->pmiDelError, &TfmMain::pmiDelErrorClick},
        {ui->pmiErrorProp, &TfmMain::pmiErrorPropClick},
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this,
                [this, handler = handler] { (this->*handler)(); });

    connect(ui->lbCommand, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowPopup(m_pmCommand, ui->lbCommand, pos); });
    connect(ui->lvParam, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowPopup(m_pmParam, ui->lvParam, pos); });
    connect(ui->lvError, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowPopup(m_pmError, ui->lvError, pos); });
}

void TfmMain::ShowPopup(QMenu* menu, QWidget* view, const QPoint& pos)
{
    if (!menu)
        return;
    QWidget* area = view;
    if (auto* items = qobject_cast<QAbstractItemView*>(view))
        area = items->viewport();
    menu->exec(area->mapToGlobal(pos));
}

// --- start-up and shut-down -------------------------------------------------------

void TfmMain::FormCreate()
{
    MsgBox::InstallCoreHook();
    LoadSettings();
    SetZoom(AppSettings.TextZoom);
    m_pCurIdx = nullptr;
    m_pCmdManager = new CLCmdManager(CurrentOptions());
    CX_ASSERT(m_pCmdManager != nullptr);
    {
        // Finishes or undoes a build that was interrupted, unless another
        // program is at work on the folder.
        CLFolderLock lock;
        lock.Acquire(2000); // released at once; nothing is shown meanwhile
    }
    m_pCmdManager->LoadAll();
    FillCategoryList();
    ApplyRunMode();
    SelectCommand(AppSettings.LastCmd);
    m_pHtmlWriter = new CLHtmlWriter(m_pCmdManager);
    // Readers start by typing a name, and a first Space must not press Exit.
    ui->edtCommand->setFocus(Qt::OtherFocusReason);
    StartSearchIndex();
}

void TfmMain::FormDestroy()
{
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    StopSearchIndex();
    qApp->removeEventFilter(this);
    SaveSettings();
    delete m_pHtmlWriter;
    m_pHtmlWriter = nullptr;
    // The rows may refer to records of the manager: drop them first.
    ui->lvParam->clear();
    ui->lvError->clear();
    m_pModel->Clear();
    m_pCurIdx = nullptr;
    delete m_pCmdManager;
    m_pCmdManager = nullptr;
}

void TfmMain::ApplyRunMode()
{
    if (AppSettings.RunMode != kRunModeRead)
        return;
    ui->edtName->setReadOnly(true);
    ui->edtDesc->setReadOnly(true);
    ui->memEnv->setReadOnly(true);
    ui->memDetail->setReadOnly(true);
    ui->memExample->setReadOnly(true);
    for (QMenu** menu : {&m_pmCommand, &m_pmParam, &m_pmError}) {
        delete *menu;
        *menu = nullptr;
    }
}

bool TfmMain::focusNextPrevChild(bool next)
{
    QWidget* focus = QApplication::focusWidget();
    int n = static_cast<int>(m_tabOrder.size());
    int at = -1;
    for (int i = 0; i < n && at < 0; ++i)
        if (focus && (m_tabOrder[i] == focus || m_tabOrder[i]->isAncestorOf(focus)))
            at = i;
    for (int step = 1; step <= n; ++step) {
        int i = at < 0 ? (next ? step - 1 : n - step) : ((at + (next ? step : -step)) % n + n) % n;
        QWidget* w = m_tabOrder[static_cast<size_t>(i)];
        if (w->isVisible() && w->isEnabled()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QMainWindow::focusNextPrevChild(next);
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    QStringList unsaved = UnsavedWork();
    if (unsaved.isEmpty()) {
        event->accept();
        return;
    }
    QString text =
        QStringLiteral("These changes are not saved yet:\n\n%1\n\nSave them before Zentrivo "
                       "closes?")
            .arg(unsaved.join(QLatin1Char('\n')));
    QMessageBox::StandardButton answer =
        MsgBox::Ask(this, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QMessageBox::Save, QMessageBox::Cancel);
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && SaveAllWork()))
        event->accept();
    else
        event->ignore();
}

bool TfmMain::CurrentCommandEdited() const
{
    if (!m_pCurIdx || !m_pCurIdx->pRec)
        return false;
    const CLCmdRecord* pRec = m_pCurIdx->pRec;
    return m_bDetailChanged || m_bExampleChanged || m_bRowsChanged ||
           ToLatin1(ui->edtName->text()) != FieldText(m_pCurIdx->szName) ||
           ToLatin1(ui->edtDesc->text()).substr(0, CLFormat::kWindowDesc) !=
               FieldText(pRec->szDesc) ||
           TextFromMemo(MemoText(ui->memEnv), CLFormat::kWindowDesc) != FieldText(pRec->szEnv);
}

QStringList TfmMain::UnsavedWork()
{
    QStringList lines;
    if (AppSettings.RunMode == kRunModeRead || !m_pCmdManager)
        return lines;
    QStringList names;
    for (CLCmdIndex* p : m_modified)
        names << FromLatin1(FieldText(p->szName));
    if (CurrentCommandEdited() && !m_modified.count(m_pCurIdx))
        names << FromLatin1(FieldText(m_pCurIdx->szName));
    names.sort();
    if (names.size() > 10)
        names = names.mid(0, 10) << QStringLiteral("and %1 more").arg(names.size() - 10);
    if (!names.isEmpty())
        lines << QStringLiteral("Commands: %1").arg(names.join(QStringLiteral(", ")));
    if (m_pCmdManager->IsCmdIdxListChanged())
        lines << QStringLiteral("The command index: commands added, renamed or deleted");
    if (m_pCmdManager->IsCatListChanged())
        lines << QStringLiteral("The categories");
    return lines;
}

bool TfmMain::SaveAllWork()
{
    if (CurrentCommandEdited() && !UpdateCommandData(true))
        return false; // UpdateCommandData said why
    QString error;
    {
        FolderWork work(this);
        if (!work.IsHeld())
            return false;
        for (auto it = m_modified.begin(); it != m_modified.end() && error.isEmpty();) {
            CLCmdIndex* p = *it;
            if (p->pRec && !m_pCmdManager->SaveCmdRecord(p->pRec))
                error = QStringLiteral("The file \"%1\" cannot be written.")
                            .arg(QString::fromLocal8Bit(
                                m_pCmdManager->GetCmdRecordFileName(p).c_str()));
            else
                it = m_modified.erase(it);
        }
        if (error.isEmpty() &&
            (m_pCmdManager->IsCmdIdxListChanged() || m_pCmdManager->IsCatListChanged()) &&
            !m_pCmdManager->SaveAll())
            error = QString::fromLocal8Bit(m_pCmdManager->GetSaveError().c_str());
    }
    if (!error.isEmpty()) {
        MsgBox::Error(this, error);
        return false;
    }
    return true;
}

// --- lists ----------------------------------------------------------------------------

void TfmMain::FillCategoryList()
{
    m_bFilling = true;
    ui->cbCate->clear();
    ui->cbCate->addItem(QStringLiteral("All"), QVariant::fromValue<quintptr>(0));
    int nSelect = 0;
    int nPos = 1;
    for (CLCategory* p = m_pCmdManager->GetFirstCat(); p; p = m_pCmdManager->GetNextCat(), ++nPos) {
        ui->cbCate->addItem(FromLatin1(FieldText(p->szName)),
                            QVariant::fromValue(reinterpret_cast<quintptr>(p)));
        if (static_cast<int32_t>(p->dwID) == AppSettings.LastCat)
            nSelect = nPos;
    }
    ui->cbCate->setCurrentIndex(nSelect);
    m_bFilling = false;
    FillCommandList();
}

void TfmMain::FillCommandList()
{
    // The list shows the commands of the category chosen in the drop-down:
    // LastCat, or all when LastCat names no category.
    auto* pCat = reinterpret_cast<CLCategory*>(ui->cbCate->currentData().value<quintptr>());
    uint32_t dwFilter = pCat ? pCat->dwID : 0;
    m_bFilling = true;
    std::vector<CommandListModel::Item> items;
    items.reserve(m_pCmdManager->GetCmdIdxCount());
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx())
        if (dwFilter == 0 || p->dwCatID == dwFilter)
            items.push_back({FieldText(p->szName), p});
    m_pModel->SetItems(std::move(items));
    m_bFilling = false;
    if (m_pModel->Count() == 0)
        return;
    SelectRow(0);
    m_pCurIdx = m_pModel->At(0).pIdx;
    UpdateCommandData(false);
    RefreshStatus();
}

void TfmMain::RefreshStatus()
{
    m_pStatus->setText(QStringLiteral("%1: %2 commands loaded.")
                           .arg(ui->cbCate->currentText())
                           .arg(m_pModel->Count()));
}

void TfmMain::MoveCurrentRow()
{
    int row = m_pModel->RowOf(m_pCurIdx);
    if (row < 0)
        return;
    CommandListModel::Item item = m_pModel->At(row);
    item.text = FieldText(m_pCurIdx->szName);
    // The rows move under the selection: that is no choice of the user.
    m_bFilling = true;
    m_pModel->RemoveAt(row);
    int to = m_pModel->FindNotLess(item.text.c_str());
    if (to < 0)
        to = m_pModel->Count();
    m_pModel->Insert(to, std::move(item));
    m_bFilling = false;
    SelectRow(to);
}

void TfmMain::SelectRow(int row)
{
    m_bSelecting = true;
    if (row < 0) {
        ui->lbCommand->selectionModel()->clear();
    } else {
        QModelIndex index = m_pModel->index(row);
        ui->lbCommand->selectionModel()->setCurrentIndex(index,
                                                         QItemSelectionModel::ClearAndSelect);
        ui->lbCommand->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    m_bSelecting = false;
}

void TfmMain::SelectCommand(const char* szCmdName)
{
    if (!szCmdName || !*szCmdName) {
        // The highlighted row stays the command shown.
        SelectRow(m_pModel->RowOf(m_pCurIdx));
        return;
    }
    int row = m_pModel->FindNotLess(szCmdName);
    if (row < 0) {
        if (m_pModel->Count() == 0) {
            SelectRow(-1);
            return;
        }
        row = 0; // beyond the last name: wrap to the first command
    }
    SelectRow(row);
    m_pCurIdx = m_pModel->At(row).pIdx;
    UpdateCommandData(false);
    CopyField(AppSettings.LastCmd, m_pCurIdx->szName);
    NoteShown();
}

QString TfmMain::StatusText() const
{
    return m_pStatus->text();
}

// --- event handlers ------------------------------------------------------------------------

void TfmMain::cbCateChange()
{
    if (ui->cbCate->currentIndex() < 0 || m_bFilling)
        return;
    auto* pCat = reinterpret_cast<CLCategory*>(ui->cbCate->currentData().value<quintptr>());
    AppSettings.LastCat = pCat ? static_cast<int32_t>(pCat->dwID) : 0;
    FillCommandList();
}

void TfmMain::lbCommandClick()
{
    QModelIndexList selected = ui->lbCommand->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    m_pCurIdx = m_pModel->At(selected.first().row()).pIdx;
    UpdateCommandData(false);
    CopyField(AppSettings.LastCmd, m_pCurIdx->szName);
    NoteShown();
}

void TfmMain::lbCommandKeyPress()
{
    lbCommandClick();
}

void TfmMain::btnSearchClick()
{
    SelectCommand(ToLatin1(ui->edtCommand->text()).c_str());
}

void TfmMain::edtCommandChange()
{
    SelectCommand(ToLatin1(ui->edtCommand->text()).c_str());
}

QString TfmMain::CommandWebAddress(const CLCmdIndex* pIdx, const QString& site)
{
    QUrl url(site.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return {};
    QString name = UpperCaseValidator::ToUpper(FromLatin1(FieldText(pIdx->szName)));
    url.setPath(QStringLiteral("/clcommand/") + name + QStringLiteral(".htm"));
    url.setQuery(QString());
    url.setFragment(QString());
    return url.toString(QUrl::FullyEncoded);
}

void TfmMain::btnWebClick()
{
    if (!m_pCurIdx)
        return;
    const QString site = QString::fromStdString(ReloadWebSite());
    const QString ini = QString::fromLocal8Bit(GetSettingsFileName().c_str());
    if (!site.isEmpty()) {
        QString address = CommandWebAddress(m_pCurIdx, site);
        if (address.isEmpty()) {
            MsgBox::Error(this, QStringLiteral("WebSite=%1 in \"%2\" is not a web address "
                                               "such as https://www.example.com.")
                                    .arg(site, ini));
            return;
        }
        ShellOpen(address.toLatin1().constData());
        return;
    }
    // No site: the page Create HTML wrote, when there is one.
    const QString page =
        QString::fromLocal8Bit((GetHtmlFolder() + FieldText(m_pCurIdx->szName) + ".htm").c_str());
    if (QFileInfo(page).isFile()) {
        ShellOpen(QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded).toLatin1().constData());
        return;
    }
    MsgBox::Information(
        this, QStringLiteral("No web site is set for the command pages. Add a line such as\n"
                             "WebSite=https://www.example.com\n"
                             "to the section [Zentrivo] of \"%1\"; the pages are then opened "
                             "at SITE/clcommand/NAME.htm. Until then the button opens the page "
                             "that Create HTML writes into \"%2\".")
                  .arg(ini, page.left(page.lastIndexOf(QLatin1Char('/')) + 1)));
}

void TfmMain::btnPromptClick()
{
    if (!m_pCurIdx || !m_pCurIdx->pRec)
        return;
    // The record as shown, edits included: rows the author changed count.
    if (m_pCurIdx->pRec->dwParamCount == 0) {
        MsgBox::Information(this, QStringLiteral("The reference holds no parameters of %1.")
                                      .arg(FromLatin1(FieldText(m_pCurIdx->szName))));
        return;
    }
    TfmPrompt dialog(*m_pCurIdx->pRec, this);
    RunDialog(&dialog);
}

void TfmMain::btnExitClick()
{
    close();
}

void TfmMain::btnCatClick()
{
    EditCategories();
}

void TfmMain::memDetailChange()
{
    m_bDetailChanged = true;
}

void TfmMain::memExampleChange()
{
    m_bExampleChanged = true;
}

void TfmMain::ApplyColours()
{
    const WindowColours c = ColoursFor(palette());
    if (m_nColoursDark == static_cast<int>(c.bDark))
        return;
    m_nColoursDark = c.bDark;
    const QString label = QStringLiteral("color: %1; font-weight: bold;").arg(c.label.name());
    ui->lblCate->setStyleSheet(label);
    ui->lblGoto->setStyleSheet(label);
    const QString hint = QStringLiteral("color: %1;").arg(c.hint.name());
    ui->lblNoParam->setStyleSheet(hint);
    ui->lblNoError->setStyleSheet(hint);
    ui->spTop->setStyleSheet(QStringLiteral("#spTop { background: %1; }").arg(c.panel.name()));
    ui->imgTop->setPixmap(MakeBanner(475, 61, c.panel));
    // A label styled by a sheet keeps the palette it was styled with until
    // its sheet is set again.
    const QString underline = ui->lblCmdList->styleSheet();
    ui->lblCmdList->setStyleSheet(QString());
    ui->lblCmdList->setStyleSheet(underline);
}

void TfmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        ApplyColours();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (HistoryMouse(watched, event))
        return true;
    if (watched == ui->edtFind) {
        if (event->type() == QEvent::KeyPress && FindKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::FocusOut)
            HideFindResults();
        return false;
    }
    if (watched == ui->lbCommand && event->type() == QEvent::KeyPress &&
        !static_cast<QKeyEvent*>(event)->text().isEmpty()) {
        // After the list has moved its selection for the key.
        QTimer::singleShot(0, this, [this] { lbCommandKeyPress(); });
        return false;
    }
    // A double-click anywhere on a list, or Enter, opens the selected row's dialog.
    bool bParam = watched == ui->lvParam || watched == ui->lvParam->viewport();
    bool bError = watched == ui->lvError || watched == ui->lvError->viewport();
    if (bParam || bError) {
        bool bOpen = event->type() == QEvent::MouseButtonDblClick;
        if (event->type() == QEvent::KeyPress) {
            int key = static_cast<QKeyEvent*>(event)->key();
            bOpen = key == Qt::Key_Return || key == Qt::Key_Enter;
        }
        if (bOpen) {
            // Run after the event, so a double-click's own selection is in place.
            QTimer::singleShot(
                0, this, [this, bParam] { bParam ? pmiParamPropClick() : pmiErrorPropClick(); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- record and window ---------------------------------------------------------------------

bool TfmMain::UpdateCommandData(bool bSave)
{
    if (!m_pCurIdx)
        return false;
    if (!bSave) {
        ui->edtName->setText(FromLatin1(FieldText(m_pCurIdx->szName)));
        CLCmdRecord* pRec = m_pCmdManager->AttachCmdRecord(m_pCurIdx);
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
        return true;
    }

    CLCmdRecord* pRec = m_pCurIdx->pRec;
    if (!pRec)
        return false;
    std::string name = ToLatin1(ui->edtName->text());
    const std::string oldName = FieldText(m_pCurIdx->szName);
    bool bRename = name != oldName;
    // A new name must be a CL name, since it also names the command's file.
    if (name.empty() || name.size() > CLFormat::kCmdName ||
        !CLCmdManager::IsSafeFileName(name.c_str()) ||
        (bRename && !CLCmdManager::IsCLName(name.c_str()))) {
        MsgBox::Error(this, QStringLiteral("Invalid CL Command Name."));
        return false;
    }
    if (bRename) {
        CLCmdIndex* pOther = m_pCmdManager->FindCmdIdx(name.c_str());
        if (pOther && pOther != m_pCurIdx) {
            MsgBox::Error(this, FromLatin1(CLCmdManager::DuplicateCmdMessage(name.c_str())));
            return false;
        }
    }
    CopyField(pRec->szName, name);
    CopyField(pRec->szDesc, ToLatin1(ui->edtDesc->text()), CLFormat::kWindowDesc);
    CopyField(pRec->szEnv, TextFromMemo(MemoText(ui->memEnv), CLFormat::kWindowDesc));
    if (m_bDetailChanged)
        SetText(pRec->pszDetail, TextFromMemo(MemoText(ui->memDetail), CLFormat::kLongText));
    if (m_bExampleChanged)
        SetText(pRec->pszExample, TextFromMemo(MemoText(ui->memExample), CLFormat::kLongText));
    if (!UpdateParamData(true) || !UpdateErrorData(true))
        return false;
    // A renamed command is written to NEWNAME.dat, the file that Build joins
    // for it; the entry takes the new name and file only once that is written.
    bool bSaved = false;
    std::string why;
    {
        FolderWork work(this);
        if (!work.IsHeld())
            return false;
        if (bRename) {
            bSaved = CLRecordStore::Rename(m_pCmdManager, m_pCurIdx, name, &why);
        } else {
            bSaved = m_pCmdManager->SaveCmdRecord(pRec);
            why = "The file \"" + m_pCmdManager->GetCmdRecordFileName(m_pCurIdx) +
                  "\" cannot be written.";
        }
    }
    if (!bSaved) {
        // Nothing may look saved that is not: the edit flags stay set.
        MsgBox::Error(this, QString::fromLocal8Bit(why.c_str()));
        return false;
    }
    if (bRename) {
        MoveCurrentRow();
        CopyField(AppSettings.LastCmd, m_pCurIdx->szName);
    }
    m_modified.erase(m_pCurIdx);
    m_bDetailChanged = false;
    m_bExampleChanged = false;
    m_bRowsChanged = false;
    StartSearchIndex(); // the search reads the files anew
    return true;
}

bool TfmMain::UpdateParamData(bool bSave)
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

bool TfmMain::UpdateErrorData(bool bSave)
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

// Empties the pages and lists, so nothing refers to a record that is gone.
void TfmMain::ClearPages()
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
    m_bDetailChanged = false;
    m_bExampleChanged = false;
    m_bRowsChanged = false;
}
