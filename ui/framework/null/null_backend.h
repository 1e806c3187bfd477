#pragma once

// The null backend: windows as records in memory, no window system. The
// tests' driver gives the user's input here; each input is reported to the
// framework as a toolkit reports it, and what the framework leaves is done
// as the system's own controls do it.

#include <filesystem>
#include <string>
#include <vector>

#include "../keys.h"
#include "../types.h"

namespace veltra::null {

// Text is measured in a fixed font: every character this wide, each line
// this tall; a dialog unit is a quarter of the one and an eighth of the other.
constexpr int characterWidth = 6;
constexpr int lineHeight = 13;
// A scroll bar's width, taken from the client area it shows beside.
constexpr int scrollBarWidth = 16;

// Shows the dialog and makes it the active window.
void activate(WindowHandle dialog);
// A left click at `at`, in `window`'s client pixels, on whatever shows
// there: a button is clicked, a tab's caption selects it, a window that
// takes input takes the focus.
void click(WindowHandle window, CPoint at);
// A key pressed and released at the focus: Tab moves the focus, Ctrl+A
// selects an edit's text, Delete deletes it.
void press(const KeyCombination& keys);
// Characters typed at the focus: an editable edit takes them over its
// selection.
void type(const std::string& text);
// The close button of the dialog's frame.
void close(WindowHandle dialog);
void turnWheel(WindowHandle over, int delta);
// Files dropped on `over`; whether a window took them.
bool drop(WindowHandle over, const std::vector<std::filesystem::path>& files);
// The window of its own `window` lies in moved to a monitor shown at `dpi`.
void moveToDpi(WindowHandle window, int dpi);

// What shows: where a window lies in its parent's client pixels, whether a
// static text fits its place (in lines where it breaks them), and whether
// the window shows a scroll bar.
CRect placeOf(WindowHandle window);
bool showsWholeText(WindowHandle label);
bool showsScrollBar(WindowHandle window);

}  // namespace veltra::null
