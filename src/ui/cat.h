// TfmCat: lists, adds, deletes and changes the command categories, working on
// the manager's category list in place. OK writes the category file when
// something changed; IsChanged tells the caller to refill its drop-down.
#ifndef CAT_H
#define CAT_H

#include "CLRecords.h"

#include <QDialog>

class CLCmdManager;

namespace Ui {
class TfmCat;
}

class TfmCat : public QDialog
{
    Q_OBJECT
public:
    explicit TfmCat(CLCmdManager* pCmdManager, QWidget* parent = nullptr);
    ~TfmCat() override;

    // bSave false: list the categories and clear the change flag; true:
    // write the category file when something changed.
    bool UpdateCatData(bool bSave);
    bool IsChanged() const { return m_bChanged; }
    void ListCategories();
    // Reports the first failure in a message box; true when pCat passes.
    bool ValidateCategory(const CLCategory* pCat, bool bCheckID);

    void btnAddClick();
    void btnDelClick();
    void btnUpdateClick();
    void btnOKClick();
    void lvCatChange();

private:
    CLCategory* SelectedCategory() const;
    void ReadEdits(CLCategory* pCat) const;

    Ui::TfmCat* ui;
    CLCmdManager* m_pCmdManager;
    bool m_bListing = false;
    bool m_bChanged = false;
};

#endif
