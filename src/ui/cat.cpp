#include "cat.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "FolderLock.h"
#include "Latin1.h"
#include "MsgBox.h"
#include "ui_cat.h"

#include <QHeaderView>

#include <cstdlib>

namespace {

constexpr int kDataRole = Qt::UserRole;

CLCategory* CategoryOf(const QTreeWidgetItem* row)
{
    return reinterpret_cast<CLCategory*>(row->data(0, kDataRole).value<quintptr>());
}

} // namespace

TfmCat::TfmCat(CLCmdManager* pCmdManager, QWidget* parent)
    : QDialog(parent), ui(new Ui::TfmCat), m_pCmdManager(pCmdManager)
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->lvCat->header()->resizeSection(0, 50);
    ui->lvCat->header()->resizeSection(1, 200);
    ui->lvCat->header()->resizeSection(2, 80);
    ui->lvCat->header()->setStretchLastSection(false);
    connect(ui->lvCat, &QTreeWidget::itemSelectionChanged, this, [this] { lvCatChange(); });
    connect(ui->btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
    connect(ui->btnDel, &QPushButton::clicked, this, [this] { btnDelClick(); });
    connect(ui->btnUpdate, &QPushButton::clicked, this, [this] { btnUpdateClick(); });
    connect(ui->btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
}

TfmCat::~TfmCat()
{
    delete ui;
}

bool TfmCat::UpdateCatData(bool bSave)
{
    if (!bSave) {
        ListCategories();
        m_bChanged = false;
        return true;
    }
    // Not written is said, never passed over: the changes stay in memory and
    // Exit offers them again.
    if (!m_bChanged)
        return true;
    bool bSaved = false;
    {
        FolderWork work(this);
        if (!work.IsHeld())
            return true;
        bSaved = m_pCmdManager->SaveCatList();
    }
    if (!bSaved)
        MsgBox::Error(this, FromLatin1(m_pCmdManager->GetSaveError()));
    return true;
}

void TfmCat::ListCategories()
{
    m_bListing = true;
    ui->lvCat->setUpdatesEnabled(false);
    ui->lvCat->clear();
    QList<QTreeWidgetItem*> rows;
    for (CLCategory* p = m_pCmdManager->GetFirstCat(); p; p = m_pCmdManager->GetNextCat()) {
        auto* row = new QTreeWidgetItem;
        row->setText(0, QString::number(static_cast<int32_t>(p->dwID)));
        row->setText(1, FromLatin1(FieldText(p->szName)));
        row->setText(2, FromLatin1(FieldText(p->szFileName)));
        row->setData(0, kDataRole, QVariant::fromValue(reinterpret_cast<quintptr>(p)));
        rows.append(row);
    }
    ui->lvCat->addTopLevelItems(rows);
    ui->lvCat->setUpdatesEnabled(true);
    m_bListing = false;
    if (!rows.isEmpty())
        ui->lvCat->setCurrentItem(rows.first());
}

CLCategory* TfmCat::SelectedCategory() const
{
    QList<QTreeWidgetItem*> selected = ui->lvCat->selectedItems();
    return selected.isEmpty() ? nullptr : CategoryOf(selected.first());
}

void TfmCat::lvCatChange()
{
    if (m_bListing)
        return;
    CLCategory* pCat = SelectedCategory();
    ui->btnDel->setEnabled(pCat != nullptr);
    ui->btnUpdate->setEnabled(pCat != nullptr);
    if (!pCat)
        return;
    ui->edtID->setText(QString::number(static_cast<int32_t>(pCat->dwID)));
    ui->edtName->setText(FromLatin1(FieldText(pCat->szName)));
    ui->edtFile->setText(FromLatin1(FieldText(pCat->szFileName)));
}

bool TfmCat::ValidateCategory(const CLCategory* pCat, bool bCheckID)
{
    const char* szFailure = nullptr;
    const CLCatFault fault = CLCmdManager::CheckCategory(*pCat);
    if (bCheckID && m_pCmdManager->FindCat(pCat->dwID))
        szFailure = "Duplicate command category found. Please try another one.";
    else if (fault == CLCatFault::ID)
        szFailure = "Invalid command category ID.";
    else if (fault == CLCatFault::Name)
        szFailure = "Invalid command category name.";
    else if (pCat->szFileName[0] == 0)
        szFailure = "Invalid command category file name.";
    if (!szFailure)
        return true;
    MsgBox::Error(this, QString::fromLatin1(szFailure));
    return false;
}

// The name and file name edits, cut to their fields.
void TfmCat::ReadEdits(CLCategory* pCat) const
{
    CopyField(pCat->szName, ToLatin1(ui->edtName->text()), CLFormat::kCatName);
    CopyField(pCat->szFileName, ToLatin1(ui->edtFile->text()), CLFormat::kCatFileName);
}

void TfmCat::btnAddClick()
{
    CLCategory cat{};
    // Read like atol: leading blanks, an optional sign, digits up to the first other character.
    cat.dwID = static_cast<uint32_t>(std::atol(ToLatin1(ui->edtID->text()).c_str()));
    ReadEdits(&cat);
    if (!ValidateCategory(&cat, true))
        return;
    m_pCmdManager->AddCat(&cat);
    ListCategories();
    m_bChanged = true;
}

void TfmCat::btnDelClick()
{
    CLCategory* pCat = SelectedCategory();
    if (!pCat)
        return;
    m_pCmdManager->DeleteCat(pCat);
    ListCategories();
    m_bChanged = true;
}

void TfmCat::btnUpdateClick()
{
    CLCategory* pCat = SelectedCategory();
    if (!pCat)
        return;
    CLCategory copy = *pCat;
    ReadEdits(&copy);
    if (!ValidateCategory(&copy, false))
        return;
    *pCat = copy;
    m_pCmdManager->MarkCatListChanged();
    QTreeWidgetItem* row = ui->lvCat->selectedItems().first();
    row->setText(1, FromLatin1(FieldText(pCat->szName)));
    row->setText(2, FromLatin1(FieldText(pCat->szFileName)));
    m_bChanged = true;
}

void TfmCat::btnOKClick()
{
    UpdateCatData(true);
    done(1);
}
