// The window as a desktop application: it resizes without cutting anything
// off, its menu bar reaches every action by mnemonic, and the Settings dialog
// changes the run mode, web site and zoom without a restart or a lost edit.
#include "AppSettings.h"
#include "GuiFixture.h"
#include "WindowColours.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

void Sample(GuiFixture& f, int runMode = 1)
{
    f.AddCategory(1, "Libraries", "lib.htm");
    f.AddCommand(
        {"CRTLIB", 1, "Create Library", {{"LIB", "Library", "Name", "Required"}}, {}, "Original"});
    f.AddCommand({"DSPLIB", 1, "Display Library"});
    f.WriteDatabase();
    f.WriteSettings(runMode);
}

// The menus of the menu bar, by title: the texts of their visible items.
QMap<QString, QStringList> Menus(GuiFixture& f)
{
    QMap<QString, QStringList> menus;
    for (QAction* top : f.window()->menuBar()->actions()) {
        if (!top->isVisible())
            continue;
        QStringList items;
        for (QAction* a : top->menu()->actions())
            if (a->isVisible() && !a->isSeparator())
                items << a->text();
        menus[top->text()] = items;
    }
    return menus;
}

QAction* Item(GuiFixture& f, const QString& text)
{
    for (QAction* top : f.window()->menuBar()->actions())
        for (QAction* a : top->menu()->actions())
            if (a->text() == text)
                return a;
    return nullptr;
}

// Widgets whose text must show whole: their width and height are at least what they need.
QStringList Clipped(QWidget* window)
{
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->objectName().isEmpty() ||
            !(qobject_cast<QLabel*>(w) || qobject_cast<QPushButton*>(w)))
            continue;
        const QSize need = w->minimumSizeHint();
        const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
        if (w->width() < need.width() || w->height() < need.height() ||
            !window->rect().contains(inWindow))
            clipped << w->objectName();
    }
    return clipped;
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT
private slots:
    void theControlsGrowWithTheWindow();
    void menuBarReachesEveryAction();
    void settingsApplyAtOnce();
    void runModeChangeSettlesUnsavedWork();
    void undocumentedCommandsAreMarked();
};

void WindowTest::theControlsGrowWithTheWindow()
{
    GuiFixture f;
    Sample(f);
    TfmMain* w = f.Open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const char* growing[] = {"lbCommand", "pClient", "memDetail", "spMain"};
    QMap<QString, QSize> before;
    for (const char* name : growing)
        before[name] = f.Find<QWidget>(name)->size();
    w->resize(w->width() + 300, w->height() + 200);
    QApplication::processEvents();
    for (const char* name : growing) {
        const QSize now = f.Find<QWidget>(name)->size();
        QVERIFY2(now.height() > before[name].height(), name);
    }
    QVERIFY(f.Find<QWidget>("pClient")->width() > before["pClient"].width());
    QCOMPARE(Clipped(w).join(" "), QString());
    // At the smallest size every label and button still shows whole.
    w->resize(w->minimumSize());
    QApplication::processEvents();
    QCOMPARE(Clipped(w).join(" "), QString());
    for (const char* page : {"tOverview", "tParam", "tExample", "tErrorMsg"}) {
        f.Find<QTabWidget>("pClient")->setCurrentWidget(f.Find<QWidget>(page));
        QApplication::processEvents();
        QVERIFY2(Clipped(w).isEmpty(), qPrintable(page + QString(": ") + Clipped(w).join(' ')));
    }
    // Size and splitter come back at the next start.
    w->resize(1000, 700);
    f.Find<QSplitter>("spMain")->setSizes({300, 700});
    QApplication::processEvents();
    const QList<int> split = f.Find<QSplitter>("spMain")->sizes();
    f.Close();
    QVERIFY(f.Settings().find("WindowWidth=1000") != std::string::npos);
    w = f.Open();
    QCOMPARE(w->size(), QSize(1000, 700));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(f.Find<QSplitter>("spMain")->sizes(), split);
}

