#pragma once

// The rules of the user's input, the same on every backend: keys, the right
// click, the mouse wheel and the focus. Nothing outside the framework
// includes this file.

#include <optional>

#include "keys.h"
#include "types.h"

namespace veltra {

struct InputRules {
    // In the window of its own that holds `target`: its accelerators first,
    // then Escape cancels it and Enter presses the focused button, else its
    // default button; in an edit Enter does nothing, so a value is never lost
    // to a key pressed to finish it.
    static bool keyPressed(WindowHandle target, const KeyCombination& keys);
    // Edits keep their own menu; anywhere else the window of its own opens
    // its menu: a page has none of its own.
    static bool contextMenu(WindowHandle target, std::optional<CPoint> at);
    // The nearest dialog that scrolls, from the window under the pointer up
    // to its window of its own, scrolls; none: the toolkit's own handling.
    static bool wheel(WindowHandle over, int delta);
    // The nearest dialog above `window` that scrolls brings it whole into view.
    static void focusTaken(WindowHandle window);
};

}  // namespace veltra
