// The main window: start-up, shut-down, browsing, the menus and the guard
// that keeps an edit from being lost when another command is shown.
#include "main.h"

#include "AppSettings.h"
#include "AuthoringActions.h"
#include "Banner.h"
#include "CLCmdManager.h"
#include "CLFolderLock.h"
#include "CLFormat.h"
#include "CLHtmlWriter.h"
#include "CLRecordUtil.h"
#include "CLSearchIndex.h"
#include "CommandListModel.h"
#include "CxAssert.h"
#include "DialogRunner.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "ReadingAids.h"
#include "RecordPages.h"
#include "SettingsDialog.h"
#include "ShellOpen.h"
#include "UpperCaseValidator.h"
#include "WindowColours.h"
#include "apputil.h"
#include "prompt.h"
#include "ui_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent), ui(new Ui::TfmMain)
{
    ui->setupUi(this);
    m_pModel = new CommandListModel(this);
    ui->lbCommand->setModel(m_pModel);
    m_pStatus = new QLabel(ui->sbMain);
    m_pStatus->setObjectName(QStringLiteral("sbMainPanel"));
    m_pStatus->setMinimumWidth(300);
    ui->sbMain->addWidget(m_pStatus);
    m_pDocStatus = new QLabel(ui->sbMain);
    m_pDocStatus->setObjectName(QStringLiteral("sbDocumented"));
    m_pDocStatus->setAccessibleName(QStringLiteral("Documented commands"));
    ui->sbMain->addPermanentWidget(m_pDocStatus);
    m_pAuthoring = new AuthoringActions(this);
    m_pAids = new ReadingAids(this, ui->edtFind, ui->lvFind, m_pStatus);
    SetupControls();
    SetupPopupMenus();
    SetupMenuBar();
    FormCreate();
}

TfmMain::~TfmMain()
{
    FormDestroy();
    delete ui;
}

RecordPages* TfmMain::Pages() const
{
    return ui->pClient;
}

QMenu* TfmMain::CommandMenu() const
{
    return AppSettings.RunMode == kRunModeRead ? nullptr : m_pmCommand;
}

QMenu* TfmMain::ParamMenu() const
{
    return AppSettings.RunMode == kRunModeRead ? nullptr : ui->pClient->ParamMenu();
}

QMenu* TfmMain::ErrorMenu() const
{
    return AppSettings.RunMode == kRunModeRead ? nullptr : ui->pClient->ErrorMenu();
}

