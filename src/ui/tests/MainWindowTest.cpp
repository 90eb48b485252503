// The main window: start-up, browsing, run modes and shut-down.
#include "AppSettings.h"
#include "CLCmdManager.h"
#include "GuiFixture.h"
#include "WindowColours.h"
#include "ZentrivoApp.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <filesystem>

namespace {

// Three categories and a handful of commands in byte order.
void Sample(GuiFixture& f)
{
    f.AddCategory(1, "Libraries");
    f.AddCategory(2, "Jobs");
    f.AddCategory(3, "Empty");
    f.AddCommand({"CRTLIB",
                  1,
                  "Create Library",
                  {{"LIB", "Library", "Name", "Required"}},
                  {{"CPF2111", "Library already exists."}},
                  "Creates a library.\r\nTwo lines.",
                  "CRTLIB LIB(X)"});
    f.AddCommand({"DSPLIB", 1, "Display Library"});
    f.AddCommand({"SBMJOB", 2, "Submit Job"});
    f.AddCommand({"WRKACTJOB", 2, "Work with Active Jobs"});
    f.AddCommand({"WRKJOB", 2, "Work with Job"});
    f.AddCommand({"WRKSPLF", 2, "Work with Spooled Files"});
    f.WriteDatabase();
}

void Type(GuiFixture& f, const char* text)
{
    QTest::keyClicks(f.Find<QLineEdit>("edtCommand"), QString::fromLatin1(text));
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void firstStartWithoutFiles();
    void startFillsListsAndShowsTheFirstCommand();
    void goToCommandWhileTyping();
    void clearingTheSearchKeepsTheCommandShown();
    void categoriesFilterTheList();
    void pagesShowTheRecord();
    void recordsAreReadOnce();
    void runModes();
    void lastCategoryAndCommandAreRestored();
    void unknownLastCategoryShowsAll();
    void webButtonOpensTheCommandsPage();
    void windowToRecordCutsAndKeeps();
    void textRoundTripsEveryByte();
    void layoutAndAccessibleNames();
    void exceptionsInHandlersAreShown();
    void coloursStayReadableOnDarkPalettes();
};

void MainWindowTest::firstStartWithoutFiles()
{
    GuiFixture f;
    f.Open();
    auto* combo = f.Find<QComboBox>("cbCate");
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->itemText(0), QString("All"));
    QVERIFY(f.ListItems().isEmpty());
    QCOMPARE(f.Shown(), QString());
    QCOMPARE(f.window()->StatusText(), QString());
    QVERIFY(f.messages.empty());
    QCOMPARE(f.window()->GetCurIdx(), nullptr);
    // Run mode 2 by default: a reader without popup menus.
    QVERIFY(f.Find<QLineEdit>("edtName")->isReadOnly());
    QCOMPARE(f.window()->CommandMenu(), nullptr);
    QVERIFY(!std::filesystem::exists(f.home.File("tarvexa.ini")));
    f.Close();
    QStringList ini = QString::fromStdString(f.Settings()).split('\n', Qt::SkipEmptyParts);
    ini.sort();
    // The window's own keys (its place and size) come beside the specified ones.
    QStringList window = ini.filter(QRegularExpression("^(Window|Splitter)"));
    for (const QString& key : window)
        ini.removeAll(key);
    QCOMPARE(ini, QStringList({"DataMode=1", "LastCat=0", "LastCmd=", "RunMode=2", "[Zentrivo]"}));
    QCOMPARE(window.size(), 6);
}

void MainWindowTest::startFillsListsAndShowsTheFirstCommand()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    auto* combo = f.Find<QComboBox>("cbCate");
    QCOMPARE(combo->count(), 4);
    QCOMPARE(combo->itemText(1), QString("Libraries"));
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(f.ListItems(),
             QStringList({"CRTLIB", "DSPLIB", "SBMJOB", "WRKACTJOB", "WRKJOB", "WRKSPLF"}));
    QCOMPARE(f.SelectedListRow(), 0);
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    QCOMPARE(f.window()->StatusText(), QString("All: 6 commands loaded."));
    QCOMPARE(f.Find<QTabWidget>("pClient")->currentWidget()->objectName(), QString("tOverview"));
    // Showing the first command after a fill leaves LastCmd alone.
    QCOMPARE(QString(AppSettings.LastCmd), QString());
}

