// Runs the window tests of one class (named by the first argument), or all.
#include "ZentrivoApp.h"

#include <QTest>

#include <cstring>
#include <memory>

QObject* NewMainWindowTest();
QObject* NewEditingTest();
QObject* NewDialogTest();
QObject* NewSettingsTest();
QObject* NewAuthoringTest();
QObject* NewReadingAidsTest();
QObject* NewPromptTest();
QObject* NewLeavingTest();
QObject* NewWindowTest();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ZentrivoApp app(argc, argv);
    const std::pair<const char*, QObject* (*)()> classes[] = {
        {"MainWindowTest", NewMainWindowTest}, {"EditingTest", NewEditingTest},
        {"DialogTest", NewDialogTest},         {"SettingsTest", NewSettingsTest},
        {"AuthoringTest", NewAuthoringTest},   {"ReadingAidsTest", NewReadingAidsTest},
        {"PromptTest", NewPromptTest},         {"LeavingTest", NewLeavingTest},
        {"WindowTest", NewWindowTest},
    };
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    int failed = 0;
    for (const auto& [name, make] : classes) {
        if (only && std::strcmp(only, name) != 0)
            continue;
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), only ? argc - 1 : argc, only ? argv + 1 : argv);
    }
    return failed;
}