void TfmMain::SetupControls()
{
    // The window grows and shrinks; what it holds follows in its layouts.
    setMinimumSize(minimumSizeHint().expandedTo(QSize(640, 440)));
    ui->spMain->setStretchFactor(0, 0);
    ui->spMain->setStretchFactor(1, 1);
    ui->spMain->setSizes({119, 675});
    // The drop-down grows with the window up to a useful width; the row's
    // other controls keep their size and the rest of the room stays free.
    ui->cbCate->setSizePolicy(QSizePolicy::Expanding, ui->cbCate->sizePolicy().verticalPolicy());
    ui->cbCate->setMaximumWidth(360);
    ui->btnSearch->setMaximumWidth(ui->btnSearch->minimumSizeHint().width());
    ui->hlMenu->addStretch(1);
    // The banner takes the panel's room up to its designed width, and is drawn
    // anew for the room it has, so a narrow window shows it whole.
    ui->imgTop->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ui->imgTop->setMaximumWidth(kBannerWidth);
    ui->imgTop->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ui->hlTop->setStretchFactor(ui->imgTop, 10);
    ui->imgTop->installEventFilter(this);
    ApplyColours();
    ui->edtCommand->setValidator(new UpperCaseValidator(ui->edtCommand));
    ui->btnBack->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    ui->btnForward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    ui->btnBack->setText(QString());
    ui->btnForward->setText(QString());

    // Tab order: the menu panel, the list, the page tabs, the controls of the
    // shown page, then Exit, and round again. Controls of hidden pages are skipped.
    RecordPages* pages = ui->pClient;
    auto child = [pages](const char* name) {
        return pages->findChild<QWidget*>(QString::fromLatin1(name));
    };
    m_tabOrder = {ui->cbCate,          ui->edtCommand,   ui->btnSearch,    ui->lbCommand,
                  pages->tabBar(),     child("edtName"), child("edtDesc"), child("memEnv"),
                  child("memDetail"),  child("btnWeb"),  child("lvParam"), child("btnPrompt"),
                  child("memExample"), child("lvError"), ui->edtFind,      ui->btnExit};

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
        else
            m_pAids->NoteShown(true); // a click settles on the command shown
    });
    connect(ui->btnSearch, &QPushButton::clicked, this, [this] { btnSearchClick(); });
    connect(ui->edtCommand, &QLineEdit::textChanged, this, [this] { edtCommandChange(); });
    connect(pages, &RecordPages::webRequested, this, [this] { btnWebClick(); });
    connect(pages, &RecordPages::promptRequested, this, [this] { btnPromptClick(); });
    connect(ui->btnExit, &QPushButton::clicked, this, [this] { btnExitClick(); });
    connect(ui->btnCat, &QPushButton::clicked, this, [this] { btnCatClick(); });
    connect(ui->btnBack, &QPushButton::clicked, m_pAids, &ReadingAids::GoBack);
    connect(ui->btnForward, &QPushButton::clicked, m_pAids, &ReadingAids::GoForward);
    ui->lbCommand->installEventFilter(this);
    ui->lbCommand->viewport()->installEventFilter(this);

    // Pages: Ctrl+Tab and Ctrl+PgDn forward, Ctrl+Shift+Tab and Ctrl+PgUp back.
    auto page = [this, pages](const QKeySequence& keys, int step) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, [pages, step] {
            pages->setCurrentIndex((pages->currentIndex() + step + pages->count()) %
                                   pages->count());
        });
    };
    page(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    page(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    page(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    page(QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1);
    page(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
    auto* prompt = new QShortcut(QKeySequence(Qt::Key_F4), this);
    connect(prompt, &QShortcut::activated, this, [this] { btnPromptClick(); });
}

void TfmMain::SetupPopupMenus()
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
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this,
                [this, handler = handler] { (this->*handler)(); });
    connect(ui->lbCommand, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowPopup(CommandMenu(), ui->lbCommand, pos); });
}

void TfmMain::ShowPopup(QMenu* menu, QWidget* view, const QPoint& pos)
{
    if (!menu)
        return;
    // The row under the pointer is selected first (and shown, once any edits
    // of the command shown are settled), so the menu acts on what is highlighted.
    if (view == ui->lbCommand) {
        const QModelIndex index = ui->lbCommand->indexAt(pos);
        if (index.isValid() && m_pModel->At(index.row()).pIdx != m_pCurIdx) {
            if (!ConfirmLeave())
                return;
            ShowRow(index.row());
        }
    }
    QWidget* area = view;
    if (auto* items = qobject_cast<QAbstractItemView*>(view))
        area = items->viewport();
    menu->exec(area->mapToGlobal(pos));
}

