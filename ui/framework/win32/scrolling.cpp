// A dialog whose content is taller than its window: the system's own
// vertical scroll bar, and the children scrolled with the window's content.
#include "win32.h"

#include <algorithm>

#include "registry.h"
#include "win32_backend.h"

namespace veltra::backend {

void setScrollBar(WindowHandle window, const std::optional<ScrollBar>& bar)
{
    // A range of one pixel or none hides the bar, and with it WS_VSCROLL.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (bar) {
        info.nMax = std::max(bar->range - 1, 0);
        info.nPage = static_cast<UINT>(bar->page);
        info.nPos = bar->position;
    }
    SetScrollInfo(win32::hwndOf(window), SB_VERT, &info, TRUE);
}

void scrollChildren(WindowHandle window, int pixels)
{
    ScrollWindowEx(win32::hwndOf(window), 0, pixels, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

int wheelScrollLines()
{
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return lines == WHEEL_PAGESCROLL ? 0 : static_cast<int>(lines);
}

}  // namespace veltra::backend
