#pragma once

#include <span>
#include <string>

#include "control_kinds.h"

namespace veltra {

// A control without an id of its own.
constexpr int noControlId = -1;

// One control of a dialog template. Positions and sizes are dialog units.
struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    int imageId = 0;  // an Icon's image: the program's image of this id
};

// A key that runs a command of its dialog while the dialog is active, e.g.
// {"Ctrl+O", 1004}; the keys as parseKeys reads them.
struct Accelerator {
    const char* keys;
    int commandId;
};

// A dialog as data. The controls are in tab order.
struct DialogTemplate {
    int id;
    const char* caption;
    int width, height;  // dialog units
    int pointSize;      // of the dialog font
    std::span<const ControlTemplate> controls;
};

// The label that names an edit: the nearest one-line label left of it whose
// middle lies within the edit's rows; null when there is none.
const ControlTemplate* labelBeside(const DialogTemplate& dialog, const ControlTemplate& edit);

// The text of a control as a reader says it: mnemonics removed.
std::string spokenText(const char* text);

}  // namespace veltra
