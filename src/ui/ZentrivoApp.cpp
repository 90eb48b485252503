#include "ZentrivoApp.h"

#include "MsgBox.h"

#include <QIcon>

ZentrivoApp::ZentrivoApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // No display name: on Linux desktops Qt appends it to every window title,
    // and the message boxes' captions must read exactly as given.
    setApplicationName(QStringLiteral("Zentrivo"));
    // Desktop shells match the windows to the installed desktop entry.
    setDesktopFileName(QStringLiteral("org.zentrivo.Zentrivo"));
    // The installed icon theme's, else the program's own.
    QIcon own;
    for (int size : {16, 32, 48, 64, 128, 256})
        own.addFile(QStringLiteral(":/icons/zentrivo-%1.png").arg(size));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("org.zentrivo.Zentrivo"), own));
}

bool ZentrivoApp::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
    }
    return false;
}

void ZentrivoApp::ShowException(const std::exception_ptr& error)
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
        // Not one of ours: shown with an empty message.
    }
    MsgBox::Show(nullptr, text, QStringLiteral("Zentrivo"), CLMsgIcon::Error);
}
