#include "errormsg.h"

#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "UpperCaseValidator.h"
#include "ui_errormsg.h"

TfmErrorMsg::TfmErrorMsg(QWidget* parent) : QDialog(parent), ui(new Ui::TfmErrorMsg)
{
    ui->setupUi(this);
    ui->edtCode->setValidator(new UpperCaseValidator(ui->edtCode));
    connect(ui->btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(ui->btnCancel, &QPushButton::clicked, this, [this] { done(2); });
}

TfmErrorMsg::~TfmErrorMsg()
{
    delete ui;
}

bool TfmErrorMsg::SetErrorMsg(CLCmdError* pError)
{
    m_pError = pError;
    return UpdateDlgData(false);
}

bool TfmErrorMsg::UpdateDlgData(bool bSave)
{
    if (!m_pError)
        return false;
    if (!bSave) {
        ui->edtCode->setText(FromLatin1(FieldText(m_pError->szCode)));
        ui->memDetail->setPlainText(MemoFromText(FieldText(m_pError->szText).c_str()));
        return true;
    }
    if (ui->edtCode->text().isEmpty()) {
        MsgBox::Error(this, QStringLiteral("Invalid Command Error Code."));
        return false;
    }
    if (MemoText(ui->memDetail).isEmpty()) {
        MsgBox::Error(this, QStringLiteral("Invalid Command Error Message."));
        return false;
    }
    CopyField(m_pError->szCode, ToLatin1(ui->edtCode->text()), CLFormat::kDialogErrorCode);
    CopyField(m_pError->szText, TextFromMemo(MemoText(ui->memDetail), CLFormat::kDialogErrorText));
    return true;
}

void TfmErrorMsg::SetReadOnly(bool bReadOnly)
{
    ui->edtCode->setReadOnly(bReadOnly);
    ui->memDetail->setReadOnly(bReadOnly);
    ui->btnOK->setVisible(!bReadOnly);
    ui->btnCancel->setText(bReadOnly ? QStringLiteral("&Close") : QStringLiteral("&Cancel"));
}

void TfmErrorMsg::btnOKClick()
{
    if (UpdateDlgData(true))
        done(1);
}
