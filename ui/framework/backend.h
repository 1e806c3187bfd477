#pragma once

// What a toolkit gives the framework. The framework's classes and rules are
// written once on top of these functions; a backend (qt/, win32/, null/)
// implements every one of them in its own folder and reports what happens
// in its windows through WindowEvents::Report (window_events.h). A backend
// creates the system's controls and reports; it decides nothing the
// framework decides: keys, menus, labels' widths, scrolling, drops, prompts.
// Nothing outside the framework includes this file.
//
// A backend's checklist, one file for each concern (README.md lists them):
//   registry      each window it made: its object, kind and id (setObject...)
//   window        text, state and place of a window
//   controls      one factory per ControlKind (createControl), tabs, edits
//   dialog_builder  a dialog and its controls from a template, its units
//   events        raw input and notices to WindowEvents::Report
//   keys          the toolkit's keys as KeyCombination, and back
//   message_loop  the modal loop, endDialog
//   scrolling     the scroll bar shown and the children moved
//   display_scale the dpi a window is shown at
//   images, menu, prompts, window_system
//
// A backend that includes <windows.h> undefines the names it turns into
// A/W macros (GetWindowText, SetWindowText, LoadAccelerators, AppendMenu,
// GetMenuString) before it includes the framework's headers.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "dialog_units.h"
#include "prompts.h"
#include "types.h"
#include "window_events.h"

namespace veltra {

class CWnd;

namespace backend {

// Windows. A child is listed among its parent's children in the order it was
// made; windows of their own (dialogs with an owner) are not children but
// have their owner as parent.
//
// The dialog and its template's controls, in the template's order, each
// made by its kind's factory; hidden. `child`: a borderless page of `parent`.
WindowHandle createDialog(const DialogTemplate& dialogTemplate, WindowHandle parent, bool child);
// A visible control of a kind other than Dialog at `rect` (parent pixels) in
// the parent's font.
WindowHandle createControl(ControlKind kind, const std::string& text, const CRect& rect, WindowHandle parent, int id);
void destroyWindow(WindowHandle window);

void setObject(WindowHandle window, CWnd* object);
CWnd* object(WindowHandle window);
// The kind the window was made as; nothing for a window not of ours.
std::optional<ControlKind> kindOf(WindowHandle window);
int controlId(WindowHandle window);
WindowHandle parent(WindowHandle window);
// A window of its own, with a frame, rather than a child of another.
bool isTopLevel(WindowHandle window);
std::vector<WindowHandle> children(WindowHandle window);
// The window of ours that holds the keyboard focus, or contains what does.
WindowHandle focus();

std::string text(WindowHandle window);
void setText(WindowHandle window, const std::string& text);
bool isEnabled(WindowHandle window);
void setEnabled(WindowHandle window, bool enabled);
bool isVisible(WindowHandle window);
void setVisible(WindowHandle window, bool visible);
void setFocus(WindowHandle window);
CRect clientRect(WindowHandle window);
// Where the window lies in its parent's client pixels.
CRect windowRect(WindowHandle window);
// A point of the window's client area in screen pixels.
CPoint screenPoint(WindowHandle window, CPoint client);
// The width of one line of `text` in the window's font, in its pixels.
int textWidth(WindowHandle window, const std::string& text);
// The dots per inch the window is shown at, 96 at a display scale of 100 %.
// A toolkit that scales pixel lengths on its own reports 96.
int dpi(WindowHandle window);
void moveWindow(WindowHandle window, const CRect& rect);
void invalidate(WindowHandle window);
// What a screen reader calls the window; `label`, when given, is the static
// text that stands for it.
void setAccessibleName(WindowHandle window, const std::string& name, WindowHandle label);
// Tells the system that local files may be dropped on the window; the drop
// is reported to the window under the pointer.
void acceptFileDrops(WindowHandle window, bool accept);

// The window's scroll bar at its right edge, outside its client area;
// nothing hides it.
void setScrollBar(WindowHandle window, const std::optional<ScrollBar>& bar);
// Moves the window's children by `pixels` (up when negative), as its content
// scrolls.
void scrollChildren(WindowHandle window, int pixels);
// The lines a notch of the mouse wheel scrolls, as the user set it; 0 for
// a page.
int wheelScrollLines();

void setSelection(WindowHandle edit, int start, int end);
void selection(WindowHandle edit, int& start, int& end);
// Clicks the button as the user does; its click is reported.
void click(WindowHandle button);
void setBitmap(WindowHandle picture, int imageId);
int bitmap(WindowHandle picture);

int insertTab(WindowHandle tabs, int index, const std::string& text);
int tabCount(WindowHandle tabs);
std::string tabText(WindowHandle tabs, int index);
int currentTab(WindowHandle tabs);
// Without reporting, as the program's own selection is.
void setCurrentTab(WindowHandle tabs, int index);
// The tab's caption in the tab control's client pixels.
CRect tabRect(WindowHandle tabs, int index);

// Dialogs. The units are those of the dialog's own font.
DialogUnits dialogUnits(WindowHandle dialog);
void setIcon(WindowHandle dialog, int imageId);
// Ends the dialog's modal loop, if one runs, and hides it.
void endDialog(WindowHandle dialog, int result);
// Runs the dialog's own modal loop until EndDialog; returns its result.
int runModal(WindowHandle dialog);

// Choosing an item of a window's menu is reported as event::MenuChosen.
MenuHandle systemMenu(WindowHandle window);
void appendMenuItem(MenuHandle menu, MenuItem kind, unsigned id, const std::string& text);
int menuItemCount(MenuHandle menu);
unsigned menuItemId(MenuHandle menu, int position);
std::string menuItemText(MenuHandle menu, int position);
void trackPopupMenu(MenuHandle menu, CPoint point);

// The system's own boxes and file dialogs, modal, owned by `owner` (a window
// of its own, or none) and titled with the application's name.
// A warning with an OK button.
void showMessageBox(WindowHandle owner, const std::string& text);
// Yes and No; No is the default, and Escape's answer.
bool askYesNo(WindowHandle owner, const std::string& question);
// An existing file to open, or a file to save to (replacing one is
// confirmed first); nothing when cancelled.
std::optional<std::filesystem::path> askFilePath(WindowHandle owner, const FileQuestion& question, bool saving);

// The program's arguments as UTF-8, from what main() was given or from the
// system's own record of them.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace backend
}  // namespace veltra
