#include "MsgBox.h"

#include "Latin1.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

MsgBox::Handler& CurrentHandler()
{
    static MsgBox::Handler handler;
    return handler;
}

MsgBox::AskHandler& CurrentAskHandler()
{
    static MsgBox::AskHandler handler;
    return handler;
}

} // namespace

namespace MsgBox {

void Show(QWidget* parent, const QString& text, const QString& caption, CLMsgIcon icon)
{
    if (CurrentHandler()) {
        CurrentHandler()(parent, text, caption, icon);
        return;
    }
    const QMessageBox::Icon kind = icon == CLMsgIcon::Error     ? QMessageBox::Critical
                                   : icon == CLMsgIcon::Warning ? QMessageBox::Warning
                                                                : QMessageBox::Information;
    QMessageBox box(kind, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void Error(QWidget* parent, const QString& text)
{
    Show(parent, text, QString::fromLatin1(kErrorCaption), CLMsgIcon::Error);
}

void Information(QWidget* parent, const QString& text)
{
    Show(parent, text, QString::fromLatin1(kInfoCaption), CLMsgIcon::Information);
}

void Warning(QWidget* parent, const QString& text)
{
    Show(parent, text, QString::fromLatin1(kWarningCaption), CLMsgIcon::Warning);
}

void SetHandler(Handler handler)
{
    CurrentHandler() = std::move(handler);
}

QMessageBox::StandardButton Ask(QWidget* parent, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton,
                                QMessageBox::StandardButton escapeButton)
{
    if (CurrentAskHandler())
        return CurrentAskHandler()(parent, text, buttons, defaultButton, escapeButton);
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kQuestionCaption), text, buttons,
                    parent);
    // Every answer has its letter: Alt+S, Alt+D, Alt+C, Alt+Y, Alt+N.
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Save, "&Save"},
        {QMessageBox::Discard, "&Discard"},
        {QMessageBox::Cancel, "&Cancel"},
        {QMessageBox::Yes, "&Yes"},
        {QMessageBox::No, "&No"}};
    for (const auto& [button, label] : texts)
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromLatin1(label));
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    box.exec();
    return box.standardButton(box.clickedButton());
}

void SetAskHandler(AskHandler handler)
{
    CurrentAskHandler() = std::move(handler);
}

QString FirstLines(const QStringList& lines, int nMax)
{
    if (lines.size() <= nMax)
        return lines.join(QLatin1Char('\n'));
    return (lines.mid(0, nMax) << QStringLiteral("... and %1 more").arg(lines.size() - nMax))
        .join(QLatin1Char('\n'));
}

void InstallCoreHook()
{
    SetMessageHook([](const std::string& text, const std::string& caption, CLMsgIcon icon) {
        Show(nullptr, FromLatin1(text), FromLatin1(caption), icon);
    });
}

} // namespace MsgBox
