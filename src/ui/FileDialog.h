// The file and folder choosers, replaceable by tests (which then answer with
// a prepared name, or an empty one for a cancelled chooser).
#ifndef FILEDIALOG_H
#define FILEDIALOG_H

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace FileDialog {

// An existing file to open; empty when cancelled.
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& start,
                        const QString& filter);
// Existing files to open; empty when cancelled. A test handler answers with
// the names separated by newlines.
QStringList GetOpenFileNames(QWidget* parent, const QString& caption, const QString& start,
                             const QString& filter);
// An existing folder; empty when cancelled.
QString GetExistingDirectory(QWidget* parent, const QString& caption, const QString& start);

// Tests: every chooser returns what the handler answers, given the caption
// and the place the chooser would start at.
using Handler = std::function<QString(const QString& caption, const QString& start)>;
void SetHandler(Handler handler);

} // namespace FileDialog

#endif
