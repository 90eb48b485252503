#include "FileDialog.h"

#include <QFileDialog>

namespace {

FileDialog::Handler& CurrentHandler()
{
    static FileDialog::Handler handler;
    return handler;
}

} // namespace

namespace FileDialog {

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& start,
                        const QString& filter)
{
    if (CurrentHandler())
        return CurrentHandler()(caption, start);
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

QStringList GetOpenFileNames(QWidget* parent, const QString& caption, const QString& start,
                             const QString& filter)
{
    if (CurrentHandler())
        return CurrentHandler()(caption, start).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return QFileDialog::getOpenFileNames(parent, caption, start, filter);
}

QString GetExistingDirectory(QWidget* parent, const QString& caption, const QString& start)
{
    if (CurrentHandler())
        return CurrentHandler()(caption, start);
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

void SetHandler(Handler handler)
{
    CurrentHandler() = std::move(handler);
}

} // namespace FileDialog