void TfmMain::SetupMenuBar()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mbMain"));
    // The controls keep their own mnemonics (E&xit, CL Command on the &Web,
    // &Prompt...); the menus' letters are F, E, V, G and H.
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto handler,
                      bool bEditing = false) {
        QAction* action = menu->addAction(text);
        if (!keys.isEmpty())
            action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        if (bEditing)
            m_editActions.push_back(action);
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(
        file, QStringLiteral("&Import..."), {}, [this] { pmiAnalyzeClick(); }, true);
    add(
        file, QStringLiteral("Import Command Defi&nitions..."), {},
        [this] { pmiImportCmdDefClick(); }, true);
    add(
        file, QStringLiteral("Create &HTML"), {}, [this] { pmiCreateHtmlClick(); }, true);
    add(
        file, QStringLiteral("Create &All HTML..."), {}, [this] { pmiCreateAllHtmlClick(); }, true);
    add(
        file, QStringLiteral("&Build Data File"), {}, [this] { pmiBuildDataClick(); }, true);
    m_editActions.push_back(file->addSeparator());
    add(file, QStringLiteral("&Settings..."), {}, [this] { EditSettings(); });
    file->addSeparator();
    add(file, QStringLiteral("E&xit"), QKeySequence::Quit, [this] { btnExitClick(); });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    add(
        edit, QStringLiteral("&Save"), QKeySequence::Save, [this] { pmiSaveCmdClick(); }, true);
    add(
        edit, QStringLiteral("&Add Command..."), {}, [this] { pmiAddCmdClick(); }, true);
    add(
        edit, QStringLiteral("&Delete Command"), {}, [this] { pmiDelCmdClick(); }, true);
    add(
        edit, QStringLiteral("&Categories..."), {}, [this] { EditCategories(); }, true);
    m_editActions.push_back(edit->menuAction());

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    add(view, QStringLiteral("Zoom &In"), QKeySequence::ZoomIn, [this] { m_pAids->ZoomIn(); });
    add(view, QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut, [this] { m_pAids->ZoomOut(); });
    add(view, QStringLiteral("&Reset Zoom"), QKeySequence(Qt::CTRL | Qt::Key_0),
        [this] { m_pAids->ZoomReset(); });
    view->addSeparator();
    m_pDocumentedOnly = add(view, QStringLiteral("&Documented Commands Only"), {},
                            [this](bool bChecked) { SetDocumentedOnly(bChecked); });
    m_pDocumentedOnly->setCheckable(true);
    auto* zoomIn = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), this);
    connect(zoomIn, &QShortcut::activated, m_pAids, &ReadingAids::ZoomIn);

    QMenu* go = bar->addMenu(QStringLiteral("&Go"));
    go->setObjectName(QStringLiteral("mnuGo"));
    add(go, QStringLiteral("&Back"), QKeySequence(Qt::ALT | Qt::Key_Left),
        [this] { m_pAids->GoBack(); });
    add(go, QStringLiteral("&Forward"), QKeySequence(Qt::ALT | Qt::Key_Right),
        [this] { m_pAids->GoForward(); });
    go->addSeparator();
    add(go, QStringLiteral("Go to &Command"), QKeySequence(Qt::CTRL | Qt::Key_L), [this] {
        ui->edtCommand->setFocus(Qt::ShortcutFocusReason);
        ui->edtCommand->selectAll();
    });
    add(go, QStringLiteral("&Search"), QKeySequence::Find, [this] { m_pAids->FocusFind(); });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    add(help, QStringLiteral("&Keyboard Shortcuts"), {}, [this] { ShowShortcuts(); });
    add(help, QStringLiteral("&About Zentrivo"), {}, [this] { ShowAbout(); });
}

// --- start-up and shut-down -------------------------------------------------------

void TfmMain::FormCreate()
{
    MsgBox::InstallCoreHook();
    LoadSettings();
    m_pCurIdx = nullptr;
    m_pCmdManager = new CLCmdManager(CurrentOptions());
    CX_ASSERT(m_pCmdManager != nullptr);
    ui->pClient->SetManager(m_pCmdManager);
    m_pAids->SetZoom(AppSettings.TextZoom);
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
    m_pAids->NoteShown(true); // the command shown at start is the history's first
    m_bListKeys = false;
    m_pHtmlWriter = new CLHtmlWriter(m_pCmdManager);
    RestoreGeometry();
    // Readers start by typing a name, and a first Space must not press Exit.
    ui->edtCommand->setFocus(Qt::OtherFocusReason);
    StartSearchIndex();
}

void TfmMain::FormDestroy()
{
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    m_pAids->StopIndex();
    SaveGeometry();
    SaveSettings();
    delete m_pHtmlWriter;
    m_pHtmlWriter = nullptr;
    // The rows may refer to records of the manager: drop them first.
    ui->pClient->Clear();
    m_pModel->Clear();
    m_pCurIdx = nullptr;
    delete m_pCmdManager;
    m_pCmdManager = nullptr;
}

void TfmMain::ApplyRunMode()
{
    const bool bReader = AppSettings.RunMode == kRunModeRead;
    m_pCmdManager->SetOptions(CurrentOptions());
    ui->pClient->SetReadOnly(bReader);
    ui->lbCommand->setContextMenuPolicy(bReader ? Qt::NoContextMenu : Qt::CustomContextMenu);
    for (QAction* action : m_editActions)
        action->setVisible(!bReader);
    for (QAction* action : m_pmCommand->actions())
        action->setEnabled(!bReader || action->isSeparator());
}

