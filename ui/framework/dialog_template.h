#pragma once

#include <span>
#include <string>

namespace veltra {

// The control kinds the window's templates use.
enum class ControlKind {
    Label,          // static text, left-aligned
    PlainLabel,     // static text shown without mnemonic processing
    WrappedLabel,   // static text, left-aligned, broken into lines at spaces
                    // to fit the control's width; no mnemonics
    ValueEdit,      // editable single-line edit, centred
    IdentityEdit,   // read-only single-line edit, centred
    PushButton,
    DefPushButton,  // the button Enter presses
    GroupBox,       // frame without caption
    Picture,        // sunken frame holding a centred image
    Icon,           // image resource named by the control's text
    TabControl,
    EtchedLine,     // horizontal separator
};

// A control without an id of its own.
constexpr int noControlId = -1;

// One control of a dialog template. Positions and sizes are dialog units.
struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

// A key that runs a command of its dialog while the dialog is active, e.g.
// {"Ctrl+O", 1004}: the modifiers Ctrl, Shift and Alt, each followed by '+',
// then a letter, a digit or F1 to F12.
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

// The label that names an edit: the nearest one left of it whose middle lies
// within the edit's rows; null when there is none.
const ControlTemplate* labelBeside(const DialogTemplate& dialog, const ControlTemplate& edit);

// The text of a control as a reader says it: mnemonics removed.
std::string spokenText(const char* text);

}  // namespace veltra
