#pragma once

#include <cstddef>
#include <iterator>

namespace veltra {

// The windows the framework makes, from a template or at run time. What the
// framework's rules need of a kind is its row in controlKinds below; how it
// looks is its backend's factory for it.
enum class ControlKind {
    Dialog,         // made from a template: a window of its own, or a page
    Label,          // static text, left-aligned, one line
    PlainLabel,     // the same, shown without mnemonic processing
    WrappedLabel,   // static text, left-aligned, broken into lines at spaces
                    // to fit the control's width; no mnemonics
    CentredLabel,   // static text, centred, one line; no mnemonics
    ValueEdit,      // editable single-line edit, centred
    IdentityEdit,   // read-only single-line edit, centred
    GridEdit,       // editable single-line edit, centred, with a thin border,
                    // for controls made at run time in a grid
    PushButton,
    DefPushButton,  // the button Enter presses when the focus is on no button
    GroupBox,       // frame without caption
    Picture,        // sunken frame holding a centred image
    Icon,           // the template's image, drawn at the control's size
    TabControl,
    EtchedLine,     // horizontal separator
};
// The last kind above: the table below has a row for each up to it.
constexpr ControlKind lastControlKind = ControlKind::EtchedLine;

// What the framework sees a kind's window as: the class CWnd::FromHandle
// makes for it.
enum class ControlClass { Window, Dialog, Static, Edit, Button, TabControl };

struct ControlTraits {
    ControlKind kind;
    ControlClass controlClass;
    bool showsText;   // a template's text is shown in it
    bool takesInput;  // a click gives it the keyboard focus
    bool tabStop;     // Tab reaches it
    bool readOnly;    // text cannot be typed into it
    bool lineLabel;   // a one-line label: it widens rightwards to show its
                      // whole text, and names the edit to its right
};

// clang-format off
inline constexpr ControlTraits controlKinds[] = {
    // kind                       class                       text   input  tab    r/o    line label
    {ControlKind::Dialog,        ControlClass::Dialog,     true,  false, false, false, false},
    {ControlKind::Label,         ControlClass::Static,     true,  false, false, false, true},
    {ControlKind::PlainLabel,    ControlClass::Static,     true,  false, false, false, true},
    {ControlKind::WrappedLabel,  ControlClass::Static,     true,  false, false, false, false},
    {ControlKind::CentredLabel,  ControlClass::Static,     true,  false, false, false, false},
    {ControlKind::ValueEdit,     ControlClass::Edit,       false, true,  true,  false, false},
    {ControlKind::IdentityEdit,  ControlClass::Edit,       false, true,  true,  true,  false},
    {ControlKind::GridEdit,      ControlClass::Edit,       false, true,  false, false, false},
    {ControlKind::PushButton,    ControlClass::Button,     true,  true,  true,  false, false},
    {ControlKind::DefPushButton, ControlClass::Button,     true,  true,  true,  false, false},
    {ControlKind::GroupBox,      ControlClass::Window,     false, false, false, false, false},
    {ControlKind::Picture,       ControlClass::Static,     false, false, false, false, false},
    {ControlKind::Icon,          ControlClass::Static,     false, false, false, false, false},
    {ControlKind::TabControl,    ControlClass::TabControl, false, false, true,  false, false},
    {ControlKind::EtchedLine,    ControlClass::Window,     false, false, false, false, false},
};
// clang-format on

constexpr bool rowsInKindOrder()
{
    for (std::size_t i = 0; i < std::size(controlKinds); ++i)
        if (static_cast<std::size_t>(controlKinds[i].kind) != i)
            return false;
    return std::size(controlKinds) == static_cast<std::size_t>(lastControlKind) + 1;
}
static_assert(rowsInKindOrder(), "controlKinds holds one row for each ControlKind, in the enum's order");

constexpr const ControlTraits& traitsOf(ControlKind kind)
{
    return controlKinds[static_cast<std::size_t>(kind)];
}

}  // namespace veltra
