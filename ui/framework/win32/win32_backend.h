#pragma once

// The Win32 windows behind the framework, for what only Win32 can tell: the
// tests of the backend's own details and their driver, which feeds the
// window its input as the system does. The window's code never includes this.

#include "win32.h"

#include <string>
#include <string_view>
#include <vector>

#include "../keys.h"
#include "../types.h"

namespace veltra {
class CWnd;
}

namespace veltra::win32 {

inline HWND hwndOf(WindowHandle window)
{
    return static_cast<HWND>(window.native);
}

inline WindowHandle handleOf(HWND window)
{
    return WindowHandle{window};
}

HWND hwndOf(const CWnd& window);

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// What the backend's message loops do with a message before it is
// dispatched: a key goes to the framework first, then to the dialog
// manager's navigation. True when the message was used up.
bool preTranslateMessage(MSG& message);
// Runs every message waiting in the thread's queue through the same path as
// the modal loop, then returns.
void processMessages();

// The module whose resources hold the program's images.
HINSTANCE instance();

// A key combination as the system's key messages carry it, for the tests'
// driver: the virtual key, whether it is an extended key, and the modifier
// keys held.
struct PressedKey {
    int virtualKey = 0;
    bool extended = false;
    std::vector<int> modifiers;
};
PressedKey virtualKeyOf(const KeyCombination& keys);

}  // namespace veltra::win32
