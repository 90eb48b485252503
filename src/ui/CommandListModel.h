// The items of the command list: each item's text (the command name when the
// list was filled) and its index entry. A plain vector behind a list model,
// so a list of 100,000 commands fills and searches without a widget per item.
#ifndef COMMANDLISTMODEL_H
#define COMMANDLISTMODEL_H

#include "CLRecords.h"

#include <QAbstractListModel>

#include <functional>
#include <string>
#include <vector>

class CommandListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    struct Item
    {
        std::string text;
        CLCmdIndex* pIdx;
        bool bDocumented = true; // has a record (dimmed when not)
    };

    // Replaces every item at once.
    void SetItems(std::vector<Item> items);
    void Clear();
    // Removes the item at row i.
    void RemoveAt(int i);
    // Removes every item for which remove says so.
    void RemoveIf(const std::function<bool(const Item&)>& remove);
    // Sets each item's mark from documented(its text).
    void MarkDocumented(const std::function<bool(const std::string&)>& documented);
    void Insert(int i, Item item);
    int Count() const { return static_cast<int>(m_items.size()); }
    const Item& At(int i) const { return m_items[static_cast<size_t>(i)]; }
    // The row of the item that carries pIdx, or -1.
    int RowOf(const CLCmdIndex* pIdx) const;
    // The first row whose text is not less than szName, comparing bytes as
    // unsigned characters; -1 when there is none.
    int FindNotLess(const char* szName) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<Item> m_items;
};

#endif
