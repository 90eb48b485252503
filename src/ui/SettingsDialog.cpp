#include "SettingsDialog.h"

#include "AppSettings.h"
#include "apputil.h"
#include "main.h"
#include "ui_SettingsDialog.h"

#include <QPushButton>

TfmSettings::TfmSettings(QWidget* parent) : QDialog(parent), ui(new Ui::TfmSettings)
{
    ui->setupUi(this);
    const std::pair<int, const char*> modes[] = {
        {kRunModeRead, "Read: records from clcmd.dat, nothing can be changed"},
        {kRunModeEdit, "Author: records from data/, editing"},
        {0, "Records from clcmd.dat, editing"}};
    for (const auto& [mode, text] : modes)
        ui->cbRunMode->addItem(QStringLiteral("%1 - %2").arg(mode).arg(QString::fromLatin1(text)),
                               mode);
    int at = ui->cbRunMode->findData(AppSettings.RunMode);
    if (at < 0) { // another number: as the file holds it
        ui->cbRunMode->addItem(
            QStringLiteral("%1 - Records from clcmd.dat, editing").arg(AppSettings.RunMode),
            AppSettings.RunMode);
        at = ui->cbRunMode->count() - 1;
    }
    ui->cbRunMode->setCurrentIndex(at);
    ui->edtWebSite->setText(QString::fromStdString(ReloadWebSite()));
    ui->spnZoom->setValue(AppSettings.TextZoom);
    connect(ui->edtWebSite, &QLineEdit::textChanged, this, [this] { Check(); });
    connect(ui->btnOK, &QPushButton::clicked, this, [this] {
        if (IsValid())
            accept();
    });
    connect(ui->btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    Check();
}

TfmSettings::~TfmSettings()
{
    delete ui;
}

bool TfmSettings::IsValid() const
{
    const QString site = ui->edtWebSite->text().trimmed();
    return site.isEmpty() || TfmMain::IsWebSite(site);
}

int TfmSettings::RunMode() const
{
    return ui->cbRunMode->currentData().toInt();
}

void TfmSettings::Check()
{
    const bool ok = IsValid();
    ui->lblWebHint->setText(ok ? QString()
                               : QStringLiteral("Enter an http or https address such as "
                                                "https://www.example.com, or nothing."));
    ui->lblWebHint->setVisible(!ok); // no empty gap while the address is fine
    ui->btnOK->setEnabled(ok);
}

void TfmSettings::Apply() const
{
    AppSettings.RunMode = RunMode();
    AppSettings.TextZoom = ui->spnZoom->value();
    SaveWebSite(ui->edtWebSite->text().trimmed().toStdString());
}
