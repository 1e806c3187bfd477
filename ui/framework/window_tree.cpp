#include "window_tree.h"

#include "backend.h"
#include "dialog.h"

namespace veltra {

ControlClass classOf(WindowHandle window)
{
    const std::optional<ControlKind> kind = backend::kindOf(window);
    return kind ? traitsOf(*kind).controlClass : ControlClass::Window;
}

WindowHandle topLevelOf(WindowHandle window)
{
    while (window && !backend::isTopLevel(window))
        window = backend::parent(window);
    return window;
}

CWnd* dialogHolding(WindowHandle window)
{
    for (; window; window = backend::isTopLevel(window) ? WindowHandle{} : backend::parent(window))
        if (classOf(window) == ControlClass::Dialog)
            return backend::object(window);
    return nullptr;
}

CDialog* dialogObject(WindowHandle window)
{
    return window ? dynamic_cast<CDialog*>(backend::object(window)) : nullptr;
}

}  // namespace veltra
