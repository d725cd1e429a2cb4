// A tree of values: each node holds one value and links to its parent,
// children and siblings; nodes are the handles of their values. Nodes come
// from the framework's heap, so the leak check sees them.
#pragma once

#include "core/WuiBase.h"

#include <new>

namespace WUI {

template <class T>
class CSTree {
public:
    struct Node {
        T data;
        Node* parent;  // null for a top-level node
        Node* firstChild;
        Node* lastChild;
        Node* prevSibling;
        Node* nextSibling;
    };

    CSTree() = default;
    CSTree(const CSTree&) = delete;
    CSTree& operator=(const CSTree&) = delete;
    ~CSTree() { DeleteAllItems(); }

    // A new node holding data, the last child of parent (null: the last
    // top-level node); null (the tree unchanged) when no memory is left.
    Node* AppendChild(Node* parent, const T& data)
    {
        void* block = MemAlloc(sizeof(Node));
        if (!block) return nullptr;
        Node* prev = parent ? parent->lastChild : m_last;
        Node* node = new (block) Node{data, parent, nullptr, nullptr, prev, nullptr};
        if (prev) prev->nextSibling = node;
        else if (parent) parent->firstChild = node;
        else m_first = node;
        if (parent) parent->lastChild = node;
        else m_last = node;
        ++m_count;
        return node;
    }

    // Frees every node, children before their parent, without recursion
    // (a tree may be deep).
    void DeleteAllItems()
    {
        Node* node = m_first;
        while (node) {
            if (node->firstChild) {
                node = node->firstChild;
                continue;
            }
            Node* parent = node->parent;
            Node* next = node->nextSibling;
            if (parent) parent->firstChild = next;
            node->~Node();
            MemFree(node);
            node = next ? next : parent;
        }
        m_first = m_last = nullptr;
        m_count = 0;
    }

    // The first top-level node; null for an empty tree.
    Node* GetRootItem() const { return m_first; }
    int GetCount() const { return m_count; }

private:
    Node* m_first = nullptr;
    Node* m_last = nullptr;
    int m_count = 0;
};

}  // namespace WUI
