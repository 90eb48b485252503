// TfmPrompt: the prompter. One row per parameter of a command (its
// description, keyword and a value field offering the special values of its
// choices; required ones marked), the command string built live below with
// the problems found, and Copy for the clipboard. A command string typed or
// pasted into the string field fills the form.
#ifndef PROMPT_H
#define PROMPT_H

#include "CLPrompt.h"

#include <QDialog>

#include <vector>

class QComboBox;

namespace Ui {
class TfmPrompt;
}

class TfmPrompt : public QDialog
{
    Q_OBJECT
public:
    // The prompter for a command's record (name, title and parameters).
    TfmPrompt(const CLCmdRecord& rec, QWidget* parent = nullptr);
    ~TfmPrompt() override;

    // The command string shown, and the problems listed.
    QString CommandString() const;
    QStringList Problems() const;
    // The value field of a keyword, or null.
    QComboBox* ValueField(const QString& keyword) const;

    void btnCopyClick();

private:
    // The form's values into the command string; the command string into
    // the form. Each leaves the side it reads from as the user typed it.
    void UpdateString();
    void UpdateForm();
    void ShowProblems(const std::vector<CLPromptProblem>& problems);

    Ui::TfmPrompt* ui;
    CLPrompt m_prompt;
    std::vector<QComboBox*> m_fields; // one per parameter, in the record's order
    bool m_bUpdating = false;
};

#endif
