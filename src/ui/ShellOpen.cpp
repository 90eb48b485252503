#include "ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

std::function<void(const QString&)>& CurrentHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

int ShellOpen(const char* szTarget)
{
    if (!szTarget || !*szTarget)
        return 0;
    QString target = QString::fromLatin1(szTarget);
    if (CurrentHandler())
        CurrentHandler()(target);
    else
        QDesktopServices::openUrl(QUrl::fromUserInput(target));
    return 1;
}

void SetShellOpenHandler(std::function<void(const QString& target)> handler)
{
    CurrentHandler() = std::move(handler);
}
