#include "itemviews/SListViewItemLocatorFix.h"

#include <algorithm>

namespace WUI {

SListViewItemLocatorFix::SListViewItemLocatorFix(int height, int divider)
    : m_height(std::max(height, 0)), m_divider(std::max(divider, 0))
{
}

int SListViewItemLocatorFix::Count() const
{
    return m_adapter ? std::max(m_adapter->GetCount(), 0) : 0;
}

int SListViewItemLocatorFix::GetTotalHeight()
{
    const int n = Count();
    return n ? n * m_height + (n - 1) * m_divider : 0;
}

int SListViewItemLocatorFix::GetItemTop(int index)
{
    return index > 0 ? index * GetLineStep() : 0;
}

int SListViewItemLocatorFix::GetItemAt(int position)
{
    if (!m_adapter) return -1;
    const int step = GetLineStep();
    if (step == 0 || position < 0) return 0;
    return std::min(position / step, Count());
}

}  // namespace WUI