void WindowTest::menuBarReachesEveryAction()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    const QMap<QString, QStringList> menus = Menus(f);
    QCOMPARE(menus.keys(), QStringList({"&Edit", "&File", "&Go", "&Help", "&View"}));
    QCOMPARE(menus["&File"],
             QStringList({"&Import...", "Import Command Defi&nitions...", "Create &HTML",
                          "Create &All HTML...", "&Build Data File", "&Settings...", "E&xit"}));
    QCOMPARE(menus["&Edit"],
             QStringList({"&Save", "&Add Command...", "&Delete Command", "&Categories..."}));
    QCOMPARE(menus["&Go"], QStringList({"&Back", "&Forward", "Go to &Command", "&Search"}));
    // Every item has a mnemonic, none used twice in one menu.
    for (auto it = menus.begin(); it != menus.end(); ++it) {
        QSet<QChar> letters;
        for (const QString& item : it.value()) {
            const int at = item.indexOf('&');
            QVERIFY2(at >= 0 && at + 1 < item.size(), qPrintable(item));
            const QChar letter = item[at + 1].toLower();
            QVERIFY2(!letters.contains(letter), qPrintable(it.key() + " " + item));
            letters << letter;
        }
    }
    QCOMPARE(Item(f, "&Save")->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(Item(f, "&Back")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));

    // The shortcuts work from anywhere in the window.
    f.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window()));
    f.Find<QWidget>("lbCommand")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), f.Find<QWidget>("edtCommand"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), f.Find<QWidget>("edtFind"));
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("By Ctrl+S");
    f.Find<QPlainTextEdit>("memDetail")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(f.window()->UnsavedWork().isEmpty());

    // Help: the shortcuts and the version.
    Item(f, "&About Zentrivo")->trigger();
    QVERIFY(f.MessageTexts().last().startsWith("Zentrivo " ZENTRIVO_VERSION));
    Item(f, "&Keyboard Shortcuts")->trigger();
    QVERIFY(f.MessageTexts().last().contains("Ctrl+L\tGo to Command"));

    // A reader's menus offer nothing that changes the reference.
    f.Close();
    f.WriteSettings(2);
    f.Open();
    const QMap<QString, QStringList> reader = Menus(f);
    QCOMPARE(reader.keys(), QStringList({"&File", "&Go", "&Help", "&View"}));
    QCOMPARE(reader["&File"], QStringList({"&Settings...", "E&xit"}));
}

void WindowTest::settingsApplyAtOnce()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    auto* detail = f.Find<QPlainTextEdit>("memDetail");
    const qreal base = detail->font().pointSizeF();
    // An address that is no http or https one: OK stays off and the hint says why.
    f.dialogAnswers.push_back([](QDialog* d) {
        SetText(d, "edtWebSite", "ftp://example.com");
        const bool bRefused = !d->findChild<QPushButton*>("btnOK")->isEnabled() &&
                              !d->findChild<QLabel*>("lblWebHint")->text().isEmpty();
        SetText(d, "edtWebSite", "https://www.example.com");
        const bool bTaken = d->findChild<QPushButton*>("btnOK")->isEnabled() &&
                            d->findChild<QLabel*>("lblWebHint")->text().isEmpty();
        auto* modes = d->findChild<QComboBox*>("cbRunMode");
        modes->setCurrentIndex(modes->findData(2));
        d->findChild<QSpinBox*>("spnZoom")->setValue(3);
        Click(d, "btnOK");
        return bRefused && bTaken ? d->result() : -1;
    });
    f.window()->EditSettings();
    QCOMPARE(AppSettings.RunMode, 2);
    QVERIFY(f.Find<QLineEdit>("edtName")->isReadOnly());
    QCOMPARE(f.window()->CommandMenu(), nullptr);
    QCOMPARE(detail->font().pointSizeF(), base + 3);
    QCOMPARE(f.Shown(), QString("CRTLIB"));
    QVERIFY(f.Settings().find("WebSite=https://www.example.com") != std::string::npos);
    QVERIFY(f.Settings().find("RunMode=2") != std::string::npos);
    f.Find<QPushButton>("btnWeb")->click();
    QCOMPARE(f.opened, QStringList({"https://www.example.com/clcommand/CRTLIB.htm"}));
    // Cancel changes nothing.
    f.dialogAnswers.push_back([](QDialog* d) {
        auto* modes = d->findChild<QComboBox*>("cbRunMode");
        modes->setCurrentIndex(modes->findData(1));
        Click(d, "btnCancel");
        return d->result();
    });
    f.window()->EditSettings();
    QCOMPARE(AppSettings.RunMode, 2);
}