void MainWindowTest::goToCommandWhileTyping()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    Type(f, "w"); // typed letters turn to upper case
    QCOMPARE(f.Find<QLineEdit>("edtCommand")->text(), QString("W"));
    QCOMPARE(f.Shown(), QString("WRKACTJOB"));
    QCOMPARE(f.SelectedListRow(), 3);
    Type(f, "rkj");
    QCOMPARE(f.Shown(), QString("WRKJOB"));
    QCOMPARE(QString(AppSettings.LastCmd), QString("WRKJOB"));
    Type(f, "x"); // WRKJOBX: the first name not less is WRKSPLF
    QCOMPARE(f.Shown(), QString("WRKSPLF"));
    f.Find<QLineEdit>("edtCommand")->setText("ZZZ"); // beyond the last: wraps to the first
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    QCOMPARE(f.SelectedListRow(), 0);
    f.Find<QLineEdit>("edtCommand")->setText("DSPLIB");
    QCOMPARE(f.Shown(), QString("DSPLIB"));
    // Lower case sorts after upper case, byte-wise: nothing is not less than "a".
    f.window()->SelectCommand("a");
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    // The search button searches for the text of the edit.
    f.Find<QLineEdit>("edtCommand")->blockSignals(true);
    f.Find<QLineEdit>("edtCommand")->setText("SB");
    f.Find<QLineEdit>("edtCommand")->blockSignals(false);
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    f.Find<QPushButton>("btnSearch")->click();
    QCOMPARE(f.Shown(), QString("SBMJOB"));
}

void MainWindowTest::clearingTheSearchKeepsTheCommandShown()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.Find<QLineEdit>("edtCommand")->setText("SBMJOB");
    QCOMPARE(f.Shown(), QString("SBMJOB"));
    f.Find<QLineEdit>("edtCommand")->clear();
    // The highlighted row stays the command shown.
    QCOMPARE(f.SelectedListRow(), 2);
    QCOMPARE(f.Shown(), QString("SBMJOB"));
    QCOMPARE(QString(AppSettings.LastCmd), QString("SBMJOB"));
    QCOMPARE(f.window()->GetCurIdx()->szName, "SBMJOB");
    // A click on the highlighted row shows it.
    f.ClickListRow(2);
    QCOMPARE(f.Shown(), QString("SBMJOB"));
    f.ClickListRow(0);
    QCOMPARE(f.Shown(), QString("CRTLIB"));
}

void MainWindowTest::categoriesFilterTheList()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    f.PickCategory(2);
    QCOMPARE(AppSettings.LastCat, 2);
    QCOMPARE(f.ListItems(), QStringList({"SBMJOB", "WRKACTJOB", "WRKJOB", "WRKSPLF"}));
    QCOMPARE(f.Shown(), QString("SBMJOB"));
    QCOMPARE(f.window()->StatusText(), QString("Jobs: 4 commands loaded."));
    f.ClickListRow(2);
    QCOMPARE(f.Shown(), QString("WRKJOB"));
    QCOMPARE(QString(AppSettings.LastCmd), QString("WRKJOB"));

    // A category without commands empties the list and keeps the rest.
    f.PickCategory(3);
    QVERIFY(f.ListItems().isEmpty());
    QCOMPARE(f.Shown(), QString("WRKJOB"));
    QCOMPARE(f.window()->StatusText(), QString("Jobs: 4 commands loaded."));
    // A search in the empty list selects nothing and changes nothing.
    f.Find<QLineEdit>("edtCommand")->setText("CRT");
    QCOMPARE(f.SelectedListRow(), -1);
    QCOMPARE(f.Shown(), QString("WRKJOB"));

    f.PickCategory(0);
    QCOMPARE(AppSettings.LastCat, 0);
    QCOMPARE(f.ListItems().size(), 6);
    QCOMPARE(f.window()->StatusText(), QString("All: 6 commands loaded."));
}

