// The program entry; the main window does the rest. "--version" prints the
// version and ends; "--home DIR" names the folder of the data files.
#include "CLHome.h"
#include "MsgBox.h"
#include "ZentrivoApp.h"
#include "main.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: zentrivo [--home DIR]\n"
    "\n"
    "The desktop reference of IBM i CL commands.\n"
    "\n"
    "  --home DIR   The folder of the data and settings files. Default:\n"
    "               ZENTRIVO_HOME when set, else the program's folder when it\n"
    "               holds the data files and can be written, else the user's\n"
    "               folder $XDG_DATA_HOME/zentrivo (~/.local/share/zentrivo),\n"
    "               made a copy of the installed reference at first start.\n"
    "  --help       Show this help.\n"
    "  --version    Show the version.\n";

} // namespace

int main(int argc, char** argv)
{
    std::string home;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zentrivo %s\n", ZENTRIVO_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        bool bHome = std::strcmp(argv[i], "--home") == 0;
        if (bHome || std::strncmp(argv[i], "--home=", 7) == 0) {
            home = bHome ? (i + 1 < argc ? argv[++i] : "") : argv[i] + 7;
            if (home.empty()) {
                std::fputs("zentrivo: --home needs a folder.\n", stderr);
                return 2;
            }
        }
    }
    ZentrivoApp app(argc, argv);
    std::string why;
    if (!CLHome::Use(home, &why)) {
        MsgBox::Error(nullptr, QString::fromLocal8Bit(why.c_str()));
        return 1;
    }
    std::unique_ptr<TfmMain> window;
    try {
        window = std::make_unique<TfmMain>();
    } catch (...) {
        ZentrivoApp::ShowException(std::current_exception());
        return 1;
    }
    // The window places itself: where it was at the last close, else centred.
    window->show();
    int result = 0;
    try {
        result = app.exec();
    } catch (...) {
        ZentrivoApp::ShowException(std::current_exception());
        result = 1;
    }
    window.reset(); // shut-down: settings written, database released
    return result;
}
