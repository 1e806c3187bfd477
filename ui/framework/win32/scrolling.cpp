// A dialog whose content is taller than its window: the system's own
// vertical scroll bar, the wheel, and the focused control brought into view.
// The scroll information is the whole state: its range is the content's
// height, its page the window's.
#include "win32.h"

#include <algorithm>
#include <climits>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace win32 {

namespace {

bool scrolls(HWND window)
{
    return GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL;
}

SCROLLINFO scrollInfo(HWND window)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window, SB_VERT, &info))
        info = SCROLLINFO{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    return info;
}

int clientHeight(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom;
}

// A line of the dialog's font: what an arrow of the bar scrolls by. The
// backend's units, not the system's: those stay the first font's after the
// window is made again at another display scale.
int lineHeight(HWND window)
{
    return std::max(backend::dialogUnits(handleOf(window)).toPixelsY(8), 1);
}

// Sets the bar's information and moves the children by however far the
// position moved: the system keeps the position inside the range by itself.
void setInfo(HWND window, SCROLLINFO& info)
{
    const int was = scrollInfo(window).nPos;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    const int now = scrollInfo(window).nPos;
    if (now != was)
        ScrollWindowEx(window, 0, was - now, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void scrollTo(HWND window, int position)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    setInfo(window, info);
}

// The window's own height is the bar's page: a window that grows past its
// content loses the bar, and what was scrolled comes back.
void fitPage(HWND window)
{
    const SCROLLINFO was = scrollInfo(window);
    const int height = clientHeight(window);
    // A window that was never given a content height keeps no scroll state.
    if (was.nMax <= 0 || static_cast<int>(was.nPage) == height)
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE;
    info.nPage = static_cast<UINT>(height);
    setInfo(window, info);
}

void bringIntoView(HWND window, HWND control)
{
    RECT shown{};
    GetWindowRect(control, &shown);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&shown), 2);
    const int position = scrollInfo(window).nPos;
    if (shown.top < 0)
        scrollTo(window, position + shown.top);
    else if (shown.bottom > clientHeight(window))
        scrollTo(window, position + shown.bottom - clientHeight(window));
}

int scrolledBy(HWND window, WORD request)
{
    const SCROLLINFO info = scrollInfo(window);
    switch (request) {
    case SB_LINEUP:
        return info.nPos - lineHeight(window);
    case SB_LINEDOWN:
        return info.nPos + lineHeight(window);
    case SB_PAGEUP:
        return info.nPos - static_cast<int>(info.nPage);
    case SB_PAGEDOWN:
        return info.nPos + static_cast<int>(info.nPage);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return info.nTrackPos;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return INT_MAX;
    default:
        return info.nPos;
    }
}

}  // namespace

bool passWheelOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_MOUSEWHEEL || (GetWindowLongPtrW(control, GWL_STYLE) & ES_MULTILINE))
        return false;
    const WindowRecord* record = recordOf(control);
    if (!record || record->kind != WindowClass::Edit)
        return false;
    SendMessageW(GetParent(control), message, wParam, lParam);
    return true;
}

bool scrollMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VSCROLL:
        if (lParam != 0 || !scrolls(window))
            return false;
        scrollTo(window, scrolledBy(window, LOWORD(wParam)));
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
        return true;
    case WM_MOUSEWHEEL: {
        // A window that does not scroll lets the wheel go on to its parent.
        if (!scrolls(window))
            return false;
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        const int turned = GET_WHEEL_DELTA_WPARAM(wParam);
        const int step = lines == WHEEL_PAGESCROLL ? static_cast<int>(scrollInfo(window).nPage)
                                                   : static_cast<int>(lines) * lineHeight(window);
        scrollTo(window, scrollInfo(window).nPos - turned * step / WHEEL_DELTA);
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
        return true;
    }
    case WM_COMMAND:
        // An edit tells its dialog when it takes the focus; the dialog's own
        // handling of the command goes on.
        if (HIWORD(wParam) == EN_SETFOCUS && lParam != 0 && scrolls(window))
            bringIntoView(window, reinterpret_cast<HWND>(lParam));
        return false;
    case WM_SIZE:
        fitPage(window);
        return false;
    default:
        return false;
    }
}

}  // namespace win32

namespace backend {

void setScrollHeight(WindowHandle window, int pixels)
{
    const HWND hwnd = win32::hwndOf(window);
    win32::scrollTo(hwnd, 0);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = std::max(pixels - 1, 0);
    info.nPage = static_cast<UINT>(win32::clientHeight(hwnd));
    win32::setInfo(hwnd, info);
}

}  // namespace backend
}  // namespace veltra
