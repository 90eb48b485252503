#include "param.h"

#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "UpperCaseValidator.h"
#include "ui_param.h"

TfmParam::TfmParam(QWidget* parent) : QDialog(parent), ui(new Ui::TfmParam)
{
    ui->setupUi(this);
    ui->edtName->setValidator(new UpperCaseValidator(ui->edtName));
    connect(ui->btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(ui->btnCancel, &QPushButton::clicked, this, [this] { done(2); });
}

TfmParam::~TfmParam()
{
    delete ui;
}

bool TfmParam::SetParam(CLCmdParam* pParam)
{
    m_pParam = pParam;
    return UpdateDlgData(false);
}

bool TfmParam::UpdateDlgData(bool bSave)
{
    if (!m_pParam)
        return false;
    if (!bSave) {
        ui->edtName->setText(FromLatin1(FieldText(m_pParam->szKeyword)));
        ui->edtDesc->setText(FromLatin1(FieldText(m_pParam->szDesc)));
        ui->memChoice->setPlainText(MemoFromText(FieldText(m_pParam->szChoices).c_str()));
        ui->edtNotes->setText(FromLatin1(FieldText(m_pParam->szNote)));
        return true;
    }
    if (ui->edtName->text().isEmpty()) {
        MsgBox::Error(this, QStringLiteral("Invalid Parameter Keyword."));
        return false;
    }
    CopyField(m_pParam->szKeyword, ToLatin1(ui->edtName->text()), CLFormat::kKeyword);
    CopyField(m_pParam->szDesc, ToLatin1(ui->edtDesc->text()), CLFormat::kParamDesc);
    CopyField(m_pParam->szChoices, TextFromMemo(MemoText(ui->memChoice), CLFormat::kChoices));
    CopyField(m_pParam->szNote, ToLatin1(ui->edtNotes->text()), CLFormat::kNote);
    return true;
}

void TfmParam::SetReadOnly(bool bReadOnly)
{
    for (QLineEdit* edit : {ui->edtName, ui->edtDesc, ui->edtNotes})
        edit->setReadOnly(bReadOnly);
    ui->memChoice->setReadOnly(bReadOnly);
    // A parameter shown for reading: Close only.
    ui->btnOK->setVisible(!bReadOnly);
    ui->btnCancel->setText(bReadOnly ? QStringLiteral("&Close") : QStringLiteral("&Cancel"));
}

void TfmParam::btnOKClick()
{
    if (UpdateDlgData(true))
        done(1);
}
