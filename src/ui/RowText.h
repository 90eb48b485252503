// The texts of a parameter row and an error-message row.
#ifndef ROWTEXT_H
#define ROWTEXT_H

#include "CLRecords.h"

class QTreeWidgetItem;

// Caption keyword; cells description, choices and note.
void ShowParamRow(QTreeWidgetItem* row, const CLCmdParam& param);
// Caption code; cell text.
void ShowErrorRow(QTreeWidgetItem* row, const CLCmdError& error);

#endif
