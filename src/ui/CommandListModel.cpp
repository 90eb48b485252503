#include "CommandListModel.h"

#include "Latin1.h"

#include <cstring>

void CommandListModel::SetItems(std::vector<Item> items)
{
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

void CommandListModel::Clear()
{
    SetItems({});
}

void CommandListModel::RemoveAt(int i)
{
    if (i < 0 || i >= Count())
        return;
    beginRemoveRows(QModelIndex(), i, i);
    m_items.erase(m_items.begin() + i);
    endRemoveRows();
}

void CommandListModel::Insert(int i, Item item)
{
    if (i < 0 || i > Count())
        i = Count();
    beginInsertRows(QModelIndex(), i, i);
    m_items.insert(m_items.begin() + i, std::move(item));
    endInsertRows();
}

int CommandListModel::RowOf(const CLCmdIndex* pIdx) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].pIdx == pIdx)
            return static_cast<int>(i);
    return -1;
}

int CommandListModel::FindNotLess(const char* szName) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (std::strcmp(m_items[i].text.c_str(), szName) >= 0)
            return static_cast<int>(i);
    return -1;
}

int CommandListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant CommandListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return FromLatin1(At(index.row()).text);
    return QVariant();
}
