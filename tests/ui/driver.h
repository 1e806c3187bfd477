#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/keys.h"
#include "ui/framework/tab_control.h"

// What a user does to a window, so that the window's behaviour tests run
// unchanged on every backend. Each backend's driver
// (tests/ui/<backend>/driver.cpp) gives the primitives through its own input
// path; the composite actions are written once over them (actions.cpp).
namespace veltra::testing {

// Primitives, one driver each.

// Shows the window and makes it the active one, as the program's start does.
void showActive(CDialog& window);
// A left click at `at`, in `window`'s client pixels, on whatever shows there.
void clickAt(CWnd& window, CPoint at);
// The keys pressed together and released where the keyboard focus is.
void sendKeys(const KeyCombination& keys);
// Characters typed where the keyboard focus is.
void typeText(const std::string& text);
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

// Composite actions, written once.

// A click in the middle of the control.
void click(CWnd& control);
// A click on the tab's caption.
void clickTab(CTabCtrl& tabs, int index);
// Clicks in the edit, selects all of its text (Ctrl+A) and types `text` over
// it, or deletes it (Delete) when `text` is empty.
void typeInto(CEdit& edit, const std::string& text);
// A key text as parseKeys reads it, e.g. "Ctrl+Shift+S", pressed where the
// keyboard focus is.
void pressKey(const std::string& keys);

}  // namespace veltra::testing
