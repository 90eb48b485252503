// Shows a modal dialog and returns its result; tests replace the runner to
// fill in and press the dialog's buttons without a modal loop.
#ifndef DIALOGRUNNER_H
#define DIALOGRUNNER_H

#include <functional>

class QDialog;

using DialogHandler = std::function<int(QDialog* dialog)>;

int RunDialog(QDialog* dialog);
void SetDialogHandler(DialogHandler handler);

#endif
