// What the framework reads and sets on the backend's windows.
#include "win32.h"

#include "registry.h"
#include "win32_backend.h"
#include "../window.h"

namespace veltra {

namespace win32 {

HWND hwndOf(const CWnd& window)
{
    return hwndOf(window.GetWindowHandle());
}

std::wstring wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

}  // namespace win32

namespace backend {

using win32::handleOf;
using win32::hwndOf;

namespace {

ControlClass classOf(WindowHandle window)
{
    const std::optional<ControlKind> kind = kindOf(window);
    return kind ? traitsOf(*kind).controlClass : ControlClass::Window;
}

}  // namespace

void destroyWindow(WindowHandle window)
{
    DestroyWindow(hwndOf(window));
}

WindowHandle parent(WindowHandle window)
{
    const HWND hwnd = hwndOf(window);
    // A window of its own lies in its owner, as a control lies in its dialog.
    const HWND above = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) ? GetAncestor(hwnd, GA_PARENT)
                                                                        : GetWindow(hwnd, GW_OWNER);
    return handleOf(win32::ours(above));
}

bool isTopLevel(WindowHandle window)
{
    return !(GetWindowLongPtrW(hwndOf(window), GWL_STYLE) & WS_CHILD);
}

std::vector<WindowHandle> children(WindowHandle window)
{
    // Children are listed in Z order, which is the order they were made in:
    // each new child goes below its elder siblings.
    std::vector<WindowHandle> found;
    for (HWND child = GetWindow(hwndOf(window), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (win32::recordOf(child))
            found.push_back(handleOf(child));
    return found;
}

WindowHandle focus()
{
    return handleOf(win32::ours(GetFocus()));
}

std::string text(WindowHandle window)
{
    const HWND hwnd = hwndOf(window);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return win32::utf8(text);
}

void setText(WindowHandle window, const std::string& text)
{
    SetWindowTextW(hwndOf(window), win32::wide(text).c_str());
}

bool isEnabled(WindowHandle window)
{
    return IsWindowEnabled(hwndOf(window));
}

void setEnabled(WindowHandle window, bool enabled)
{
    EnableWindow(hwndOf(window), enabled);
}

bool isVisible(WindowHandle window)
{
    return IsWindowVisible(hwndOf(window));
}

void setVisible(WindowHandle window, bool visible)
{
    ShowWindow(hwndOf(window), visible ? SW_SHOW : SW_HIDE);
}

void setFocus(WindowHandle window)
{
    SetFocus(hwndOf(window));
}

CRect clientRect(WindowHandle window)
{
    RECT rect{};
    GetClientRect(hwndOf(window), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

CRect windowRect(WindowHandle window)
{
    const HWND hwnd = hwndOf(window);
    RECT place{};
    GetWindowRect(hwnd, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right, place.bottom};
}

CPoint screenPoint(WindowHandle window, CPoint client)
{
    POINT at{client.x, client.y};
    ClientToScreen(hwndOf(window), &at);
    return {at.x, at.y};
}

int textWidth(WindowHandle window, const std::string& text)
{
    const HWND hwnd = hwndOf(window);
    const std::wstring shown = win32::wide(text);
    HDC dc = GetDC(hwnd);
    const HGDIOBJ previous = SelectObject(dc, win32::fontOf(hwnd));
    RECT rect{};
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    return rect.right - rect.left;
}

void moveWindow(WindowHandle window, const CRect& rect)
{
    MoveWindow(hwndOf(window), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void invalidate(WindowHandle window)
{
    InvalidateRect(hwndOf(window), nullptr, TRUE);
}

void setAccessibleName(WindowHandle, const std::string&, WindowHandle)
{
    // A screen reader names a system control by the static text just before
    // it in Z order, which is where the templates and the boost page put
    // each edit's label.
}

void acceptFileDrops(WindowHandle window, bool accept)
{
    // The shell hands a drop over a control to the nearest window up its
    // parents that takes files: here the dialog, for its edits and pages too.
    DragAcceptFiles(hwndOf(window), accept);
}

void setSelection(WindowHandle edit, int start, int end)
{
    if (classOf(edit) == ControlClass::Edit)
        SendMessageW(hwndOf(edit), EM_SETSEL, static_cast<WPARAM>(start), end);
}

void selection(WindowHandle edit, int& start, int& end)
{
    DWORD first = 0;
    DWORD last = 0;
    if (classOf(edit) == ControlClass::Edit)
        SendMessageW(hwndOf(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void click(WindowHandle button)
{
    if (classOf(button) == ControlClass::Button)
        SendMessageW(hwndOf(button), BM_CLICK, 0, 0);
}

int insertTab(WindowHandle tabs, int index, const std::string& text)
{
    std::wstring caption = win32::wide(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    return static_cast<int>(SendMessageW(hwndOf(tabs), TCM_INSERTITEMW, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(&item)));
}

int tabCount(WindowHandle tabs)
{
    return static_cast<int>(SendMessageW(hwndOf(tabs), TCM_GETITEMCOUNT, 0, 0));
}

std::string tabText(WindowHandle tabs, int index)
{
    wchar_t caption[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = static_cast<int>(std::size(caption));
    if (!SendMessageW(hwndOf(tabs), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return {};
    return win32::utf8(item.pszText);
}

int currentTab(WindowHandle tabs)
{
    return static_cast<int>(SendMessageW(hwndOf(tabs), TCM_GETCURSEL, 0, 0));
}

void setCurrentTab(WindowHandle tabs, int index)
{
    SendMessageW(hwndOf(tabs), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

CRect tabRect(WindowHandle tabs, int index)
{
    RECT caption{};
    if (!SendMessageW(hwndOf(tabs), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&caption)))
        return {};
    return {caption.left, caption.top, caption.right, caption.bottom};
}

}  // namespace backend
}  // namespace veltra
