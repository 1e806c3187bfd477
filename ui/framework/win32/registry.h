#pragma once

// The backend's own record of each window it made: which object the window
// reports to, its kind, and the system objects it holds. A window is ours
// while it has a record. Also what the backend's files share among
// themselves.

#include "win32.h"

#include <string>

#include "../backend.h"

namespace veltra::win32 {

struct WindowRecord {
    CWnd* object = nullptr;
    ControlKind kind = ControlKind::Dialog;
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
    bool modalDone = false;
    int modalResult = 0;
    HWND disabledOwner = nullptr;  // the owner a modal loop disabled
};

// Records `window` as ours, and watches for its end; dialogs see theirs in
// their own procedure.
void track(HWND window, ControlKind kind);
// The record of `window`; null when it is not ours.
WindowRecord* recordOf(HWND window);
// The window's end: its object lets go, its system objects are freed.
void untrack(HWND window);
// The nearest window of ours that is `window` or holds it.
HWND ours(HWND window);

// Events (events.cpp): the procedure of every dialog the backend makes, and
// of every control it records.
INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR);
// Opens `menu` at `point` for `owner` once the current message is done; the
// item chosen is reported as the owner's.
void postTrackMenu(HWND owner, HMENU menu, CPoint point);

// Keys (keys.cpp): the key of a WM_KEYDOWN, with the modifiers held.
std::optional<KeyCombination> keysOf(const MSG& message);

// Controls (controls.cpp): the system's class and styles of a kind.
struct SystemControl {
    WORD atom;            // a predefined class, or 0
    const wchar_t* name;  // the class
    DWORD style;          // WS_CHILD and WS_VISIBLE besides
    DWORD extendedStyle;
};
SystemControl systemControlOf(ControlKind kind);

// The font a dialog's controls are set in.
HFONT fontOf(HWND window);
// The icon `imageId` in the icon control, drawn at the control's size.
void showIcon(HWND control, int imageId);

// Display scale (display_scale.cpp). The dots per inch `window` is shown at.
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

// The application's name, the title of its message boxes.
std::wstring& applicationName();

}  // namespace veltra::win32
