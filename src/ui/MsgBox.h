// Every message box of the windows goes through here, so tests can record
// the caption, text and icon instead of blocking on a modal box.
#ifndef MSGBOX_H
#define MSGBOX_H

#include "CLMessage.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace MsgBox {

using Handler = std::function<void(QWidget* parent, const QString& text, const QString& caption,
                                   CLMsgIcon icon)>;

// A modal box with one OK button, the given caption and icon.
void Show(QWidget* parent, const QString& text, const QString& caption, CLMsgIcon icon);
void Error(QWidget* parent, const QString& text);
void Information(QWidget* parent, const QString& text);
// Done in part: caption "Zentrivo Warning", the warning icon.
void Warning(QWidget* parent, const QString& text);
// Replaces the box (tests); an empty handler restores it.
void SetHandler(Handler handler);

inline constexpr const char* kQuestionCaption = "Zentrivo Question";

// A question box with the caption "Zentrivo Question", the given buttons, the
// default button and the button that Escape gives; returns the button pressed.
QMessageBox::StandardButton Ask(QWidget* parent, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton,
                                QMessageBox::StandardButton escapeButton);
using AskHandler = std::function<QMessageBox::StandardButton(
    QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton, QMessageBox::StandardButton escapeButton)>;
// Replaces the question box (tests); an empty handler restores it.
void SetAskHandler(AskHandler handler);
// A message's text of at most nMax lines, then how many more there are.
QString FirstLines(const QStringList& lines, int nMax);
// Routes the data layer's messages to message boxes without an owner.
void InstallCoreHook();

} // namespace MsgBox

#endif
