// The prompt of Add Command: a command name, checked before the prompt closes.
// A name that is not a CL name, or that the index already holds, is reported
// and the prompt stays open with the text.
#ifndef ADDCMDDIALOG_H
#define ADDCMDDIALOG_H

#include <QInputDialog>

class CLCmdManager;

class AddCmdDialog : public QInputDialog
{
    Q_OBJECT
public:
    // category names the category the command goes to; the prompt shows it
    // when bAll says the list shows every category.
    AddCmdDialog(CLCmdManager* pManager, const QString& category, bool bAll, QWidget* parent);
    void done(int result) override;

private:
    CLCmdManager* m_pManager;
};

#endif
