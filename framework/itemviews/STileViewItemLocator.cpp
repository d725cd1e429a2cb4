#include "itemviews/STileViewItemLocator.h"

#include <algorithm>

namespace WUI {

STileViewItemLocator::STileViewItemLocator(int height, int width, int margin)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_margin(std::max(margin, 0))
{
}

int STileViewItemLocator::Count() const
{
    return m_adapter ? std::max(m_adapter->GetCount(), 0) : 0;
}

// Tiles and margin both 0 wide fit any number of times: one column then.
void STileViewItemLocator::SetContainerWidth(int width)
{
    const int step = m_margin + m_width;
    m_columns = step > 0 ? std::max(width / step, 1) : 1;
}

RECT STileViewItemLocator::GetItemRect(int index) const
{
    if (index < 0) return RECT{0, 0, 0, 0};
    const int row = Row(index);
    const int column = index - m_columns * row;
    const int left = m_margin + (m_margin + m_width) * column;
    const int top = m_margin + (m_margin + m_height) * row;
    return RECT{left, top, left + m_width, (m_margin + m_height) * (row + 1)};
}

int STileViewItemLocator::GetItemLineTop(int index) const
{
    return index > 0 ? Row(index) * (m_margin + m_height) : 0;
}

int STileViewItemLocator::GetTotalHeight()
{
    const int n = Count();
    return n ? ((n - 1) / m_columns + 1) * GetLineStep() + m_margin : 0;
}

int STileViewItemLocator::GetItemAt(int position)
{
    if (!m_adapter) return -1;
    const int step = GetLineStep();
    if (step == 0 || position < 0) return 0;
    return std::min(position / step * m_columns, Count());
}

int STileViewItemLocator::GetUpIndex(int index) const
{
    return index - m_columns < 0 ? index : index - m_columns;
}

int STileViewItemLocator::GetDownIndex(int index) const
{
    const int n = Count();
    if (index + m_columns < n) return index + m_columns;
    if (n == 0 || Row(n - 1) == Row(index)) return index;
    return n - 1;
}

}  // namespace WUI
