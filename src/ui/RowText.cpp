#include "RowText.h"

#include "CLRecordUtil.h"
#include "Latin1.h"

#include <QTreeWidgetItem>

namespace {

// A stored text in one cell: line breaks shown as blanks, and the whole text
// as the cell's tip, since a narrow column cuts it.
void SetCell(QTreeWidgetItem* row, int column, const std::string& text)
{
    QString full = FromLatin1(text);
    row->setText(column, QString(full).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    row->setToolTip(column, full.replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

} // namespace

void ShowParamRow(QTreeWidgetItem* row, const CLCmdParam& param)
{
    SetCell(row, 0, FieldText(param.szKeyword));
    SetCell(row, 1, FieldText(param.szDesc));
    SetCell(row, 2, FieldText(param.szChoices));
    SetCell(row, 3, FieldText(param.szNote));
}

void ShowErrorRow(QTreeWidgetItem* row, const CLCmdError& error)
{
    SetCell(row, 0, FieldText(error.szCode));
    SetCell(row, 1, FieldText(error.szText));
}
