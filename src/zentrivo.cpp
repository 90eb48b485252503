// The program entry; the main window does the rest. "--version" prints the
// version and ends.
#include "ZentrivoApp.h"
#include "main.h"

#include <QScreen>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zentrivo %s\n", ZENTRIVO_VERSION);
            return 0;
        }
    }
    ZentrivoApp app(argc, argv);
    std::unique_ptr<TfmMain> window;
    try {
        window = std::make_unique<TfmMain>();
    } catch (...) {
        ZentrivoApp::ShowException(std::current_exception());
        return 1;
    }
    // Centred on the desktop.
    if (QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
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
