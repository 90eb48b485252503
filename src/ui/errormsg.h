// TfmErrorMsg: edits one error message of a command in place. OK stores the
// code and text (cut to 8 and 148 characters) only when both are given.
#ifndef ERRORMSG_H
#define ERRORMSG_H

#include "CLRecords.h"

#include <QDialog>

namespace Ui {
class TfmErrorMsg;
}

class TfmErrorMsg : public QDialog
{
    Q_OBJECT
public:
    explicit TfmErrorMsg(QWidget* parent = nullptr);
    ~TfmErrorMsg() override;

    // Binds the dialog to pError and loads it.
    bool SetErrorMsg(CLCmdError* pError);
    bool UpdateDlgData(bool bSave);
    // Shows the message without letting it be changed (the reading run mode).
    void SetReadOnly(bool bReadOnly);
    void btnOKClick();

private:
    Ui::TfmErrorMsg* ui;
    CLCmdError* m_pError = nullptr;
};

#endif
