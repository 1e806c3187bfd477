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
    int iconId = 0;              // the icon an icon control or a dialog shows
    HICON icon = nullptr;        // an icon control's image
    HICON bigIcon = nullptr;     // a dialog's icons
    HICON smallIcon = nullptr;
    const DialogTemplate* dialogTemplate = nullptr;  // what a dialog was made from
    int dpi = 0;                 // a window's scale since the system changed it
    HFONT font = nullptr;        // a dialog's font made again at a new scale
    SIZE baseUnits{};            // ... and its dialog units
    RECT madeBeyond{};           // what the system moved a control's edges by
                                 // from its template's when it made it
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

// The font a dialog's controls are set in.
HFONT fontOf(HWND window);
// A left-aligned label grows rightwards rather than cut its text.
void fitLabel(HWND label);
// The icon `imageId` in the icon control, drawn at the control's size.
void showIcon(HWND control, int imageId);

// Display scale (dpi.cpp). The dots per inch `window` is shown at.
int dpiOf(HWND window);
// A system metric (SM_CXICON...) at the scale `window` is shown at.
int metricFor(HWND window, int metric);
// The system's own scaling of a dialog's controls is left out: the backend
// scales them, the same on every system.
void scaleDialogsOurselves(HWND dialog);
// WM_DPICHANGED: the top-level `window` now shows at `dpi`.
void dpiChanged(HWND window, int dpi, const RECT& suggested);
// Where the system puts a template's control in dialog units `units`.
RECT templateRect(const ControlTemplate& control, SIZE units);
// The dialog units the system made `dialog` in.
SIZE madeUnits(HWND dialog);

// Opens `menu` at `point` for `owner` once the current message is done; the
// item chosen reaches `owner` as a system command.
void postTrackMenu(HWND owner, HMENU menu, CPoint point);

}  // namespace veltra::win32
