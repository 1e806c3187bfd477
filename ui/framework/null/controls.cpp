// The null backend's controls: every kind is a record; what the kind's row
// of the table says (text shown, read-only, tab stop) is read where it
// matters, as the input arrives (events.cpp).
#include "null_backend.h"
#include "registry.h"

namespace veltra {

namespace null {

Window& makeControl(ControlKind kind, const std::string& text, int imageId, const CRect& rect, Window& parent, int id)
{
    Window& control = makeWindow(kind, &parent, false, id);
    control.text = traitsOf(kind).showsText ? text : std::string();
    control.selectionStart = control.selectionEnd = static_cast<int>(control.text.size());
    control.imageId = kind == ControlKind::Icon ? imageId : 0;
    control.rect = rect;
    return control;
}

}  // namespace null

namespace backend {

WindowHandle createControl(ControlKind kind, const std::string& text, const CRect& rect, WindowHandle parent, int id)
{
    null::Window* holder = null::windowOf(parent);
    if (kind == ControlKind::Dialog || !holder)
        return {};
    return null::handleOf(&null::makeControl(kind, text, 0, rect, *holder, id));
}

}  // namespace backend
}  // namespace veltra
