// The backend's windows: which object each reports to, its id, and what the
// framework reads and sets on it.
#include "win32.h"

#include <unordered_map>

#include "registry.h"
#include "win32_backend.h"
#include "../window.h"

namespace veltra {

namespace win32 {

namespace {

std::unordered_map<HWND, WindowRecord>& records()
{
    static std::unordered_map<HWND, WindowRecord> map;
    return map;
}

// Controls hear of their own end here; dialogs in their procedure.
LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (message == WM_NCDESTROY) {
        untrack(window);
        RemoveWindowSubclass(window, controlProcedure, id);
    }
    if (passWheelOn(window, message, wParam, lParam))
        return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

// The nearest window of ours that is `window` or holds it.
HWND ours(HWND window)
{
    while (window && !recordOf(window))
        window = GetAncestor(window, GA_PARENT);
    return window;
}

}  // namespace

HWND hwndOf(const CWnd& window)
{
    return hwndOf(window.GetSafeHwnd());
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

void track(HWND window, WindowClass kind)
{
    records()[window].kind = kind;
    if (kind != WindowClass::Dialog)
        SetWindowSubclass(window, controlProcedure, 1, 0);
}

WindowRecord* recordOf(HWND window)
{
    const auto found = records().find(window);
    return found == records().end() ? nullptr : &found->second;
}

void untrack(HWND window)
{
    WindowRecord* record = recordOf(window);
    if (!record)
        return;
    WindowEvents::Destroyed(handleOf(window));
    // The object may have ended other windows of ours: look again.
    record = recordOf(window);
    if (!record)
        return;
    if (record->bitmap)
        DeleteObject(record->bitmap);
    for (HICON icon : {record->icon, record->bigIcon, record->smallIcon})
        if (icon)
            DestroyIcon(icon);
    if (record->font)
        DeleteObject(record->font);
    if (record->accelerators)
        DestroyAcceleratorTable(record->accelerators);
    if (record->disabledOwner)
        EnableWindow(record->disabledOwner, TRUE);
    records().erase(window);
}

bool isPushButton(HWND window)
{
    const WindowRecord* record = window ? recordOf(window) : nullptr;
    return record && record->kind == WindowClass::Button;
}

}  // namespace win32

namespace backend {

using win32::handleOf;
using win32::hwndOf;

void destroyWindow(WindowHandle window)
{
    DestroyWindow(hwndOf(window));
}

void setObject(WindowHandle window, CWnd* object)
{
    if (win32::WindowRecord* record = win32::recordOf(hwndOf(window)))
        record->object = object;
}

CWnd* object(WindowHandle window)
{
    const win32::WindowRecord* record = win32::recordOf(hwndOf(window));
    return record ? record->object : nullptr;
}

WindowClass classOf(WindowHandle window)
{
    const win32::WindowRecord* record = win32::recordOf(hwndOf(window));
    return record ? record->kind : WindowClass::Other;
}

int controlId(WindowHandle window)
{
    const HWND hwnd = hwndOf(window);
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) || classOf(window) == WindowClass::Dialog)
        return noControlId;
    return GetDlgCtrlID(hwnd);
}

WindowHandle parent(WindowHandle window)
{
    const HWND hwnd = hwndOf(window);
    // A window of its own lies in its owner, as a control lies in its dialog.
    const HWND above = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) ? GetAncestor(hwnd, GA_PARENT)
                                                                        : GetWindow(hwnd, GW_OWNER);
    return handleOf(win32::ours(above));
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
    // A drop over a control goes to the nearest window up its parents that
    // takes files: here the dialog, for its edits and pages too.
    DragAcceptFiles(hwndOf(window), accept);
}

void setSelection(WindowHandle edit, int start, int end)
{
    if (classOf(edit) == WindowClass::Edit)
        SendMessageW(hwndOf(edit), EM_SETSEL, static_cast<WPARAM>(start), end);
}

void selection(WindowHandle edit, int& start, int& end)
{
    DWORD first = 0;
    DWORD last = 0;
    if (classOf(edit) == WindowClass::Edit)
        SendMessageW(hwndOf(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void click(WindowHandle button)
{
    if (classOf(button) == WindowClass::Button && isEnabled(button))
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

}  // namespace backend
}  // namespace veltra
