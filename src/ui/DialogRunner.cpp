#include "DialogRunner.h"

#include <QDialog>

namespace {

DialogHandler& CurrentHandler()
{
    static DialogHandler handler;
    return handler;
}

} // namespace

int RunDialog(QDialog* dialog)
{
    if (CurrentHandler())
        return CurrentHandler()(dialog);
    return dialog->exec();
}

void SetDialogHandler(DialogHandler handler)
{
    CurrentHandler() = std::move(handler);
}
