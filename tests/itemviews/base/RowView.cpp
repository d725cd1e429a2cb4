#include "RowView.h"

using namespace WUI;

namespace itemtest {

SItemPanel* RowView::AddRow(const wchar_t* templateXml)
{
    pugi::xml_document doc;
    if (templateXml && !doc.load_string(templateXml)) return nullptr;
    SItemPanel* panel = SItemPanel::CreateItemPanel(this, doc.document_element(), this);
    if (!panel) return nullptr;
    panel->SetItemIndex(RowCount());
    m_rows.push_back(panel);
    panel->SetVisible(TRUE);
    const RECT rc = {0, 0, GetClientRect().right - GetClientRect().left, m_rowHeight};
    panel->Move(&rc);
    return panel;
}

void RowView::DropRow(int index)
{
    SItemPanel* panel = m_rows[index];
    m_rows[index] = nullptr;
    if (panel) panel->DestroyWindow();
}

RECT RowView::RowRect(int index) const
{
    RECT rc = GetClientRect();
    rc.top += index * m_rowHeight - scroll;
    rc.bottom = rc.top + m_rowHeight;
    return rc;
}

void RowView::SetItemCapture(SItemPanel* panel, bool capture)
{
    captureCalls.push_back({static_cast<int>(panel->GetItemIndex()), capture});
    if (capture) GetContainer()->SetCapture(GetSwnd());
    else GetContainer()->ReleaseCapture();
}

BOOL RowView::GetItemRect(SItemPanel* panel, RECT* out)
{
    const int index = static_cast<int>(panel->GetItemIndex());
    if (index < 0 || index >= RowCount()) return FALSE;
    *out = RowRect(index);
    return TRUE;
}

void RowView::RelayoutItem(SItemPanel* panel)
{
    ++relayouts;
    panel->LayoutChildren();
}

void RowView::OnPaint(IRenderTarget* rt)
{
    for (int i = 0; i < RowCount(); ++i)
        if (m_rows[i]) m_rows[i]->Draw(rt, RowRect(i));
}

void RowView::OnViewDestroy()
{
    for (int i = 0; i < RowCount(); ++i) DropRow(i);
    SWindow::OnDestroy();
}

}  // namespace itemtest
