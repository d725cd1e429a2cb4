#include "core/XmlMarks.h"

#include "core/SMap.h"

namespace WUI {

namespace {

// Documents may be read on worker threads too.
SRWLOCK g_marksLock = SRWLOCK_INIT;

SMap<const void*, int>& Marks()
{
    static SMap<const void*, int> marks;
    return marks;
}

int GetMark(const void* key)
{
    if (!key) return 0;
    AcquireSRWLockShared(&g_marksLock);
    SMap<const void*, int>::Node* node = Marks().Lookup(key);
    int value = node ? node->value : 0;
    ReleaseSRWLockShared(&g_marksLock);
    return value;
}

} // namespace

int XmlGetMark(const pugi::xml_node& node)
{
    return GetMark(node.internal_object());
}

int XmlGetMark(const pugi::xml_attribute& attr)
{
    return GetMark(attr.internal_object());
}

bool XmlMarkScope::Mark(const pugi::xml_node& node, int value)
{
    return MarkKey(node.internal_object(), value);
}

bool XmlMarkScope::Mark(const pugi::xml_attribute& attr, int value)
{
    return MarkKey(attr.internal_object(), value);
}

bool XmlMarkScope::MarkKey(const void* key, int value)
{
    if (!key) return true;
    if (m_keys.Find(key) < 0 && m_keys.Add(key) < 0) return false;
    AcquireSRWLockExclusive(&g_marksLock);
    bool ok = Marks().SetValue(key, value) != nullptr;
    ReleaseSRWLockExclusive(&g_marksLock);
    return ok;
}

XmlMarkScope::~XmlMarkScope()
{
    if (m_keys.GetCount() == 0) return;
    AcquireSRWLockExclusive(&g_marksLock);
    SMap<const void*, int>& marks = Marks();
    for (int i = 0; i < m_keys.GetCount(); ++i) marks.RemoveKey(m_keys[i]);
    if (marks.IsEmpty()) marks.RemoveAll(); // an idle table holds no memory
    ReleaseSRWLockExclusive(&g_marksLock);
}

} // namespace WUI
