// A null window's scroll bar is a record; its children move as the content
// scrolls.
#include "registry.h"

namespace veltra::backend {

void setScrollBar(WindowHandle window, const std::optional<ScrollBar>& bar)
{
    null::windowOf(window)->bar = bar;
}

void scrollChildren(WindowHandle window, int pixels)
{
    for (null::Window* child : null::windowOf(window)->children) {
        child->rect.top += pixels;
        child->rect.bottom += pixels;
    }
}

// The systems' own default.
int wheelScrollLines()
{
    return 3;
}

}  // namespace veltra::backend
