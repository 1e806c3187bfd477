#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/tab_control.h"

// What a user does to a window, through the backend's own input path: each
// backend's tests implement these (tests/ui/<backend>/driver.cpp), so that
// the window's behaviour tests run unchanged on every backend.
namespace veltra::testing {

// Shows the window and makes it the active one, as the program's start does.
void showActive(CDialog& window);
// A click on the control with the mouse.
void click(CWnd& control);
// A click on the tab's caption.
void clickTab(CTabCtrl& tabs, int index);
// Clicks in the edit, selects all of its text and types `text` over it
// (deletes it when `text` is empty).
void typeInto(CEdit& edit, const std::string& text);
// A key pressed and released where the keyboard focus is: the modifiers
// Ctrl, Shift and Alt, each followed by '+', then the key: a letter, F1,
// Return, Enter (on the keypad) or Escape.
void pressKey(const std::string& keys);
// The close button of the window's frame.
void closeWindow(CDialog& window);
// The mouse wheel turned over `target` by `notches` (120 of the system's
// units each): positive turns it away from the user, which scrolls up.
void turnWheel(CWnd& target, int notches);
// Files dragged from a file manager and dropped on `target`, a control of
// `window` or the window itself; whether the window took them.
bool dropFiles(CDialog& window, CWnd& target, const std::vector<std::filesystem::path>& files);
// The window dragged to a monitor shown at `dpi` dots per inch, as the
// system reports such a move.
void moveToDisplayScale(CDialog& window, int dpi);

// What the user sees of a window: where a control shows in its parent's
// client pixels, whether a static text shows all of its text inside its
// place (in lines where it breaks them), and whether the window shows a
// vertical scroll bar.
CRect placeOf(const CWnd& control);
bool showsWholeText(const CWnd& label);
bool showsScrollBar(const CWnd& window);

}  // namespace veltra::testing
