// The program entry: no command-line arguments; the main window does the rest.
#include "ZentrivoApp.h"
#include "main.h"

#include <QScreen>

#include <memory>

int main(int argc, char** argv)
{
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
