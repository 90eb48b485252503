#include "CxList.h"

#include "CxAssert.h"

#include <cstdlib>
#include <new>

CxList::~CxList()
{
    RemoveAll(false);
}

void* CxList::GetFirst()
{
    m_pCurr = m_pHead;
    m_nFindIndex = 0;
    return m_pCurr ? m_pCurr->pData : nullptr;
}

void* CxList::GetLast()
{
    m_pCurr = m_pTail;
    m_nFindIndex = m_nCount ? m_nCount - 1 : 0;
    return m_pCurr ? m_pCurr->pData : nullptr;
}

void* CxList::GetNext()
{
    if (m_nFindIndex + 1 >= m_nCount)
        return nullptr;
    return GetAt(m_nFindIndex + 1);
}

void* CxList::GetPrev()
{
    if (m_nFindIndex == 0)
        return nullptr;
    return GetAt(m_nFindIndex - 1);
}

// Moves the cursor to position i (< count), one node per step. A cursor left
// empty by removing the last node restarts from the nearer end.
CxListNode* CxList::WalkTo(uint32_t i)
{
    if (!m_pCurr) {
        if (i < m_nCount / 2) {
            m_pCurr = m_pHead;
            m_nFindIndex = 0;
        } else {
            m_pCurr = m_pTail;
            m_nFindIndex = m_nCount - 1;
        }
    }
    CX_ASSERT(m_pCurr->nIndex == m_nFindIndex);
    while (m_nFindIndex < i) {
        m_pCurr = m_pCurr->pNext;
        ++m_nFindIndex;
    }
    while (m_nFindIndex > i) {
        m_pCurr = m_pCurr->pPrev;
        --m_nFindIndex;
    }
    return m_pCurr;
}

void* CxList::GetAt(uint32_t i)
{
    if (i >= m_nCount)
        return nullptr;
    return WalkTo(i)->pData;
}

bool CxList::AddTail(void* pItem)
{
    if (!pItem)
        return false;
    CxListNode* pNode = new (std::nothrow) CxListNode{pItem, m_nCount, m_pTail, nullptr};
    CX_ASSERT(pNode != nullptr);
    if (!m_pTail) {
        m_pHead = m_pTail = m_pCurr = pNode;
        m_nFindIndex = 0;
    } else {
        m_pTail->pNext = pNode;
        m_pTail = m_pCurr = pNode;
        m_nFindIndex = pNode->nIndex;
    }
    ++m_nCount;
    return true;
}

bool CxList::InsertAt(uint32_t i, void* pItem)
{
    if (i > m_nCount)
        return false;
    if (i == m_nCount)
        return AddTail(pItem);
    CxListNode* pAt = WalkTo(i);
    CxListNode* pNode = new (std::nothrow) CxListNode{pItem, i, pAt->pPrev, pAt};
    CX_ASSERT(pNode != nullptr);
    if (pAt->pPrev)
        pAt->pPrev->pNext = pNode;
    else
        m_pHead = pNode;
    pAt->pPrev = pNode;
    for (CxListNode* p = pAt; p; p = p->pNext)
        ++p->nIndex;
    m_pCurr = pNode;
    m_nFindIndex = i;
    ++m_nCount;
    return true;
}

bool CxList::Remove(void* pItem, bool bRelease)
{
    CxListNode* pNode = FindNode(pItem);
    if (!pNode)
        return false;
    if (pNode->pPrev)
        pNode->pPrev->pNext = pNode->pNext;
    else
        m_pHead = pNode->pNext;
    if (pNode->pNext)
        pNode->pNext->pPrev = pNode->pPrev;
    else
        m_pTail = pNode->pPrev;
    for (CxListNode* p = pNode->pNext; p; p = p->pNext)
        --p->nIndex;
    m_pCurr = pNode->pNext;
    m_nFindIndex = pNode->nIndex;
    if (bRelease)
        std::free(pNode->pData);
    --m_nCount;
    delete pNode;
    return true;
}

void CxList::RemoveAll(bool bRelease)
{
    CxListNode* p = m_pHead;
    while (p) {
        CxListNode* pNext = p->pNext;
        if (bRelease && p->pData)
            std::free(p->pData);
        delete p;
        p = pNext;
    }
    m_pHead = m_pTail = m_pCurr = nullptr;
    m_nCount = 0;
    m_nFindIndex = 0;
}

CxListNode* CxList::FindNode(void* pItem) const
{
    for (CxListNode* p = m_pHead; p; p = p->pNext)
        if (p->pData == pItem)
            return p;
    return nullptr;
}