void TfmMain::RestoreGeometry()
{
    const WindowGeometry g = LoadWindowGeometry();
    if (g.bKnown) {
        resize(g.size.expandedTo(minimumSize()));
        // A position on no screen any more (a monitor unplugged) is not used.
        if (QGuiApplication::screenAt(g.pos + QPoint(40, 10)))
            move(g.pos);
        if (g.bMaximised)
            setWindowState(windowState() | Qt::WindowMaximized);
        if (!g.splitter.isEmpty())
            ui->spMain->setSizes(g.splitter);
        return;
    }
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TfmMain::SaveGeometry()
{
    WindowGeometry g;
    g.bKnown = true;
    g.bMaximised = isMaximized();
    g.size = (g.bMaximised ? normalGeometry() : geometry()).size();
    g.pos = (g.bMaximised ? normalGeometry() : frameGeometry()).topLeft();
    g.splitter = ui->spMain->sizes();
    StoreWindowGeometry(g);
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
    if (SettleUnsavedWork(QStringLiteral("Zentrivo closes")))
        event->accept();
    else
        event->ignore();
}

bool TfmMain::SettleUnsavedWork(const QString& before)
{
    QStringList unsaved = UnsavedWork();
    if (unsaved.isEmpty())
        return true;
    QString text = QStringLiteral("These changes are not saved yet:\n\n%1\n\nSave them before %2?")
                       .arg(unsaved.join(QLatin1Char('\n')), before);
    QMessageBox::StandardButton answer =
        MsgBox::Ask(this, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QMessageBox::Save, QMessageBox::Cancel);
    if (answer == QMessageBox::Discard) {
        ui->pClient->Discard();
        return true;
    }
    return answer == QMessageBox::Save && SaveAllWork();
}

QStringList TfmMain::UnsavedWork() const
{
    QStringList lines;
    if (AppSettings.RunMode == kRunModeRead || !m_pCmdManager)
        return lines;
    if (ui->pClient->IsEdited() && m_pCurIdx)
        lines << QStringLiteral("Commands: %1").arg(FromLatin1(FieldText(m_pCurIdx->szName)));
    if (m_pCmdManager->IsCmdIdxListChanged())
        lines << QStringLiteral("The command index: commands added, renamed or deleted");
    if (m_pCmdManager->IsCatListChanged())
        lines << QStringLiteral("The categories");
    return lines;
}

bool TfmMain::SaveAllWork()
{
    if (ui->pClient->IsEdited() && !UpdateCommandData(true))
        return false; // UpdateCommandData said why
    return m_pAuthoring->SaveLists();
}

// --- the guard -----------------------------------------------------------------------

bool TfmMain::ConfirmLeave()
{
    if (!m_pCurIdx || !ui->pClient->IsEdited())
        return true;
    const QString text = QStringLiteral("The command %1 has changes that are not saved yet. "
                                        "Save them before another command is shown?")
                             .arg(FromLatin1(FieldText(m_pCurIdx->szName)));
    switch (MsgBox::Ask(this, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                        QMessageBox::Save, QMessageBox::Cancel)) {
    case QMessageBox::Save:
        if (UpdateCommandData(true))
            return true;
        break; // refused or not written: the command and its edits stay
    case QMessageBox::Discard:
        ui->pClient->Discard();
        return true;
    default:
        break;
    }
    KeepCurrentRow();
    return false;
}

void TfmMain::KeepCurrentRow()
{
    SelectRow(m_pModel->RowOf(m_pCurIdx));
    // A key or click that moved the highlight is still running and moves it
    // on after this: it goes back once that is done.
    QTimer::singleShot(0, this, [this] { SelectRow(m_pModel->RowOf(m_pCurIdx)); });
}

void TfmMain::ShowRow(int row)
{
    if (row < 0 || row >= m_pModel->Count())
        return;
    SelectRow(row);
    m_pCurIdx = m_pModel->At(row).pIdx;
    UpdateCommandData(false);
    CopyField(AppSettings.LastCmd, m_pCurIdx->szName);
}

bool TfmMain::ShowCommand(CLCmdIndex* pIdx)
{
    if (!pIdx)
        return false;
    if (pIdx != m_pCurIdx && !ConfirmLeave())
        return false;
    if (m_pModel->RowOf(pIdx) < 0 && ui->cbCate->currentIndex() != 0) {
        ui->cbCate->setCurrentIndex(0);
        AppSettings.LastCat = 0;
        FillCommandList();
    }
    const int row = m_pModel->RowOf(pIdx);
    if (row < 0)
        return false;
    ShowRow(row);
    return true;
}

bool TfmMain::ShowByName(const std::string& name)
{
    return ShowCommand(m_pCmdManager->FindCmdIdx(name.c_str()));
}

// --- lists ------------------------------------------------------------------------------

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

CLCategory* TfmMain::ChosenCategory() const
{
    return reinterpret_cast<CLCategory*>(ui->cbCate->currentData().value<quintptr>());
}

void TfmMain::FillCommandList()
{
    // The list shows the commands of the category chosen in the drop-down:
    // LastCat, or all when LastCat names no category; with View > Documented
    // Commands Only, those with a record only.
    const CLCategory* pCat = ChosenCategory();
    const uint32_t dwFilter = pCat ? pCat->dwID : 0;
    const CLSearchIndex* pIndex = m_pAids->Index();
    const bool bDocumentedOnly = m_pDocumentedOnly && m_pDocumentedOnly->isChecked() && pIndex;
    m_bFilling = true;
    std::vector<CommandListModel::Item> items;
    items.reserve(m_pCmdManager->GetCmdIdxCount());
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx()) {
        if (dwFilter != 0 && p->dwCatID != dwFilter)
            continue;
        const std::string name = FieldText(p->szName);
        const bool bDocumented = !pIndex || pIndex->IsDocumented(name);
        if (bDocumentedOnly && !bDocumented && p != m_pCurIdx)
            continue;
        items.push_back({name, p, bDocumented});
    }
    m_pModel->SetItems(std::move(items));
    m_bFilling = false;
    if (m_pModel->Count() == 0) {
        RefreshDocumented();
        return;
    }
    SelectRow(0);
    m_pCurIdx = m_pModel->At(0).pIdx;
    UpdateCommandData(false);
    RefreshStatus();
}

