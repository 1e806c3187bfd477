#pragma once

// What a toolkit gives the framework. The framework's classes are written
// once on top of these functions; a backend (qt/, win32/)
// implements every one of them in its own folder, and CMake links the one
// for the platform. Nothing outside the framework includes this file.
//
// A backend that includes <windows.h> undefines the names it turns into
// A/W macros (GetWindowText, SetWindowText, LoadAccelerators, AppendMenu,
// GetMenuString) before it includes the framework's headers.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "dialog_units.h"
#include "types.h"

namespace veltra {

class CWnd;
class Prompts;

// The kind of a toolkit window, which decides the class FromHandle makes.
enum class WindowClass { Dialog, Edit, Static, Button, TabControl, Other };

// How a backend reports what happened in its windows: each call reaches the
// object attached to the window, and does nothing when none is. A result of
// false asks the backend for its toolkit's default.
class WindowEvents {
public:
    // A button of `dialog` clicked.
    static void Command(WindowHandle dialog, int id);
    // A key of the dialog's accelerators; ignored while the control of that
    // command is disabled.
    static void Accelerator(WindowHandle dialog, int id);
    static void Notify(WindowHandle dialog, int id, veltra::Notify code);
    // Escape or the frame's close button.
    static bool Cancel(WindowHandle dialog);
    static void SysCommand(WindowHandle window, unsigned id);
    static bool ContextMenu(WindowHandle window, WindowHandle target, CPoint point);
    static void DropFiles(WindowHandle window, const std::vector<std::filesystem::path>& files);
    static std::optional<ControlColors> Colors(WindowHandle control);
    // The toolkit's window is gone: its object lets go of it.
    static void Destroyed(WindowHandle window);
    // The window now shows at another display scale (moved to another
    // monitor); the backend has already given it the size the system asked
    // for.
    static void DpiChanged(WindowHandle window);
};

namespace backend {

// Windows. A child is listed among its parent's children in the order it was
// made; windows of their own (dialogs with an owner) are not children.
WindowHandle createDialog(const DialogTemplate& dialogTemplate, WindowHandle parent, bool child);
WindowHandle createStatic(const std::string& text, TextAlign align, const CRect& rect, WindowHandle parent, int id);
WindowHandle createEdit(bool tabStop, const CRect& rect, WindowHandle parent, int id);
void destroyWindow(WindowHandle window);

void setObject(WindowHandle window, CWnd* object);
CWnd* object(WindowHandle window);
WindowClass classOf(WindowHandle window);
int controlId(WindowHandle window);
WindowHandle parent(WindowHandle window);
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
// The dots per inch the window is shown at, 96 at a display scale of 100 %.
// A toolkit that scales pixel lengths on its own reports 96.
int dpi(WindowHandle window);
void moveWindow(WindowHandle window, const CRect& rect);
void invalidate(WindowHandle window);
void setAccessibleName(WindowHandle window, const std::string& name, WindowHandle label);
// The window's content, laid out from its top, is `pixels` tall. Taller
// than the window, it scrolls: a vertical bar at the window's right edge
// (outside its client area), the mouse wheel over it or its controls, and a
// control that takes the keyboard focus scrolled whole into view. A height
// that fits, 0 included, takes the bar away. Each call scrolls back to the
// top first.
void setScrollHeight(WindowHandle window, int pixels);
void acceptFileDrops(WindowHandle window, bool accept);

void setSelection(WindowHandle edit, int start, int end);
void selection(WindowHandle edit, int& start, int& end);
void click(WindowHandle button);
void setBitmap(WindowHandle picture, int imageId);
int bitmap(WindowHandle picture);

int insertTab(WindowHandle tabs, int index, const std::string& text);
int tabCount(WindowHandle tabs);
std::string tabText(WindowHandle tabs, int index);
int currentTab(WindowHandle tabs);
void setCurrentTab(WindowHandle tabs, int index);

// Dialogs. The units are those of the dialog's own font.
DialogUnits dialogUnits(WindowHandle dialog);
void loadAccelerators(WindowHandle dialog, std::span<const Accelerator> accelerators);
void setIcon(WindowHandle dialog, int imageId);
// Ends the dialog's modal loop, if one runs, and hides it.
void endDialog(WindowHandle dialog, int result);
// Runs the dialog's own modal loop until EndDialog; returns its result.
int runModal(WindowHandle dialog);

MenuHandle systemMenu(WindowHandle window);
void appendMenuItem(MenuHandle menu, MenuItem kind, unsigned id, const std::string& text);
int menuItemCount(MenuHandle menu);
unsigned menuItemId(MenuHandle menu, int position);
std::string menuItemText(MenuHandle menu, int position);
void trackPopupMenu(MenuHandle menu, CPoint point);

// The toolkit's own message boxes and file dialogs.
Prompts& dialogPrompts();

// The program's arguments as UTF-8, from what main() was given or from the
// system's own record of them.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace backend
}  // namespace veltra