void MainWindowTest::pagesShowTheRecord()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("Create Library"));
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(),
             QString("Creates a library.\nTwo lines."));
    QCOMPARE(f.Find<QPlainTextEdit>("memExample")->toPlainText(), QString("CRTLIB LIB(X)"));
    QCOMPARE(f.Rows("lvParam"), QStringList({"LIB"}));
    QCOMPARE(f.Rows("lvParam", 2), QStringList({"Name"}));
    QCOMPARE(f.Rows("lvParam", 3), QStringList({"Required"}));
    QCOMPARE(f.Rows("lvError", 1), QStringList({"Library already exists."}));
    QVERIFY(f.Find<QLabel>("lblNoParam")->isHidden());
    QVERIFY(f.Find<QLabel>("lblNoError")->isHidden());

    f.window()->SelectCommand("DSPLIB");
    QVERIFY(f.Rows("lvParam").isEmpty());
    QVERIFY(!f.Find<QLabel>("lblNoParam")->isHidden());
    QVERIFY(!f.Find<QLabel>("lblNoError")->isHidden());
    QCOMPARE(f.Find<QLabel>("lblNoParam")->text(),
             QString("( No Parameters information for this command )"));
    QCOMPARE(f.Find<QLabel>("lblNoError")->text(),
             QString("( No error message information for this  command )"));
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString());
}

void MainWindowTest::recordsAreReadOnce()
{
    GuiFixture f;
    f.AddCommand({"A", 1, "first reading"});
    f.AddCommand({"B", 1, "other"});
    f.WriteDatabase();
    f.WriteSettings(1);
    f.Open();
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("first reading"));
    // The file changes on disk; the record in memory is what shows again.
    f.AddCommand({"A", 1, "second reading"});
    f.window()->SelectCommand("B");
    f.window()->SelectCommand("A");
    QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(), QString("first reading"));
}

void MainWindowTest::runModes()
{
    for (int mode : {0, 1, 2, 3}) {
        GuiFixture f;
        f.AddCommand({"A", 1, "joined"});
        f.WriteDatabase();
        f.AddCommand({"A", 1, "per-command"}); // the per-command file now differs
        f.WriteSettings(mode);
        f.Open();
        bool bReadOnly = mode == 2;
        QCOMPARE(f.Find<QLineEdit>("edtName")->isReadOnly(), bReadOnly);
        QCOMPARE(f.Find<QLineEdit>("edtDesc")->isReadOnly(), bReadOnly);
        QCOMPARE(f.Find<QPlainTextEdit>("memEnv")->isReadOnly(), bReadOnly);
        QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->isReadOnly(), bReadOnly);
        QCOMPARE(f.Find<QPlainTextEdit>("memExample")->isReadOnly(), bReadOnly);
        QCOMPARE(f.window()->CommandMenu() == nullptr, bReadOnly);
        QCOMPARE(f.window()->ParamMenu() == nullptr, bReadOnly);
        QCOMPARE(f.window()->ErrorMenu() == nullptr, bReadOnly);
        QCOMPARE(f.Find<QLineEdit>("edtDesc")->text(),
                 QString(mode == 1 ? "per-command" : "joined"));
        f.Close();
        // The run mode and data mode are written back as they were read.
        QVERIFY(f.Settings().find("RunMode=" + std::to_string(mode)) != std::string::npos);
    }
}

void MainWindowTest::lastCategoryAndCommandAreRestored()
{
    GuiFixture f;
    Sample(f);
    f.AddCommand({"WRKOBJPDMX", 2, "Ten characters"});
    f.WriteDatabase();
    f.Open();
    f.PickCategory(2);
    f.Find<QLineEdit>("edtCommand")->setText("WRKOBJPDMX");
    QCOMPARE(f.Shown(), QString("WRKOBJPDMX"));
    f.Close();
    std::string ini = f.Settings();
    QVERIFY(ini.find("LastCat=2\n") != std::string::npos);
    QVERIFY(ini.find("LastCmd=WRKOBJPDMX\n") != std::string::npos);

    f.Open();
    QCOMPARE(f.Find<QComboBox>("cbCate")->currentIndex(), 2);
    QCOMPARE(f.ListItems().size(), 5);
    QCOMPARE(f.Shown(), QString("WRKOBJPDMX"));
    QCOMPARE(f.ListItems().at(f.SelectedListRow()), QString("WRKOBJPDMX"));
}

void MainWindowTest::unknownLastCategoryShowsAll()
{
    GuiFixture f;
    Sample(f);
    f.WriteSettings(2, 77, "NOSUCH");
    f.Open();
    QCOMPARE(f.Find<QComboBox>("cbCate")->currentIndex(), 0);
    QCOMPARE(f.ListItems().size(), 6);
    QCOMPARE(f.Shown(), QString("SBMJOB")); // the first name after NOSUCH
    f.Close();
    QVERIFY(f.Settings().find("LastCat=77\n") != std::string::npos);
}

