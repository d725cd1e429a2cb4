#pragma once
#include "core/ISwndNode.h"
#include "core/SWindowMgr.h"
#include <string>
#include <vector>

// A bare element tree node for testing what sits under the element class.
class FakeSwnd : public WUI::ISwndNode {
public:
    explicit FakeSwnd(int id = 0, const wchar_t *name = L"") : m_id(id), m_name(name)
    {
        m_swnd = WUI::SWindowMgr::NewWindow(this);
    }
    ~FakeSwnd()
    {
        Detach();
        WUI::SWindowMgr::DestroyWindow(m_swnd);
    }
    void AddChild(FakeSwnd *child)
    {
        child->Detach();
        child->m_parent = this;
        m_children.push_back(child);
    }
    void Detach()
    {
        if (!m_parent)
            return;
        auto &c = m_parent->m_children;
        for (auto it = c.begin(); it != c.end(); ++it)
            if (*it == this) {
                c.erase(it);
                break;
            }
        m_parent = nullptr;
    }
    void SetID(int id) { m_id = id; }

    WUI::SWND GetSwnd() const override { return m_swnd; }
    WUI::ISwndNode *GetParentNode() const override { return m_parent; }
    int GetID() const override { return m_id; }
    LPCWSTR GetName() const override { return m_name.c_str(); }
    WUI::ISwndNode *FindChildByID(int id, int depth) override
    {
        ++searches;
        return Search([id](FakeSwnd *c) { return c->m_id == id; }, depth);
    }
    WUI::ISwndNode *FindChildByName(LPCWSTR name, int depth) override
    {
        ++searches;
        std::wstring n(name);
        return Search([&n](FakeSwnd *c) { return c->m_name == n; }, depth);
    }
    LRESULT SendSwndMessage(UINT msg, WPARAM wParam, LPARAM) override
    {
        messages.push_back({msg, static_cast<UINT>(wParam)});
        return 0;
    }

    struct Received {
        UINT msg;
        UINT wParam;
    };
    std::vector<Received> messages;
    int searches = 0;

private:
    template <class Pred> FakeSwnd *Search(Pred pred, int depth)
    {
        if (depth == 0)
            return nullptr;
        for (FakeSwnd *c : m_children)
            if (pred(c))
                return c;
        if (depth == 1)
            return nullptr;
        for (FakeSwnd *c : m_children)
            if (FakeSwnd *f = c->Search(pred, depth < 0 ? depth : depth - 1))
                return f;
        return nullptr;
    }

    WUI::SWND m_swnd;
    int m_id;
    std::wstring m_name;
    FakeSwnd *m_parent = nullptr;
    std::vector<FakeSwnd *> m_children;
};
