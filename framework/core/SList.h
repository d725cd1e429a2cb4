// Doubly linked list with nodes taken from blocks of ten and recycled
// through a free list; an emptied list gives its blocks back.
#pragma once

#include "core/SPlex.h"

#include <new>

namespace WUI {

template <class T>
class SList {
public:
    struct Node {
        Node* pNext;
        Node* pPrev;
        T data;
    };

    SList() = default;
    SList(const SList&) = delete;
    SList& operator=(const SList&) = delete;
    ~SList() { RemoveAll(); }

    // The new node, or null (list unchanged) when no node could be had.
    Node* AddTail(const T& element)
    {
        Node* node = NewNode(m_pNodeTail, nullptr, element);
        if (!node) return nullptr;
        if (m_pNodeTail) m_pNodeTail->pNext = node;
        else m_pNodeHead = node;
        m_pNodeTail = node;
        return node;
    }
    Node* AddHead(const T& element)
    {
        Node* node = NewNode(nullptr, m_pNodeHead, element);
        if (!node) return nullptr;
        if (m_pNodeHead) m_pNodeHead->pPrev = node;
        else m_pNodeTail = node;
        m_pNodeHead = node;
        return node;
    }
    // Unlinks and frees `node`, which must belong to this list.
    void RemoveAt(Node* node)
    {
        if (node->pPrev) node->pPrev->pNext = node->pNext;
        else m_pNodeHead = node->pNext;
        if (node->pNext) node->pNext->pPrev = node->pPrev;
        else m_pNodeTail = node->pPrev;
        FreeNode(node);
    }
    // The first node holding `element` at or after `start` (head when null).
    Node* Find(const T& element, Node* start = nullptr) const
    {
        for (Node* n = start ? start : m_pNodeHead; n; n = n->pNext)
            if (n->data == element) return n;
        return nullptr;
    }
    // Destroys every element and frees every block.
    void RemoveAll()
    {
        Node* node = m_pNodeHead;
        while (node) {
            Node* next = node->pNext; // read before the node is destroyed
            node->data.~T();
            node = next;
        }
        FreeBlocks();
    }

    Node* GetHead() const { return m_pNodeHead; }
    Node* GetTail() const { return m_pNodeTail; }
    int GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    bool HasBlocks() const { return m_pBlocks != nullptr; }

private:
    Node* NewNode(Node* prev, Node* next, const T& element)
    {
        if (!m_pNodeFree) {
            SPlex* block = SPlex::Create(m_pBlocks, m_nBlockSize, sizeof(Node));
            if (!block) return nullptr;
            // Threaded last to first, so nodes are handed out in address order.
            Node* nodes = static_cast<Node*>(block->data());
            for (int i = m_nBlockSize - 1; i >= 0; --i) {
                nodes[i].pNext = m_pNodeFree;
                m_pNodeFree = nodes + i;
            }
        }
        Node* node = m_pNodeFree;
        m_pNodeFree = node->pNext;
        node->pPrev = prev;
        node->pNext = next;
        new (&node->data) T(element);
        ++m_nCount;
        return node;
    }
    void FreeNode(Node* node)
    {
        node->data.~T();
        node->pNext = m_pNodeFree;
        m_pNodeFree = node;
        if (--m_nCount == 0) FreeBlocks(); // every node is free: no walk needed
    }
    void FreeBlocks()
    {
        if (m_pBlocks) m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
        m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
        m_nCount = 0;
    }

    Node* m_pNodeHead = nullptr;
    Node* m_pNodeTail = nullptr;
    int m_nCount = 0;
    SPlex* m_pBlocks = nullptr;
    Node* m_pNodeFree = nullptr;
    int m_nBlockSize = 10;
};

} // namespace WUI
