// TfmParam: edits one parameter of a command in place. OK stores the fields
// (cut to their limits) only when the keyword is not empty.
#ifndef PARAM_H
#define PARAM_H

#include "CLRecords.h"

#include <QDialog>

namespace Ui {
class TfmParam;
}

class TfmParam : public QDialog
{
    Q_OBJECT
public:
    explicit TfmParam(QWidget* parent = nullptr);
    ~TfmParam() override;

    // Binds the dialog to pParam and loads it.
    bool SetParam(CLCmdParam* pParam);
    bool UpdateDlgData(bool bSave);
    // Shows the parameter without letting it be changed (the reading run mode).
    void SetReadOnly(bool bReadOnly);
    void btnOKClick();

private:
    Ui::TfmParam* ui;
    CLCmdParam* m_pParam = nullptr;
};

#endif
