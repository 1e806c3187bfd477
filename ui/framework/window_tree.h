#pragma once

// How the framework walks the backend's windows. Nothing outside the
// framework includes this file.

#include <optional>

#include "control_kinds.h"
#include "types.h"

namespace veltra {

class CDialog;
class CWnd;

// The window's kind's class; Window for a window not of ours.
ControlClass classOf(WindowHandle window);
// The window of its own that `window` lies in, itself when it is one.
WindowHandle topLevelOf(WindowHandle window);
// The nearest dialog that holds `window`, itself included, up to its window
// of its own; null when that has no object.
CWnd* dialogHolding(WindowHandle window);
// The CDialog attached to `window`; null when it has none.
CDialog* dialogObject(WindowHandle window);

}  // namespace veltra