void WindowTest::runModeChangeSettlesUnsavedWork()
{
    GuiFixture f;
    Sample(f);
    f.Open();
    auto toReader = [](QDialog* d) {
        auto* modes = d->findChild<QComboBox*>("cbRunMode");
        modes->setCurrentIndex(modes->findData(2));
        Click(d, "btnOK");
        return d->result();
    };
    f.Find<QPlainTextEdit>("memDetail")->setPlainText("Edited");
    // Cancel: the run mode stays, and the edit with it.
    f.dialogAnswers.push_back(toReader);
    f.answers.push_back(QMessageBox::Cancel);
    f.window()->EditSettings();
    QVERIFY(f.questions.back().text.endsWith("Save them before the run mode changes?"));
    QCOMPARE(AppSettings.RunMode, 1);
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString("Edited"));
    // Save: written before the reader's run mode starts.
    f.dialogAnswers.push_back(toReader);
    f.answers.push_back(QMessageBox::Save);
    f.window()->EditSettings();
    QCOMPARE(AppSettings.RunMode, 2);
    QVERIFY(f.window()->UnsavedWork().isEmpty());
    f.Close();
    f.WriteSettings(1);
    f.Open();
    QCOMPARE(f.Find<QPlainTextEdit>("memDetail")->toPlainText(), QString("Edited"));
}

void WindowTest::undocumentedCommandsAreMarked()
{
    GuiFixture f;
    Sample(f, 2);
    f.Open();
    QVERIFY(f.window()->WaitForSearchIndex(30000));
    QApplication::processEvents();
    QAbstractItemModel* model = f.Find<QListView>("lbCommand")->model();
    auto colour = [model](int row) {
        return model->index(row, 0).data(Qt::ForegroundRole).value<QColor>();
    };
    QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid()); // CRTLIB: documented
    QVERIFY(
        model->index(1, 0).data(Qt::AccessibleDescriptionRole).toString().contains("No record"));
    QCOMPARE(f.Find<QLabel>("sbDocumented")->text(), QString("1 of 2 commands documented"));
    // Dimmed, yet readable, on a light and on a dark palette.
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(0x3c, 0x3c, 0x40), QColor(0x2d, 0x2d, 0x30));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    for (const QPalette& p : {light, dark}) {
        QApplication::setPalette(p);
        const QColor dim = colour(1);
        QVERIFY(dim != p.color(QPalette::Text));
        QVERIFY(ContrastRatio(dim, p.color(QPalette::Base)) >= 3);
    }
    QApplication::setPalette(light);
    // Documented Commands Only hides DSPLIB, and brings it back.
    Item(f, "&Documented Commands Only")->trigger();
    QCOMPARE(f.ListItems(), QStringList({"CRTLIB"}));
    Item(f, "&Documented Commands Only")->trigger();
    QCOMPARE(f.ListItems(), QStringList({"CRTLIB", "DSPLIB"}));
}

QObject* NewWindowTest()
{
    return new WindowTest;
}

#include "WindowTest.moc"
