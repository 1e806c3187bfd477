// From the toolkit's windows to the objects attached to them: the object
// FromHandle makes for a window that has none, and what each event calls.
#include "backend.h"
#include "controls.h"
#include "dialog.h"
#include "tab_control.h"

namespace veltra {

namespace {

// The object FromHandle makes for a window that has none: the class of its
// kind, so that a caller can tell an edit from a button.
std::unique_ptr<CWnd> objectOfKind(WindowClass kind)
{
    switch (kind) {
    case WindowClass::Edit:
        return std::make_unique<CEdit>();
    case WindowClass::Static:
        return std::make_unique<CStatic>();
    case WindowClass::Button:
        return std::make_unique<CButton>();
    case WindowClass::TabControl:
        return std::make_unique<CTabCtrl>();
    case WindowClass::Dialog:
    case WindowClass::Other:
        break;
    }
    return std::make_unique<CWnd>();
}

}  // namespace

CWnd* CWnd::FromHandle(WindowHandle window)
{
    if (!window)
        return nullptr;
    if (CWnd* attached = backend::object(window))
        return attached;
    std::unique_ptr<CWnd> made = objectOfKind(backend::classOf(window));
    made->Attach(window, false);
    // It ends with the window: WindowEvents::Destroyed.
    made->m_madeByFromHandle = true;
    return made.release();
}

void WindowEvents::SysCommand(WindowHandle window, unsigned id)
{
    if (CWnd* object = backend::object(window))
        object->OnSysCommand(id, 0);
}

bool WindowEvents::ContextMenu(WindowHandle window, WindowHandle target, CPoint point)
{
    CWnd* object = backend::object(window);
    if (!object)
        return false;
    object->OnContextMenu(CWnd::FromHandle(target), point);
    return true;
}

void WindowEvents::DropFiles(WindowHandle window, const std::vector<std::filesystem::path>& files)
{
    if (CWnd* object = backend::object(window))
        object->OnDropFiles(files);
}

std::optional<ControlColors> WindowEvents::Colors(WindowHandle control)
{
    CWnd* object = backend::object(control);
    return object ? object->CtlColor() : std::nullopt;
}

void WindowEvents::Destroyed(WindowHandle window)
{
    CWnd* object = backend::object(window);
    if (!object)
        return;
    object->Detach();
    if (object->m_madeByFromHandle)
        delete object;
}

void WindowEvents::DpiChanged(WindowHandle window)
{
    // The dialogs' fonts have changed with the scale, and their units with
    // them, before the window lays out what it placed itself.
    std::vector<WindowHandle> within{window};
    for (std::size_t i = 0; i < within.size(); ++i) {
        if (auto* dialog = dynamic_cast<CDialog*>(backend::object(within[i])))
            dialog->m_units = backend::dialogUnits(within[i]);
        for (WindowHandle child : backend::children(within[i]))
            within.push_back(child);
    }
    if (CWnd* object = backend::object(window))
        object->OnDpiChanged();
}

void WindowEvents::Command(WindowHandle dialog, int id)
{
    if (auto* object = dynamic_cast<CDialog*>(backend::object(dialog)))
        object->OnCommand(id);
}

void WindowEvents::Accelerator(WindowHandle dialog, int id)
{
    auto* object = dynamic_cast<CDialog*>(backend::object(dialog));
    if (!object)
        return;
    // A command whose button is disabled is not available.
    if (const CWnd* control = object->GetDlgItem(id); control && !control->IsWindowEnabled())
        return;
    object->OnCommand(id);
}

void WindowEvents::Notify(WindowHandle dialog, int id, veltra::Notify code)
{
    if (CWnd* object = backend::object(dialog))
        object->OnNotify(id, code);
}

bool WindowEvents::Cancel(WindowHandle dialog)
{
    auto* object = dynamic_cast<CDialog*>(backend::object(dialog));
    if (!object)
        return false;
    object->OnCancel();
    return true;
}

}  // namespace veltra
