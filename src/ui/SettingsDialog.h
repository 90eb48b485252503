// TfmSettings: the settings a user changes without editing tarvexa.ini: the
// run mode, the web site that "CL Command on the Web" opens (http or https
// only) and the pages' text zoom. OK is offered only for values that are
// valid; Apply puts them into the settings and the file.
#ifndef SETTINGSDIALOG_H
#define SETTINGSDIALOG_H

#include <QDialog>

namespace Ui {
class TfmSettings;
}

class TfmSettings : public QDialog
{
    Q_OBJECT
public:
    explicit TfmSettings(QWidget* parent = nullptr);
    ~TfmSettings() override;

    // The values shown are valid (the web site is empty or an http/https address).
    bool IsValid() const;
    // The run mode chosen.
    int RunMode() const;
    // Stores the values: AppSettings, and WebSite in the settings file.
    void Apply() const;

private:
    void Check();

    Ui::TfmSettings* ui;
};

#endif