void MainWindowTest::webButtonOpensTheCommandsPage()
{
    GuiFixture f;
    Sample(f);
    f.WriteSettings(2);
    f.Open();
    f.window()->SelectCommand("WRKJOB");
    const std::string ini = f.Settings();
    // The site is read when the button is pressed: an edit while running counts.
    WriteText(f.home.File("tarvexa.ini"), ini + "WebSite=https://www.example.com/ignored?q#x\n");
    f.Find<QPushButton>("btnWeb")->click();
    QCOMPARE(f.opened, QStringList({"https://www.example.com/clcommand/WRKJOB.htm"}));

    // No site: the page Create HTML wrote, else a message that says what to set.
    WriteText(f.home.File("tarvexa.ini"), ini);
    f.opened.clear();
    f.Find<QPushButton>("btnWeb")->click();
    QVERIFY(f.opened.isEmpty());
    QCOMPARE(f.messages.size(), size_t(1));
    QVERIFY(!f.messages[0].bError);
    QVERIFY(f.messages[0].text.contains("WebSite=https://www.example.com"));
    QVERIFY(f.messages[0].text.contains(QString::fromStdString(f.home.File("tarvexa.ini"))));
    MakeDir(f.home.File("html"));
    WriteText(f.home.File("html/WRKJOB.htm"), "<html></html>");
    f.Find<QPushButton>("btnWeb")->click();
    QCOMPARE(
        f.opened,
        QStringList({QUrl::fromLocalFile(QString::fromStdString(f.home.File("html/WRKJOB.htm")))
                         .toString()}));

    // A site that is no web address is refused, never opened.
    WriteText(f.home.File("tarvexa.ini"), ini + "WebSite=file:///etc\n");
    f.opened.clear();
    f.Find<QPushButton>("btnWeb")->click();
    QVERIFY(f.opened.isEmpty());
    QVERIFY(f.messages.back().bError);
    f.Close();
    // The program never writes the site itself.
    QVERIFY(f.Settings().find("WebSite=file:///etc") != std::string::npos);

    GuiFixture empty;
    empty.Open();
    empty.Find<QPushButton>("btnWeb")->click();
    QVERIFY(empty.opened.isEmpty());
}

void MainWindowTest::windowToRecordCutsAndKeeps()
{
    GuiFixture f;
    f.AddCommand({"A", 1, "desc", {}, {}, "kept detail", "kept example"});
    f.WriteDatabase();
    f.WriteSettings(1);
    f.Open();
    f.Find<QLineEdit>("edtDesc")->setText(QString(300, 'd'));
    QVERIFY(f.window()->UpdateCommandData(true));
    CLCmdRecord* pRec = f.window()->GetCurIdx()->pRec;
    QCOMPARE(std::strlen(pRec->szDesc), size_t(254));
    QCOMPARE(QString(pRec->pszDetail), QString("kept detail"));
    QCOMPARE(QString(pRec->pszExample), QString("kept example"));

    // An empty or unusable name is refused and nothing changes.
    for (const char* bad : {"", "A/B"}) {
        f.Find<QLineEdit>("edtName")->setText(bad);
        f.Find<QLineEdit>("edtDesc")->setText("changed");
        QVERIFY(!f.window()->UpdateCommandData(true));
        QCOMPARE(f.MessageTexts().last(), QString("Invalid CL Command Name."));
        QCOMPARE(f.messages.back().caption, QString("Zentrivo Error"));
        QVERIFY(f.messages.back().bError);
        QCOMPARE(std::strlen(pRec->szDesc), size_t(254));
    }
}

