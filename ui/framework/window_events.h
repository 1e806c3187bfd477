#pragma once

// What a backend reports of its windows: the user's raw input and the
// system's notices, each about one window, and nothing decided. The
// framework decides what each means (window_events.cpp, input.cpp).

#include <filesystem>
#include <optional>
#include <variant>
#include <vector>

#include "keys.h"
#include "types.h"

namespace veltra {

// Where the user moved a scroll bar.
enum class ScrollStep { LineUp, LineDown, PageUp, PageDown, Top, Bottom, To };

namespace event {

// A key pressed, reported to the window with the keyboard focus (the active
// window when none has it), before that window sees it.
struct KeyPressed {
    KeyCombination keys;
};
// A button clicked, by the user or by the program.
struct Clicked {};
// The user selected another tab of a tab control.
struct TabSelected {};
// An item of the window's menu chosen.
struct MenuChosen {
    unsigned id;
};
// A right click at `at`, in screen pixels, or the menu key (no point).
struct ContextMenuAsked {
    std::optional<CPoint> at;
};
// The mouse wheel turned over the window: 120 a notch, positive away from
// the user.
struct WheelTurned {
    int delta;
};
// The window took the keyboard focus.
struct FocusTaken {};
// The close button of a dialog's frame, or the system's own cancel.
struct CloseAsked {};
// Local files dragged over the window: used when a drop there would be taken.
struct FilesDragged {};
struct FilesDropped {
    std::vector<std::filesystem::path> files;
};
// The window's size changed.
struct Resized {};
// The user moved the window's own scroll bar; `position` is where to, for
// ScrollStep::To.
struct ScrollBarMoved {
    ScrollStep step;
    int position;
};
// The window now shows at another display scale (moved to another monitor);
// the backend has already given it the size the system asked for.
struct DpiChanged {};
// The toolkit's window is gone.
struct Destroyed {};

}  // namespace event

using WindowEvent = std::variant<event::KeyPressed, event::Clicked, event::TabSelected, event::MenuChosen,
                                 event::ContextMenuAsked, event::WheelTurned, event::FocusTaken, event::CloseAsked,
                                 event::FilesDragged, event::FilesDropped, event::Resized, event::ScrollBarMoved,
                                 event::DpiChanged, event::Destroyed>;

// The one entry through which a backend reports.
class WindowEvents {
public:
    // What happened to `window`, one of the backend's. True when the
    // framework used it up; false asks the backend for its toolkit's own
    // handling.
    static bool Report(WindowHandle window, const WindowEvent& event);
    // The colours the control asks to be painted in; nothing for the
    // system's own.
    static std::optional<ControlColors> Colors(WindowHandle control);
};

}  // namespace veltra
