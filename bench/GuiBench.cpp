// Responsiveness of the main window with a large index: start-up, filling the
// command list, one keystroke in "Go to Command:", and a query typed in the
// search field once its index is built (goal: under 50 ms, results shown).
// Every command has a record of a few hundred bytes. Prints milliseconds;
// run with `make bench` (headless under QT_QPA_PLATFORM=offscreen).
#include "AppSettings.h"
#include "BenchRecords.h"
#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "WinUtil.h"
#include "ZentrivoApp.h"
#include "main.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ZentrivoApp app(argc, argv);
    const size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    fs::path home = fs::temp_directory_path() / ("zentrivo-guibench-" + std::to_string(::getpid()));
    fs::create_directories(home / "data");
    SetAppPath(home.string());
    {
        CLCmdManager m;
        for (uint32_t id = 1; id <= 16; ++id) {
            CLCategory c{};
            c.dwID = id;
            CopyField(c.szName, "Category " + std::to_string(id));
            m.AddCat(&c);
        }
        for (size_t i = 0; i < n; ++i) {
            char name[24];
            std::snprintf(name, sizeof name, "%c%06zu", 'A' + static_cast<int>(i % 26), i);
            CLCmdIndex e{};
            CopyField(e.szName, name);
            CopyField(e.szFileName, std::string(name) + ".dat");
            e.dwPos = kNoRecordPos;
            e.dwCatID = static_cast<uint32_t>(i % 16 + 1);
            m.AddCmdIdx(&e);
        }
        m.SaveAll();
        SaveBenchRecords(m);
    }
    // The editing run mode reads the per-command files written above.
    std::ofstream((home / "tarvexa.ini").string()) << "[Zentrivo]\nRunMode=1\nLastCmd=M050000\n";

    QElapsedTimer t;
    t.start();
    auto* window = new TfmMain;
    window->show();
    app.processEvents();
    std::printf("start-up and first paint with %zu commands: %lld ms\n", n,
                static_cast<long long>(t.elapsed()));

    auto* edit = window->findChild<QLineEdit*>("edtCommand");
    const char* typed[] = {"W", "WR", "WRK", "Z", "A", "M05", "M0500"};
    for (const char* text : typed) {
        t.restart();
        edit->setText(text);
        app.processEvents();
        std::printf("keystroke to \"%s\": %.2f ms\n", text, t.nsecsElapsed() / 1e6);
    }
    auto* combo = window->findChild<QComboBox*>("cbCate");
    for (int index : {3, 0}) {
        t.restart();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        app.processEvents();
        std::printf("category %d, list filled: %lld ms\n", index,
                    static_cast<long long>(t.elapsed()));
    }
    t.restart();
    if (!window->WaitForSearchIndex(600000)) {
        std::printf("the search index was not built\n");
        return 1;
    }
    std::printf("search index ready: %lld ms later\n", static_cast<long long>(t.elapsed()));
    // Each query as if pasted into the field: the search, the rows and the
    // count put in place and painted. A name prefix, two title words, a word
    // of one command, a keyword of 200, one every command holds (OBJ), and a
    // typing error that is corrected.
    auto* find = window->findChild<QLineEdit*>("edtFind");
    find->setFocus();
    const char* queries[] = {"m05", "spooled file", "unique99999", "kw42", "obj", "librery"};
    for (const char* text : queries) {
        t.restart();
        find->setText(text);
        app.processEvents();
        std::printf("search \"%s\": %.2f ms (goal < 50)\n", text, t.nsecsElapsed() / 1e6);
    }
    t.restart();
    delete window;
    std::printf("shut-down: %lld ms\n", static_cast<long long>(t.elapsed()));
    fs::remove_all(home);
    return 0;
}
