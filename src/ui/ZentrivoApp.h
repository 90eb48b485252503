// The application object: title "Zentrivo", and an exception that escapes an
// event handler is shown in a message box while the program goes on.
#ifndef ZENTRIVOAPP_H
#define ZENTRIVOAPP_H

#include <QApplication>

#include <exception>

class ZentrivoApp : public QApplication
{
    Q_OBJECT
public:
    ZentrivoApp(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an exception the way the program shows every exception.
    static void ShowException(const std::exception_ptr& error);
};

#endif