void TfmMain::ApplyDocumented()
{
    const CLSearchIndex* pIndex = m_pAids->Index();
    if (!pIndex)
        return;
    m_pModel->MarkDocumented(
        [pIndex](const std::string& name) { return pIndex->IsDocumented(name); });
    if (m_pDocumentedOnly->isChecked()) {
        const std::string shown = m_pCurIdx ? FieldText(m_pCurIdx->szName) : std::string();
        m_bFilling = true;
        m_pModel->RemoveIf([this](const CommandListModel::Item& item) {
            return !item.bDocumented && item.pIdx != m_pCurIdx;
        });
        m_bFilling = false;
        KeepCurrentRow();
        RefreshStatus();
    }
    RefreshDocumented();
}

void TfmMain::SetDocumentedOnly(bool bOnly)
{
    m_pDocumentedOnly->setChecked(bOnly);
    // The command shown stays shown; the rows around it follow the filter.
    const std::string shown = m_pCurIdx ? FieldText(m_pCurIdx->szName) : std::string();
    CLCmdIndex* pShown = m_pCurIdx;
    const CLSearchIndex* pIndex = m_pAids->Index();
    const CLCategory* pCat = ChosenCategory();
    const uint32_t dwFilter = pCat ? pCat->dwID : 0;
    std::vector<CommandListModel::Item> items;
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx()) {
        if (dwFilter != 0 && p->dwCatID != dwFilter)
            continue;
        const std::string name = FieldText(p->szName);
        const bool bDocumented = !pIndex || pIndex->IsDocumented(name);
        if (bOnly && pIndex && !bDocumented && p != pShown)
            continue;
        items.push_back({name, p, bDocumented});
    }
    m_bFilling = true;
    m_pModel->SetItems(std::move(items));
    m_bFilling = false;
    KeepCurrentRow();
    RefreshStatus();
}

void TfmMain::RefreshStatus()
{
    m_pStatus->setText(QStringLiteral("%1: %2 commands loaded.")
                           .arg(ui->cbCate->currentText())
                           .arg(m_pModel->Count()));
    RefreshDocumented();
}

void TfmMain::RefreshDocumented()
{
    // How many of the category's commands have a record, once the index knows.
    const CLSearchIndex* pIndex = m_pAids->Index();
    if (!pIndex) {
        m_pDocStatus->clear();
        return;
    }
    const CLCategory* pCat = ChosenCategory();
    int nAll = 0, nDocumented = 0;
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx()) {
        if (pCat && p->dwCatID != pCat->dwID)
            continue;
        ++nAll;
        nDocumented += pIndex->IsDocumented(FieldText(p->szName));
    }
    m_pDocStatus->setText(
        QStringLiteral("%1 of %2 commands documented").arg(nDocumented).arg(nAll));
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

