#include "input.h"

#include "backend.h"
#include "dialog.h"
#include "window_tree.h"

namespace veltra {

namespace {

bool holds(WindowHandle outer, WindowHandle window)
{
    for (; window; window = backend::isTopLevel(window) ? WindowHandle{} : backend::parent(window))
        if (window == outer)
            return true;
    return false;
}

// The first enabled, visible default button in `window` and its children.
WindowHandle defaultButtonIn(WindowHandle window)
{
    for (WindowHandle child : backend::children(window)) {
        if (backend::kindOf(child) == ControlKind::DefPushButton && backend::isEnabled(child) &&
            backend::isVisible(child))
            return child;
        if (const WindowHandle inner = defaultButtonIn(child))
            return inner;
    }
    return {};
}

bool pressEnter(WindowHandle root)
{
    const WindowHandle focused = backend::focus();
    if (focused && holds(root, focused) && classOf(focused) == ControlClass::Button) {
        // As Space does.
        if (backend::isEnabled(focused))
            backend::click(focused);
        return true;
    }
    if (const WindowHandle button = defaultButtonIn(root))
        backend::click(button);
    return true;
}

}  // namespace

bool InputRules::keyPressed(WindowHandle target, const KeyCombination& keys)
{
    const WindowHandle root = topLevelOf(target);
    CDialog* dialog = dialogObject(root);
    if (!dialog)
        return false;
    for (const auto& [accelerator, command] : dialog->m_accelerators) {
        if (accelerator != keys)
            continue;
        // A command whose button is disabled is not available.
        if (const CWnd* control = dialog->GetDlgItem(command); control && !control->IsWindowEnabled())
            return true;
        dialog->OnCommand(command);
        return true;
    }
    if (keys.modifiers != noModifier)
        return false;
    switch (keys.key) {
    case Key::Escape:
        dialog->OnCancel();
        return true;
    case Key::Return:
    case Key::Enter:
        return pressEnter(root);
    default:
        return false;
    }
}

bool InputRules::contextMenu(WindowHandle target, std::optional<CPoint> at)
{
    if (classOf(target) == ControlClass::Edit)
        return false;
    const WindowHandle root = topLevelOf(target);
    CWnd* window = backend::object(root);
    if (!window)
        return false;
    window->OnContextMenu(CWnd::FromHandle(target), at ? *at : backend::screenPoint(root, CPoint{0, 0}));
    return true;
}

bool InputRules::wheel(WindowHandle over, int delta)
{
    for (WindowHandle window = over; window;
         window = backend::isTopLevel(window) ? WindowHandle{} : backend::parent(window)) {
        if (CDialog* dialog = dialogObject(window); dialog && dialog->m_scroll.scrolls()) {
            dialog->m_scroll.turnWheel(delta);
            return true;
        }
    }
    return false;
}

void InputRules::focusTaken(WindowHandle window)
{
    // Where the window lies in each window above it, up to one that scrolls.
    CRect shown = backend::windowRect(window);
    for (WindowHandle above = backend::isTopLevel(window) ? WindowHandle{} : backend::parent(window); above;
         above = backend::isTopLevel(above) ? WindowHandle{} : backend::parent(above)) {
        if (CDialog* dialog = dialogObject(above); dialog && dialog->m_scroll.scrolls()) {
            dialog->m_scroll.bringIntoView(shown);
            return;
        }
        const CRect place = backend::windowRect(above);
        shown = CRect{shown.left + place.left, shown.top + place.top, shown.right + place.left,
                      shown.bottom + place.top};
    }
}

}  // namespace veltra
