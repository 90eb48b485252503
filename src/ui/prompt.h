// TfmPrompt: the prompter. One row per parameter of a command: its
// description (wrapped), keyword and value field offering the special values
// of its choices, with the default and the allowed values beside it; a
// qualified name gets one field per part (object, then library), as the 5250
// prompter shows them. The command string is built live below with the
// problems found; a field with a problem is marked and its message shown
// under it. Copy puts the string on the clipboard.
//
// A command string typed or pasted into the string field fills the form;
// one naming another command prompts that command (through the record
// finder). Parameters the record does not list are kept in the string and
// shown as problems, never dropped.
#ifndef PROMPT_H
#define PROMPT_H

#include "CLPrompt.h"

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;

namespace Ui {
class TfmPrompt;
}

class TfmPrompt : public QDialog
{
    Q_OBJECT
public:
    // The record of a command by name, or null when the reference lacks it.
    using RecordFinder = std::function<const CLCmdRecord*(const std::string& name)>;

    // The prompter for a command's record (name, title and parameters).
    TfmPrompt(const CLCmdRecord& rec, QWidget* parent = nullptr, RecordFinder finder = {});
    ~TfmPrompt() override;

    // The command string shown, and the problems listed.
    QString CommandString() const;
    QStringList Problems() const;
    // Puts a command into the string field, as typing it does.
    void SetCommandString(const QString& text);
    // The value field of a keyword (part 0; a qualified name's library is
    // part 1, a job's user part 1 and number part 2), or null.
    QComboBox* ValueField(const QString& keyword, int part = 0) const;
    // What is shown beside a field (its default and allowed values), and
    // the problem shown under it ("" when the field is not marked).
    QString Hint(const QString& keyword) const;
    QString FieldProblem(const QString& keyword) const;
    bool IsMarked(const QString& keyword) const;
    // The parameters kept from a command string that the record does not list.
    QString Unlisted() const;

    void btnCopyClick();

private:
    struct Row
    {
        std::vector<QComboBox*> parts; // one, or one per qualifier
        QLabel* hint = nullptr;
        QLabel* problem = nullptr;
    };

    // The rows for m_prompt's parameters, replacing any there are.
    void BuildForm();
    const Row* RowOf(const QString& keyword) const;
    std::string FieldValue(const Row& row) const;
    void SetFieldValue(const Row& row, const std::string& value);
    // The form's values into the command string; the command string into
    // the form. Each leaves the side it reads from as the user typed it.
    void UpdateString();
    void UpdateForm();
    // Prompts another command; false with the reason when it cannot be.
    bool Reprompt(const std::string& name, std::string* pWhy);
    void ShowProblems(const std::vector<CLPromptProblem>& problems);

    Ui::TfmPrompt* ui;
    CLPrompt m_prompt;
    RecordFinder m_finder;
    std::vector<Row> m_rows; // one per parameter, in the record's order
    std::vector<std::pair<std::string, std::string>> m_unlisted;
    QLabel* m_lblUnlisted = nullptr;
    bool m_bUpdating = false;
};

#endif
