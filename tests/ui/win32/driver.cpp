// The user's input as the system delivers it: mouse and key messages to the
// window under the pointer or with the focus, run through the program's own
// message loop (accelerators, then the dialog manager), and drops as the
// shell hands them over.
#include "tests/ui/win32/win32_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cctype>
#include <cstring>
#include <string_view>

#include "ui/framework/backend.h"

namespace veltra::testing {

namespace {

// The keyboard's state while a key is pressed: what accelerators and the
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

void clickAt(HWND window, POINT at)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    win32::processMessages();
}

POINT centreOf(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return POINT{rect.right / 2, rect.bottom / 2};
}

struct Key {
    std::vector<int> modifiers;
    int key = 0;
    bool extended = false;
};

Key parseKey(std::string_view keys)
{
    Key parsed;
    for (;;) {
        const auto plus = keys.find('+');
        if (plus == std::string_view::npos)
            break;
        const std::string_view modifier = keys.substr(0, plus);
        if (modifier == "Ctrl")
            parsed.modifiers.insert(parsed.modifiers.end(), {VK_CONTROL, VK_LCONTROL});
        else if (modifier == "Shift")
            parsed.modifiers.insert(parsed.modifiers.end(), {VK_SHIFT, VK_LSHIFT});
        else if (modifier == "Alt")
            parsed.modifiers.insert(parsed.modifiers.end(), {VK_MENU, VK_LMENU});
        keys.remove_prefix(plus + 1);
    }
    if (keys == "Return") {
        parsed.key = VK_RETURN;
    } else if (keys == "Enter") {
        // The keypad's Enter: VK_RETURN from an extended key.
        parsed.key = VK_RETURN;
        parsed.extended = true;
    } else if (keys == "Escape") {
        parsed.key = VK_ESCAPE;
    } else if (keys == "Tab") {
        parsed.key = VK_TAB;
    } else if (keys == "Delete") {
        parsed.key = VK_DELETE;
        parsed.extended = true;
    } else if (keys.size() >= 2 && keys[0] == 'F') {
        parsed.key = VK_F1 + std::stoi(std::string(keys.substr(1))) - 1;
    } else if (keys.size() == 1) {
        parsed.key = std::toupper(static_cast<unsigned char>(keys[0]));
    }
    return parsed;
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

void click(CWnd& control)
{
    clickAt(win32::hwndOf(control), centreOf(win32::hwndOf(control)));
}

void clickTab(CTabCtrl& tabs, int index)
{
    const HWND hwnd = win32::hwndOf(tabs);
    RECT rect{};
    ASSERT_TRUE(SendMessageW(hwnd, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)));
    clickAt(hwnd, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void typeInto(CEdit& edit, const std::string& text)
{
    const HWND hwnd = win32::hwndOf(edit);
    click(edit);
    pressKey("Ctrl+A");
    if (text.empty()) {
        pressKey("Delete");
        return;
    }
    for (wchar_t letter : win32::wide(text))
        PostMessageW(hwnd, WM_CHAR, letter, 1);
    win32::processMessages();
}

void pressKey(const std::string& keys)
{
    const HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr) << keys;
    Key key = parseKey(keys);
    ASSERT_NE(key.key, 0) << keys;
    HeldModifiers held(key.modifiers);
    const LPARAM flags = 1 | (key.extended ? 1 << 24 : 0);
    PostMessageW(focus, WM_KEYDOWN, static_cast<WPARAM>(key.key), flags);
    PostMessageW(focus, WM_KEYUP, static_cast<WPARAM>(key.key), flags | (1u << 30) | (1u << 31));
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
    const int from = backend::dpi(window.GetSafeHwnd());
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    RECT suggested{frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, dpi, from),
                   frame.top + MulDiv(frame.bottom - frame.top, dpi, from)};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    win32::processMessages();
}

}  // namespace veltra::testing
