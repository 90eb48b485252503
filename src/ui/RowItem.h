// A row of the parameter or error-message list. It refers to one entry: one
// inside the shown record's array, or one of its own that it owns (a row added
// through a dialog, until the rows are stored into the record).
#ifndef ROWITEM_H
#define ROWITEM_H

#include <QTreeWidgetItem>

#include <memory>

template <class T> class RowItem : public QTreeWidgetItem
{
public:
    explicit RowItem(T* pEntry) : m_pEntry(pEntry) {}
    explicit RowItem(std::unique_ptr<T> owned) : m_pEntry(owned.get()), m_pOwned(std::move(owned))
    {
    }
    T* Entry() const { return m_pEntry; }
    // True while the row owns its entry (added through a dialog, not yet saved).
    bool OwnsEntry() const { return m_pOwned != nullptr; }
    // Refers to an entry inside the record from now on.
    void Rebind(T* pEntry)
    {
        m_pEntry = pEntry;
        m_pOwned.reset();
    }

private:
    T* m_pEntry;
    std::unique_ptr<T> m_pOwned;
};

#endif
