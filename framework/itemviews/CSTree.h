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

    // A new node holding data among parent's children (null parent: the
    // top level), right after the child after, or first when after is null.
    // after must be a child of parent. Null (the tree unchanged) when no
    // memory is left.
    Node* InsertAfter(Node* parent, Node* after, const T& data)
    {
        Node*& first = parent ? parent->firstChild : m_first;
        Node*& last = parent ? parent->lastChild : m_last;
        void* block = MemAlloc(sizeof(Node));
        if (!block) return nullptr;
        Node* next = after ? after->nextSibling : first;
        Node* node = new (block) Node{data, parent, nullptr, nullptr, after, next};
        if (after) after->nextSibling = node;
        else first = node;
        if (next) next->prevSibling = node;
        else last = node;
        ++m_count;
        return node;
    }

    // Unlinks the node and frees it with its whole branch; nothing for null.
    void DeleteItem(Node* node)
    {
        if (!node) return;
        Node*& first = node->parent ? node->parent->firstChild : m_first;
        Node*& last = node->parent ? node->parent->lastChild : m_last;
        if (node->prevSibling) node->prevSibling->nextSibling = node->nextSibling;
        else first = node->nextSibling;
        if (node->nextSibling) node->nextSibling->prevSibling = node->prevSibling;
        else last = node->prevSibling;
        FreeBranch(node);
    }

    // Links parent's children (null: the top level) anew in the order given;
    // children must hold exactly the current children.
    void RelinkChildren(Node* parent, Node* const* children, int count)
    {
        Node* prev = nullptr;
        for (int i = 0; i < count; ++i) {
            children[i]->prevSibling = prev;
            children[i]->nextSibling = nullptr;
            if (prev) prev->nextSibling = children[i];
            prev = children[i];
        }
        (parent ? parent->firstChild : m_first) = count ? children[0] : nullptr;
        (parent ? parent->lastChild : m_last) = prev;
    }

    // The node after node in tree order: its first child, else its next
    // sibling, else the next sibling of its nearest ancestor that has one;
    // null at the end.
    static Node* GetNextItem(const Node* node)
    {
        if (node->firstChild) return node->firstChild;
        for (; node; node = node->parent)
            if (node->nextSibling) return node->nextSibling;
        return nullptr;
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
    Node* GetLastRootItem() const { return m_last; }
    int GetCount() const { return m_count; }

private:
    // Frees branch (already unlinked from its siblings), children first,
    // without recursion.
    void FreeBranch(Node* branch)
    {
        Node* node = branch;
        for (;;) {
            while (node->firstChild) node = node->firstChild;
            Node* parent = node->parent;
            const bool top = node == branch;
            if (!top) parent->firstChild = node->nextSibling;
            node->~Node();
            MemFree(node);
            --m_count;
            if (top) return;
            node = parent->firstChild ? parent->firstChild : parent;
            if (node == parent) parent->lastChild = nullptr;
        }
    }

    Node* m_first = nullptr;
    Node* m_last = nullptr;
    int m_count = 0;
};

}  // namespace WUI
