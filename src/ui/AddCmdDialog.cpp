#include "AddCmdDialog.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "UpperCaseValidator.h"

#include <QLineEdit>

AddCmdDialog::AddCmdDialog(CLCmdManager* pManager, const QString& category, bool bAll,
                           QWidget* parent)
    : QInputDialog(parent), m_pManager(pManager)
{
    setObjectName(QStringLiteral("dlgAddCmd"));
    setWindowTitle(QStringLiteral("Add Command"));
    setInputMode(QInputDialog::TextInput);
    // Under "All" the list does not say where a new command goes: the prompt does.
    setLabelText(bAll
                     ? QStringLiteral("The command goes into the category \"%1\".\n\nCommand Name:")
                           .arg(category)
                     : QStringLiteral("Command Name:"));
    if (auto* edit = findChild<QLineEdit*>()) {
        edit->setMaxLength(static_cast<int>(CLFormat::kCmdName));
        edit->setValidator(new UpperCaseValidator(edit));
        edit->setAccessibleName(QStringLiteral("Command Name:"));
    }
}

void AddCmdDialog::done(int result)
{
    if (result == QDialog::Accepted) {
        std::string name = ToLatin1(textValue());
        if (!CLCmdManager::IsCLName(name.c_str())) {
            MsgBox::Error(this, QStringLiteral("Invalid CL Command Name."));
            return;
        }
        if (m_pManager->FindCmdIdx(name.c_str())) {
            MsgBox::Error(this, FromLatin1(CLCmdManager::DuplicateCmdMessage(name.c_str())));
            return;
        }
    }
    QInputDialog::done(result);
}