void MainWindowTest::textRoundTripsEveryByte()
{
    GuiFixture f;
    std::string desc;
    for (int c = 0x20; c < 0x100; ++c)
        if (c != 0x7F)
            desc += static_cast<char>(c);
    desc = desc.substr(0, 200);
    std::string high;
    for (int c = 0xA0; c < 0x100; ++c)
        high += static_cast<char>(c);
    f.AddCommand({"A", 1, desc, {}, {}, high + "\r\n" + high});
    f.WriteDatabase();
    f.WriteSettings(1);
    f.Open();
    // Touch the memo without changing it, so its text is stored again.
    QTest::keyClick(f.Find<QPlainTextEdit>("memDetail"), Qt::Key_X);
    QTest::keyClick(f.Find<QPlainTextEdit>("memDetail"), Qt::Key_Backspace);
    QVERIFY(f.window()->UpdateCommandData(true));
    CLCmdManager m{CLOptions{kRunModeEdit}};
    CLCmdIndex e = MakeIdx("A");
    RecordPtr rec = NewRecord(&e);
    QVERIFY(m.ReadCmdRecord(rec.get()));
    QCOMPARE(std::string(rec->szDesc), desc);
    QCOMPARE(std::string(rec->pszDetail), high + "\r\n" + high);
}

void MainWindowTest::layoutAndAccessibleNames()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    TfmMain* w = f.window();
    QCOMPARE(w->windowTitle(), QString("Zentrivo"));
    // Resizable, starting at the designed size (with the menu bar above it).
    QVERIFY(w->minimumSize().width() <= 794 && w->minimumSize().height() <= 564);
    QCOMPARE(w->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QVERIFY(w->width() >= 794 && w->height() >= 564);
    QVERIFY(f.Find<QPushButton>("btnCat")->isHidden());
    auto* tabs = f.Find<QTabWidget>("pClient");
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages << tabs->widget(i)->objectName() + "=" + tabs->tabText(i);
    QCOMPARE(pages, QStringList({"tOverview=Overview", "tParam=Parameters", "tExample=Examples",
                                 "tErrorMsg=Error Messages"}));
    auto* params = f.Find<QTreeWidget>("lvParam");
    // The columns start at their designed widths; the last one takes the rest.
    QStringList columns;
    for (int i = 0; i < params->columnCount() - 1; ++i)
        columns << params->headerItem()->text(i) + "/" + QString::number(params->columnWidth(i));
    QCOMPARE(columns, QStringList({"Keyword/80", "Description/200", "Choices/150"}));
    QCOMPARE(params->headerItem()->text(3), QString("Note"));
    QVERIFY(params->header()->stretchLastSection());
    auto* errors = f.Find<QTreeWidget>("lvError");
    QCOMPARE(errors->headerItem()->text(0) + "/" + QString::number(errors->columnWidth(0)),
             QString("Error Code/100"));
    QCOMPARE(errors->headerItem()->text(1), QString("Error Description"));
    QCOMPARE(f.Find<QPushButton>("btnExit")->text(), QString("E&xit"));
    QCOMPARE(f.Find<QPushButton>("btnWeb")->text(), QString("CL Command on the &Web"));
    QVERIFY(f.Find<QPlainTextEdit>("memExample")->font().fixedPitch());

    // What a screen reader announces for each labelled control.
    // A drop-down's name is its value on this platform; its label comes through
    // the "labelled by" relation, as screen readers read it.
    QAccessibleInterface* combo =
        QAccessible::queryAccessibleInterface(f.Find<QComboBox>("cbCate"));
    QStringList labels;
    for (const auto& [iface, relation] : combo->relations(QAccessible::Label))
        labels << iface->text(QAccessible::Name);
    QCOMPARE(labels, QStringList({"Command Categories:"}));
    const std::pair<const char*, const char*> names[] = {
        {"edtCommand", "Go to Command:"},
        {"lbCommand", "Commands List"},
        {"edtName", "Command Name:"},
        {"edtDesc", "Command Description:"},
        {"memEnv", "Environment: ( Where allowed to run )"},
        {"memDetail", "Detail Information:"},
        {"lvParam", "Command Parameter List:"},
        {"memExample", "Command Examples:"},
        {"lvError", "Command Error Messages:"},
        {"btnExit", "Exit"},
        {"btnWeb", "CL Command on the Web"},
        {"edtFind", "Search all commands"},
        {"lvFind", "Search results"},
    };
    for (const auto& [object, name] : names) {
        QWidget* widget = w->findChild<QWidget*>(object);
        QVERIFY2(widget, object);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(iface, object);
        QCOMPARE(iface->text(QAccessible::Name), QString(name));
    }

    // Tab moves through the controls in the window's order.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    f.Find<QComboBox>("cbCate")->setFocus();
    QStringList order;
    for (int i = 0; i < 13; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        order << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QStringList expected = {
        "cbCate",  "edtCommand", "btnSearch", "lbCommand", "qt_tabwidget_tabbar",
        "edtName", "edtDesc",    "memEnv",    "memDetail", "btnWeb",
        "edtFind", "btnExit",    "cbCate"};
    QCOMPARE(order, expected);
    // On another page, Tab goes from the page tabs to that page's control.
    for (const char* page : {"lvParam", "memExample", "lvError"}) {
        QWidget* control = w->findChild<QWidget*>(page);
        tabs->setCurrentWidget(control->parentWidget());
        QWidget* bar = tabs->findChild<QTabBar*>();
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control);
        QTest::keyClick(control, Qt::Key_Tab);
        if (QString(page) == "lvParam") { // the page's Prompt... button follows its list
            QCOMPARE(QApplication::focusWidget()->objectName(), QString("btnPrompt"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("edtFind"));
    }
}

// An object whose event handler throws, as a faulty handler would.
class Thrower : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Something went wrong.");
        return QObject::event(e);
    }
};

