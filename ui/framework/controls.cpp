#include "controls.h"

#include "backend.h"

namespace veltra {

namespace {

// The control `kind` made in `parent`, when the kind is of `wanted` class.
WindowHandle createOfClass(ControlClass wanted, ControlKind kind, const std::string& text, const CRect& rect,
                           const CWnd* parent, int id)
{
    if (traitsOf(kind).controlClass != wanted || !parent || !parent->GetWindowHandle())
        return {};
    return backend::createControl(kind, text, rect, parent->GetWindowHandle(), id);
}

}  // namespace

bool CStatic::Create(ControlKind kind, const std::string& text, const CRect& rect, CWnd* parent, int id)
{
    if (m_hWnd)
        return false;
    const WindowHandle made = createOfClass(ControlClass::Static, kind, text, rect, parent, id);
    if (!made)
        return false;
    Attach(made, true);
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

bool CEdit::Create(ControlKind kind, const CRect& rect, CWnd* parent, int id)
{
    if (m_hWnd)
        return false;
    const WindowHandle made = createOfClass(ControlClass::Edit, kind, {}, rect, parent, id);
    if (!made)
        return false;
    Attach(made, true);
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
    if (m_hWnd && backend::isEnabled(m_hWnd))
        backend::click(m_hWnd);
}

}  // namespace veltra
