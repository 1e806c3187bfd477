// The user's input as the system delivers it: mouse and key messages to the
// window under the pointer or with the focus, run through the program's own
// message loop (the framework, then the dialog manager), and drops as the
// shell hands them over.
#include "tests/ui/win32/win32_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "ui/framework/backend.h"

namespace veltra::testing {

namespace {

// The keyboard's state while a key is pressed: what the backend and the
// dialog manager read of the modifiers.
class HeldModifiers {
public:
    explicit HeldModifiers(const std::vector<int>& keys)
    {
        GetKeyboardState(m_before);
        BYTE state[256];
        std::memcpy(state, m_before, sizeof state);
        for (int key : keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldModifiers() { SetKeyboardState(m_before); }

private:
    BYTE m_before[256];
};

POINT centreOf(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return POINT{rect.right / 2, rect.bottom / 2};
}

// The left and right keys' states are set as well as the either-side one.
std::vector<int> withSides(const std::vector<int>& modifiers)
{
    std::vector<int> keys;
    for (int key : modifiers) {
        keys.push_back(key);
        if (key == VK_CONTROL)
            keys.push_back(VK_LCONTROL);
        else if (key == VK_SHIFT)
            keys.push_back(VK_LSHIFT);
        else if (key == VK_MENU)
            keys.push_back(VK_LMENU);
    }
    return keys;
}

}  // namespace

void showActive(CDialog& window)
{
    const HWND hwnd = win32::hwndOf(window);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    win32::processMessages();
    EXPECT_EQ(GetActiveWindow(), hwnd);
}

void clickAt(CWnd& window, CPoint at)
{
    // The click goes to the window under the pointer: through a static or a
    // group box, which let it through to what lies beneath, to their parent.
    HWND target = win32::hwndOf(window);
    POINT point{at.x, at.y};
    for (;;) {
        POINT screen = point;
        ClientToScreen(target, &screen);
        const HWND parent = GetParent(target);
        if (!parent || (GetWindowLongPtrW(target, GWL_STYLE) & WS_CHILD) == 0 ||
            SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) != HTTRANSPARENT)
            break;
        MapWindowPoints(target, parent, &point, 1);
        target = parent;
    }
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    win32::processMessages();
}

void sendKeys(const KeyCombination& keys)
{
    const HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    const win32::PressedKey key = win32::virtualKeyOf(keys);
    ASSERT_NE(key.virtualKey, 0);
    HeldModifiers held(withSides(key.modifiers));
    const LPARAM flags = 1 | (key.extended ? 1 << 24 : 0);
    PostMessageW(focus, WM_KEYDOWN, static_cast<WPARAM>(key.virtualKey), flags);
    PostMessageW(focus, WM_KEYUP, static_cast<WPARAM>(key.virtualKey), flags | (1u << 30) | (1u << 31));
    win32::processMessages();
}

void typeText(const std::string& text)
{
    const HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    for (wchar_t letter : win32::wide(text))
        PostMessageW(focus, WM_CHAR, letter, 1);
    win32::processMessages();
}

void closeWindow(CDialog& window)
{
    SendMessageW(win32::hwndOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    win32::processMessages();
}

void turnWheel(CWnd& target, int notches)
{
    const HWND hwnd = win32::hwndOf(target);
    POINT at = centreOf(hwnd);
    ClientToScreen(hwnd, &at);
    // The system sends the wheel to the window with the focus, and a control
    // that does not use it passes it to its parent.
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(at.x, at.y));
    win32::processMessages();
}

CRect placeOf(const CWnd& control)
{
    const HWND hwnd = win32::hwndOf(control);
    RECT place{};
    GetWindowRect(hwnd, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right, place.bottom};
}

bool showsWholeText(const CWnd& label)
{
    const HWND hwnd = win32::hwndOf(label);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    const bool breaks = (style & SS_TYPEMASK) <= SS_RIGHT;
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    RECT shown{};
    GetClientRect(hwnd, &shown);
    RECT needed{0, 0, shown.right, 0};
    HDC dc = GetDC(hwnd);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &needed,
              DT_CALCRECT | DT_NOPREFIX | (breaks ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    return needed.right <= shown.right && needed.bottom <= shown.bottom;
}

bool showsScrollBar(const CWnd& window)
{
    const HWND hwnd = win32::hwndOf(window);
    return IsWindowVisible(hwnd) && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VSCROLL);
}

bool dropFiles(CDialog& window, CWnd& target, const std::vector<std::filesystem::path>& files)
{
    // The shell hands a drop to the nearest window up from the one under the
    // pointer that takes files.
    HWND taker = win32::hwndOf(target);
    const HWND top = win32::hwndOf(window);
    while (taker && !(GetWindowLongPtrW(taker, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) {
        if (taker == top)
            return false;
        taker = GetAncestor(taker, GA_PARENT);
    }
    if (!taker)
        return false;
    std::wstring names;
    for (const std::filesystem::path& file : files)
        names += file.wstring() + L'\0';
    names += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = centreOf(win32::hwndOf(target));
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    // The window frees the drop with DragFinish.
    SendMessageW(taker, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    win32::processMessages();
    return true;
}

void moveToDisplayScale(CDialog& window, int dpi)
{
    // The system suggests the window's frame scaled from where it stands.
    const HWND hwnd = win32::hwndOf(window);
    const int from = backend::dpi(window.GetWindowHandle());
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    RECT suggested{frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, dpi, from),
                   frame.top + MulDiv(frame.bottom - frame.top, dpi, from)};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    win32::processMessages();
}

}  // namespace veltra::testing