void MainWindowTest::exceptionsInHandlersAreShown()
{
    GuiFixture f;
    Thrower thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QCOMPARE(f.MessageTexts(), QStringList({"Something went wrong."}));
    QCOMPARE(f.messages[0].caption, QString("Zentrivo"));
    QVERIFY(f.messages[0].bError);
}

QObject* NewMainWindowTest()
{
    return new MainWindowTest;
}

void MainWindowTest::coloursStayReadableOnDarkPalettes()
{
    const QPalette light = QApplication::palette();
    // A dark desktop's palette.
    QPalette dark(QColor(0x3c, 0x3c, 0x40), QColor(0x2d, 0x2d, 0x30));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));

    GuiFixture f;
    Sample(f);
    f.Open();
    auto* lblCate = f.Find<QLabel>("lblCate");
    auto* lblNoParam = f.Find<QLabel>("lblNoParam");
    // Light: the designed colours.
    QVERIFY(lblCate->styleSheet().contains("#000080"));
    QVERIFY(lblNoParam->styleSheet().contains("#0000ff"));
    QCOMPARE(f.Find<QLabel>("imgTop")->pixmap().toImage().pixelColor(2, 2), QColor(Qt::white));

    auto* lblGoto = f.Find<QLabel>("lblGoto");
    const QStringList texts = {lblCate->text(), lblGoto->text()};
    QVERIFY(texts[0].endsWith(':') && texts[1].endsWith(':'));
    QVERIFY(lblCate->fontInfo().bold() && lblGoto->fontInfo().bold());

    // A switch to a dark palette while running: every text stays readable.
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    // The labels keep their texts and bold face.
    QCOMPARE(QStringList({lblCate->text(), lblGoto->text()}), texts);
    QVERIFY(lblCate->fontInfo().bold() && lblGoto->fontInfo().bold());
    // The fields on the top panel keep a border that stands out from it.
    const QString sheet = f.Find<QWidget>("spTop")->styleSheet();
    const QRegularExpressionMatch border =
        QRegularExpression("border: 1px solid (#[0-9a-f]{6})").match(sheet);
    QVERIFY2(border.hasMatch(), qPrintable(sheet));
    const WindowColours c = ColoursFor(dark);
    QVERIFY(c.bDark);
    QVERIFY(lblCate->styleSheet().contains(c.label.name()));
    QVERIFY(lblNoParam->styleSheet().contains(c.hint.name()));
    for (const QColor& text : {c.label, c.hint}) {
        QVERIFY2(ContrastRatio(text, dark.color(QPalette::Window)) >= 4.5, qPrintable(text.name()));
        QVERIFY(ContrastRatio(text, c.panel) >= 4.5);
    }
    QVERIFY(ContrastRatio(QColor(border.captured(1)), c.panel) >= 3);
    QVERIFY(ContrastRatio(ColoursFor(light).label, Qt::white) >= 4.5);
    QCOMPARE(f.Find<QLabel>("imgTop")->pixmap().toImage().pixelColor(2, 2), c.panel);

    QApplication::setPalette(light);
    QCoreApplication::processEvents();
    QVERIFY(lblCate->styleSheet().contains("#000080"));
}

#include "MainWindowTest.moc"
