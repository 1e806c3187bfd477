#pragma once

// The null backend's windows: each a record, which object it reports to,
// its kind, id, text, state and place. A window is ours while it has one.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../backend.h"

namespace veltra::null {

struct MenuEntry {
    MenuItem kind;
    unsigned id;
    std::string text;
};

struct Window {
    ControlKind kind = ControlKind::Dialog;
    int id = noControlId;
    CWnd* object = nullptr;
    Window* parent = nullptr;  // the window it lies in; a window of its own: its owner
    bool topLevel = false;
    std::vector<Window*> children;

    std::string text;
    CRect rect;  // in the parent's client pixels
    bool enabled = true;
    bool shown = true;
    int selectionStart = 0;
    int selectionEnd = 0;
    std::vector<std::string> tabs;
    int currentTab = -1;
    int imageId = 0;
    int dpi = 96;
    std::optional<ScrollBar> bar;
    std::string accessibleName;
    std::vector<MenuEntry> menu;
    std::optional<int> modalResult;
};

Window* windowOf(WindowHandle window);
WindowHandle handleOf(const Window* window);
// A new window of `kind`, a child of `parent` or, `topLevel`, a window of
// its own owned by it.
Window& makeWindow(ControlKind kind, Window* parent, bool topLevel, int id);
// A control of `kind` in `parent`, as its kind shows a template's text
// (controls.cpp).
Window& makeControl(ControlKind kind, const std::string& text, int imageId, const CRect& rect, Window& parent, int id);
// The window of its own `window` lies in.
Window& rootOf(Window& window);
// The window that has the keyboard focus; null when none has.
Window*& focused();
// Shown, and so is every window it lies in.
bool visible(const Window& window);

}  // namespace veltra::null
