#pragma once

// The backend's own record of each window it made: which object the window
// reports to, its kind, and the system objects it holds. A window is ours
// while it has a record.

#include "win32.h"

#include <string>

#include "../backend.h"

namespace veltra::win32 {

struct WindowRecord {
    CWnd* object = nullptr;
    WindowClass kind = WindowClass::Other;
    int imageId = 0;             // the picture a static shows
    HBITMAP bitmap = nullptr;    // ... as drawn for it
    HICON icon = nullptr;        // an icon control's image
    HICON bigIcon = nullptr;     // a dialog's icons
    HICON smallIcon = nullptr;
    HACCEL accelerators = nullptr;
    bool modalDone = false;
    int modalResult = 0;
    HWND disabledOwner = nullptr;  // the owner a modal loop disabled
};

// Records `window` as ours, and watches for its end; dialogs see theirs in
// their own procedure.
void track(HWND window, WindowClass kind);
// The record of `window`; null when it is not ours.
WindowRecord* recordOf(HWND window);
// The window's end: its object lets go, its system objects are freed.
void untrack(HWND window);

// The procedure of every dialog the backend makes.
INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// What a dialog whose content scrolls does with a message first; true when
// that used it up.
bool scrollMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// A single-line edit has nothing to scroll: the wheel turned over it goes on
// to its dialog, as Windows' own edit passes it (Wine's keeps it). True when
// it went.
bool passWheelOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The application's name, the title of its message boxes.
std::wstring& applicationName();

// A message taken from the queue, through preTranslateMessage to its window.
void deliver(MSG& message);

// The user's Escape or the frame's close button on `dialog`.
void cancel(HWND dialog);

bool isPushButton(HWND window);

// Opens `menu` at `point` for `owner` once the current message is done; the
// item chosen reaches `owner` as a system command.
void postTrackMenu(HWND owner, HMENU menu, CPoint point);

}  // namespace veltra::win32
