// CxList: a doubly linked list of untyped item pointers with one built-in
// cursor. Every node knows its position, and the list remembers the cursor
// node with its position, so walks and positional access near the cursor cost
// one step per position moved.
//
// The list owns its nodes, never its items: removing a node frees the item only
// when the caller asks for it (with free()). Items are compared by pointer.
// Not thread-safe; every read moves the single cursor.
#ifndef CXLIST_H
#define CXLIST_H

#include <cstdint>

struct CxListNode
{
    void* pData;
    uint32_t nIndex;
    CxListNode* pPrev;
    CxListNode* pNext;
};

class CxList
{
public:
    CxList() = default;
    ~CxList();

    CxList(const CxList&) = delete;
    CxList& operator=(const CxList&) = delete;

    // Cursor to the first / last node; its item, or null when empty.
    void* GetFirst();
    void* GetLast();
    // The item after / before the cursor, which moves there; null at the end
    // (the cursor then stays).
    void* GetNext();
    void* GetPrev();
    // The item at position i, which becomes the cursor; null if i is out of range.
    void* GetAt(uint32_t i);

    // Appends a node; false for a null item. The new node becomes the cursor.
    bool AddTail(void* pItem);
    // Inserts before position i (appends when i equals the count); false when
    // i is beyond the count. The new node becomes the cursor.
    bool InsertAt(uint32_t i, void* pItem);
    // Removes the node holding pItem; the node after it becomes the cursor.
    bool Remove(void* pItem, bool bRelease);
    void RemoveAll(bool bRelease);

    uint32_t GetCount() const { return m_nCount; }
    CxListNode* FindNode(void* pItem) const;

private:
    CxListNode* WalkTo(uint32_t i);

    CxListNode* m_pHead = nullptr;
    CxListNode* m_pTail = nullptr;
    CxListNode* m_pCurr = nullptr;
    uint32_t m_nCount = 0;
    uint32_t m_nFindIndex = 0;
};

#endif
