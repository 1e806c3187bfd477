#include "window.h"

#include "backend.h"
#include "display_scale.h"

namespace veltra {

CWnd::~CWnd()
{
    if (!m_hWnd)
        return;
    const WindowHandle window = m_hWnd;
    const bool owns = m_ownsWindow;
    Detach();
    if (owns)
        backend::destroyWindow(window);
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(backend::focus());
}

void CWnd::Attach(WindowHandle window, bool owns)
{
    // An object FromHandle made stands in only until a real one comes.
    if (CWnd* previous = backend::object(window); previous && previous != this) {
        if (previous->m_madeByFromHandle)
            delete previous;
        else
            previous->Detach();
    }
    m_hWnd = window;
    m_ownsWindow = owns;
    backend::setObject(window, this);
}

void CWnd::Detach()
{
    if (m_hWnd && backend::object(m_hWnd) == this)
        backend::setObject(m_hWnd, nullptr);
    m_hWnd = {};
    m_ownsWindow = false;
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent)
{
    const CWnd* item = parent ? parent->GetDlgItem(id) : nullptr;
    if (!item)
        return false;
    Attach(item->m_hWnd, false);
    return true;
}

int CWnd::GetDlgCtrlID() const
{
    return m_hWnd ? backend::controlId(m_hWnd) : noControlId;
}

CWnd* CWnd::GetParent() const
{
    return m_hWnd ? FromHandle(backend::parent(m_hWnd)) : nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    if (!m_hWnd || id == noControlId)
        return nullptr;
    for (WindowHandle child : backend::children(m_hWnd))
        if (backend::controlId(child) == id)
            return FromHandle(child);
    return nullptr;
}

int CWnd::ScaleForDpi(int pixelsAt96) const
{
    constexpr int baseDpi = 96;
    const int dpi = displayDpi(m_hWnd);
    // Rounded half away from zero, the same on every backend.
    const long long scaled = static_cast<long long>(pixelsAt96) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + baseDpi / 2) / baseDpi : -((-scaled + baseDpi / 2) / baseDpi));
}

void CWnd::OnDpiChanged() {}

std::vector<CWnd*> CWnd::Children() const
{
    std::vector<CWnd*> children;
    if (m_hWnd)
        for (WindowHandle child : backend::children(m_hWnd))
            children.push_back(FromHandle(child));
    return children;
}

std::string CWnd::GetWindowText() const
{
    return m_hWnd ? backend::text(m_hWnd) : std::string();
}

void CWnd::SetWindowText(const std::string& text)
{
    if (m_hWnd)
        backend::setText(m_hWnd, text);
}

void CWnd::EnableWindow(bool enable)
{
    if (m_hWnd)
        backend::setEnabled(m_hWnd, enable);
}

bool CWnd::IsWindowEnabled() const
{
    return m_hWnd && backend::isEnabled(m_hWnd);
}

void CWnd::ShowWindow(bool show)
{
    if (m_hWnd)
        backend::setVisible(m_hWnd, show);
}

bool CWnd::IsWindowVisible() const
{
    return m_hWnd && backend::isVisible(m_hWnd);
}

void CWnd::SetFocus()
{
    if (m_hWnd)
        backend::setFocus(m_hWnd);
}

CRect CWnd::GetClientRect() const
{
    return m_hWnd ? backend::clientRect(m_hWnd) : CRect{};
}

void CWnd::MoveWindow(const CRect& rect)
{
    if (m_hWnd)
        backend::moveWindow(m_hWnd, rect);
}

void CWnd::Invalidate()
{
    if (m_hWnd)
        backend::invalidate(m_hWnd);
}

void CWnd::SetAccessibleName(const std::string& name, CWnd* label)
{
    if (m_hWnd)
        backend::setAccessibleName(m_hWnd, name, label ? label->m_hWnd : WindowHandle{});
}

void CWnd::DragAcceptFiles(bool accept)
{
    m_acceptsFiles = accept;
    if (m_hWnd)
        backend::acceptFileDrops(m_hWnd, accept);
}

void CWnd::OnSysCommand(unsigned, long long) {}

void CWnd::OnCommand(int) {}

void CWnd::OnNotify(int, Notify) {}

void CWnd::OnContextMenu(CWnd*, CPoint) {}

void CWnd::OnDropFiles(const std::vector<std::filesystem::path>&) {}

std::optional<ControlColors> CWnd::CtlColor()
{
    return std::nullopt;
}

}  // namespace veltra
