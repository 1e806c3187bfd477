#include "controls.h"

#include "backend.h"

namespace veltra {

bool CStatic::Create(const std::string& text, TextAlign align, const CRect& rect, CWnd* parent, int id)
{
    if (m_hWnd || !parent || !parent->GetSafeHwnd())
        return false;
    Attach(backend::createStatic(text, align, rect, parent->GetSafeHwnd(), id), true);
    return true;
}

void CStatic::SetBitmap(int imageId)
{
    if (m_hWnd)
        backend::setBitmap(m_hWnd, imageId);
}

int CStatic::GetBitmap() const
{
    return m_hWnd ? backend::bitmap(m_hWnd) : 0;
}

bool CEdit::Create(bool tabStop, const CRect& rect, CWnd* parent, int id)
{
    if (m_hWnd || !parent || !parent->GetSafeHwnd())
        return false;
    Attach(backend::createEdit(tabStop, rect, parent->GetSafeHwnd(), id), true);
    return true;
}

void CEdit::SetSel(int start, int end)
{
    if (m_hWnd)
        backend::setSelection(m_hWnd, start, end);
}

void CEdit::GetSel(int& start, int& end) const
{
    start = end = 0;
    if (m_hWnd)
        backend::selection(m_hWnd, start, end);
}

void CButton::Click()
{
    if (m_hWnd)
        backend::click(m_hWnd);
}

}  // namespace veltra
