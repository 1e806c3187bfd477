#include "tab_control.h"

#include "backend.h"

namespace veltra {

int CTabCtrl::InsertItem(int index, const std::string& text)
{
    return m_hWnd ? backend::insertTab(m_hWnd, index, text) : -1;
}

int CTabCtrl::GetItemCount() const
{
    return m_hWnd ? backend::tabCount(m_hWnd) : 0;
}

std::string CTabCtrl::GetItemText(int index) const
{
    return m_hWnd ? backend::tabText(m_hWnd, index) : std::string();
}

int CTabCtrl::GetCurSel() const
{
    return m_hWnd ? backend::currentTab(m_hWnd) : -1;
}

CRect CTabCtrl::GetItemRect(int index) const
{
    if (!m_hWnd || index < 0 || index >= GetItemCount())
        return {};
    return backend::tabRect(m_hWnd, index);
}

int CTabCtrl::SetCurSel(int index)
{
    const int previous = GetCurSel();
    if (m_hWnd)
        backend::setCurrentTab(m_hWnd, index);
    return previous;
}

}  // namespace veltra