void TfmMain::RemoveCommandRow(CLCmdIndex* pIdx)
{
    const int i = m_pModel->RowOf(pIdx);
    const int n = m_pModel->Count();
    m_bFilling = true;
    m_pModel->RemoveAt(i);
    m_bFilling = false;
    RefreshStatus();
    if (pIdx != m_pCurIdx)
        return;
    int next = -1;
    if (i >= 0 && i < n - 1)
        next = i;
    else if (i > 0)
        next = i - 1;
    if (next < 0) {
        SelectRow(-1);
        ClearPages();
        return;
    }
    SelectRow(next);
    m_pCurIdx = m_pModel->At(next).pIdx;
    UpdateCommandData(false);
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
        KeepCurrentRow();
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
    if (m_pModel->At(row).pIdx != m_pCurIdx && !ConfirmLeave())
        return;
    ShowRow(row);
    m_pAids->NoteShown(true);
}

QString TfmMain::StatusText() const
{
    return m_pStatus->text();
}

void TfmMain::ClearPages()
{
    m_pCurIdx = nullptr;
    ui->pClient->Clear();
}

// --- record and window ---------------------------------------------------------------

bool TfmMain::UpdateCommandData(bool bSave)
{
    if (!m_pCurIdx)
        return false;
    if (!bSave)
        return ui->pClient->Show(m_pCurIdx);
    if (AppSettings.RunMode == kRunModeRead)
        return false; // nothing a reader does changes a record
    std::string name, why;
    if (!ui->pClient->Store(&name, &why)) {
        if (!why.empty())
            MsgBox::Error(this, FromLatin1(why));
        return false;
    }
    const bool bRename = name != FieldText(m_pCurIdx->szName);
    if (!m_pAuthoring->SaveShown(name))
        return false; // said why; the edit flags stay set
    if (bRename) {
        MoveCurrentRow();
        CopyField(AppSettings.LastCmd, m_pCurIdx->szName);
    }
    ui->pClient->NoteSaved();
    StartSearchIndex(); // the search reads the files anew
    return true;
}

bool TfmMain::UpdateParamData(bool bSave)
{
    return ui->pClient->UpdateParamData(bSave);
}

bool TfmMain::UpdateErrorData(bool bSave)
{
    return ui->pClient->UpdateErrorData(bSave);
}

// --- event handlers ------------------------------------------------------------------------

void TfmMain::cbCateChange()
{
    if (ui->cbCate->currentIndex() < 0 || m_bFilling)
        return;
    auto* pCat = ChosenCategory();
    const int32_t nBefore = AppSettings.LastCat;
    if (!ConfirmLeave()) {
        // The drop-down goes back to the category whose list is shown.
        m_bFilling = true;
        int back = 0;
        for (int i = 1; i < ui->cbCate->count(); ++i)
            if (static_cast<int32_t>(
                    reinterpret_cast<CLCategory*>(ui->cbCate->itemData(i).value<quintptr>())
                        ->dwID) == nBefore)
                back = i;
        ui->cbCate->setCurrentIndex(back);
        m_bFilling = false;
        return;
    }
    AppSettings.LastCat = pCat ? static_cast<int32_t>(pCat->dwID) : 0;
    FillCommandList();
    m_pAids->NoteShown(true);
}

