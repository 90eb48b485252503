#include "CommandListModel.h"

#include "Latin1.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
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

void CommandListModel::RemoveIf(const std::function<bool(const Item&)>& remove)
{
    beginResetModel();
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(), remove), m_items.end());
    endResetModel();
}

void CommandListModel::MarkDocumented(const std::function<bool(const std::string&)>& documented)
{
    for (Item& item : m_items)
        item.bDocumented = documented(item.text);
    if (!m_items.empty())
        emit dataChanged(index(0), index(Count() - 1));
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
    const Item& item = At(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return FromLatin1(item.text);
    if (item.bDocumented)
        return QVariant();
    // A command the reference lists but does not document yet: dimmed, and
    // said so to a screen reader and in a tooltip.
    if (role == Qt::ForegroundRole) {
        // Halfway between text and background: dimmed on any palette (a
        // palette's own disabled colour may equal its text colour), yet readable.
        const QPalette palette = QApplication::palette();
        const QColor text = palette.color(QPalette::Text), base = palette.color(QPalette::Base);
        return QColor((text.red() + base.red()) / 2, (text.green() + base.green()) / 2,
                      (text.blue() + base.blue()) / 2);
    }
    if (role == Qt::AccessibleDescriptionRole || role == Qt::ToolTipRole)
        return QStringLiteral("No record yet: only the name and title are known.");
    return QVariant();
}