void TfmMain::lbCommandClick()
{
    QModelIndexList selected = ui->lbCommand->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    if (m_pModel->At(row).pIdx == m_pCurIdx)
        return;
    if (!ConfirmLeave())
        return;
    ShowRow(row);
    // Stepping through the list with the keys settles after a moment; a
    // click at once.
    m_pAids->NoteShown(!m_bListKeys);
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

bool TfmMain::IsWebSite(const QString& site)
{
    QUrl url(site.trimmed(), QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

QString TfmMain::CommandWebAddress(const CLCmdIndex* pIdx, const QString& site)
{
    if (!IsWebSite(site))
        return {};
    QUrl url(site.trimmed(), QUrl::StrictMode);
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
        this, QStringLiteral("No web site is set for the command pages. Choose File > "
                             "Settings... and enter one such as https://www.example.com (it is "
                             "kept as WebSite=https://www.example.com in \"%1\"); the pages are "
                             "then opened at SITE/clcommand/NAME.htm. Until then the button "
                             "opens the page that Create HTML writes into \"%2\".")
                  .arg(ini, page.left(page.lastIndexOf(QLatin1Char('/')) + 1)));
}

void TfmMain::btnPromptClick()
{
    if (!m_pCurIdx || !m_pCurIdx->pRec)
        return;
    // The record as shown, edits included: rows the author changed count. A
    // reader's pages hold the stored record only.
    if (m_pCurIdx->pRec->dwParamCount == 0) {
        MsgBox::Information(this, QStringLiteral("The reference holds no parameters of %1.")
                                      .arg(FromLatin1(FieldText(m_pCurIdx->szName))));
        return;
    }
    // Another command (an example's, one typed into the string) is prompted
    // from its stored record.
    TfmPrompt dialog(*m_pCurIdx->pRec, this, [this](const std::string& name) {
        CLCmdIndex* pIdx = m_pCmdManager->FindCmdIdx(name.c_str());
        if (pIdx == m_pCurIdx)
            return static_cast<const CLCmdRecord*>(m_pCurIdx->pRec);
        return pIdx ? static_cast<const CLCmdRecord*>(m_pCmdManager->AttachCmdRecord(pIdx))
                    : nullptr;
    });
    // F4 on a line of the Examples page: the command written there.
    auto* examples = ui->pClient->findChild<QPlainTextEdit*>(QStringLiteral("memExample"));
    if (examples && examples->hasFocus()) {
        const std::string example =
            CLCommandString::CommandAt(ToLatin1(examples->toPlainText()),
                                       static_cast<size_t>(examples->textCursor().position()));
        if (!example.empty())
            dialog.SetCommandString(FromLatin1(example));
    }
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
    ui->pClient->DetailChanged();
}

void TfmMain::memExampleChange()
{
    ui->pClient->ExampleChanged();
}

// --- editing commands: thin calls ---------------------------------------------------

void TfmMain::pmCommandPopup()
{
    const bool bSelected = !ui->lbCommand->selectionModel()->selectedIndexes().isEmpty();
    const bool bEditing = AppSettings.RunMode != kRunModeRead;
    ui->pmiDelCmd->setEnabled(bSelected && bEditing);
    ui->pmiSaveCmd->setEnabled(bSelected && bEditing);
}

void TfmMain::pmiAddCmdClick()
{
    m_pAuthoring->AddCommand();
}

void TfmMain::pmiDelCmdClick()
{
    m_pAuthoring->DeleteCommand();
}

void TfmMain::pmiSaveCmdClick()
{
    if (m_pCurIdx)
        UpdateCommandData(true);
}

void TfmMain::pmiAnalyzeClick()
{
    m_pAuthoring->AnalyzeFile();
}

void TfmMain::pmiBuildDataClick()
{
    m_pAuthoring->BuildDataFile();
}

void TfmMain::pmiImportCmdDefClick()
{
    m_pAuthoring->ImportDefinitions();
}

void TfmMain::pmiCreateHtmlClick()
{
    m_pAuthoring->CreateHtml();
}

void TfmMain::pmiCreateAllHtmlClick()
{
    m_pAuthoring->CreateAllHtml();
}

void TfmMain::pmiAddParamClick()
{
    ui->pClient->AddParam();
}

void TfmMain::pmiInsertParamClick()
{
    ui->pClient->InsertParam();
}

void TfmMain::pmiDelParamClick()
{
    ui->pClient->DeleteParam();
}

void TfmMain::pmiParamPropClick()
{
    ui->pClient->ParamProperties();
}

void TfmMain::pmiAddErrorClick()
{
    ui->pClient->AddError();
}

void TfmMain::pmiDelErrorClick()
{
    ui->pClient->DeleteError();
}

void TfmMain::pmiErrorPropClick()
{
    ui->pClient->ErrorProperties();
}

void TfmMain::EditCategories()
{
    m_pAuthoring->EditCategories();
}

// --- settings and help ------------------------------------------------------------------

void TfmMain::EditSettings()
{
    TfmSettings dialog(this);
    if (RunDialog(&dialog) != QDialog::Accepted)
        return;
    const int32_t nOldMode = AppSettings.RunMode;
    // Another run mode reads the records from other files: unsaved work is
    // settled first, or nothing changes.
    if (dialog.RunMode() != nOldMode && !SettleUnsavedWork(QStringLiteral("the run mode changes")))
        return;
    dialog.Apply();
    SaveSettings();
    m_pAids->SetZoom(AppSettings.TextZoom);
    if (AppSettings.RunMode != nOldMode) {
        // Records come from other files now, and discarded work is dropped:
        // the lists are read again and each record when it is shown.
        ClearPages();
        m_pModel->Clear();
        ApplyRunMode();
        m_pCmdManager->LoadAll();
        FillCategoryList();
        SelectCommand(AppSettings.LastCmd);
        StartSearchIndex();
    }
}

void TfmMain::ShowShortcuts()
{
    MsgBox::Information(
        this, QStringLiteral("Keyboard shortcuts\n\n"
                             "Ctrl+F\tSearch every command\n"
                             "Ctrl+L\tGo to Command\n"
                             "Alt+Left, Alt+Right\tBack and forward through the commands shown\n"
                             "Ctrl+Tab, Ctrl+Shift+Tab\tNext and previous page\n"
                             "Ctrl+PgDn, Ctrl+PgUp\tNext and previous page\n"
                             "F4\tPrompt the command shown; on an example, that example\n"
                             "Ctrl+Plus, Ctrl+Minus, Ctrl+0\tText zoom\n"
                             "Ctrl+S\tSave the command shown (editing run modes)\n"
                             "Shift+F10, Menu key\tThe popup menu of the list in focus\n"
                             "Ctrl+Q\tExit"));
}

void TfmMain::ShowAbout()
{
    MsgBox::Information(this, QStringLiteral("Zentrivo %1\n\nA desktop reference of the "
                                             "commands of IBM i's Control Language (CL).")
                                  .arg(QStringLiteral(ZENTRIVO_VERSION)));
}

// --- colours, keys and the index ------------------------------------------------------

void TfmMain::StartSearchIndex()
{
    m_pAids->StartIndex(m_pCmdManager->GetOptions(), [this] { ApplyDocumented(); });
}

bool TfmMain::WaitForSearchIndex(int nMs)
{
    return m_pAids->WaitForIndex(nMs);
}

void TfmMain::ApplyColours()
{
    const WindowColours c = ColoursFor(palette());
    if (m_nColoursDark == static_cast<int>(c.bDark))
        return;
    m_nColoursDark = c.bDark;
    // Only the colour changes; the labels keep their texts and bold face.
    const QString label = QStringLiteral("color: %1; font-weight: bold;").arg(c.label.name());
    ui->lblCate->setStyleSheet(label);
    ui->lblGoto->setStyleSheet(label);
    ui->pClient->SetHintColour(c.hint.name());
    ui->spTop->setStyleSheet(
        QStringLiteral("#spTop { background: %1; }"
                       "#spTop QLineEdit { border: 1px solid %2; border-radius: 2px; "
                       "padding: 2px; background: %3; color: %4; }")
            .arg(c.panel.name(), c.bDark ? QStringLiteral("#a0a0a0") : QStringLiteral("#7a7a7a"),
                 palette().color(QPalette::Base).name(), palette().color(QPalette::Text).name()));
    m_panel = c.panel;
    DrawBanner();
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

void TfmMain::DrawBanner()
{
    const int width = std::clamp(ui->imgTop->width(), ui->imgTop->minimumWidth(), kBannerWidth);
    if (ui->imgTop->pixmap().width() != width || ui->imgTop->property("panel") != m_panel) {
        ui->imgTop->setPixmap(MakeBanner(width, kBannerHeight, m_panel));
        ui->imgTop->setProperty("panel", m_panel);
    }
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->imgTop && event->type() == QEvent::Resize)
        DrawBanner();
    if (watched == ui->lbCommand->viewport() && event->type() == QEvent::MouseButtonPress)
        m_bListKeys = false;
    if (watched == ui->lbCommand && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        m_bListKeys = true;
        // Shift+F10 and the Menu key open the list's popup menu at its current row.
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            const QModelIndex current = ui->lbCommand->currentIndex();
            const QPoint pos =
                current.isValid() ? ui->lbCommand->visualRect(current).center() : QPoint(4, 4);
            ShowPopup(CommandMenu(), ui->lbCommand, pos);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_pAids->NoteShown(true);
            return true;
        }
        if (!key->text().isEmpty())
            // After the list has moved its selection for the key.
            QTimer::singleShot(0, this, [this] { lbCommandKeyPress(); });
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}
