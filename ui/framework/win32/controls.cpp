// The system's control for each kind: its class and styles, in a dialog
// template and made at run time alike.
#include "win32.h"

#include <iterator>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace win32 {

namespace {

constexpr WORD button = 0x0080;
constexpr WORD edit = 0x0081;
constexpr WORD text = 0x0082;

// One for each kind, in ControlKind's order, with the styles of the kind
// alone; the table's tab stop and read-only columns are added to them.
// clang-format off
constexpr SystemControl systemControls[] = {
    {0,      nullptr,        0,                                                 0},  // a dialog: its template
    {text,   WC_STATICW,     SS_LEFTNOWORDWRAP,                                 0},
    {text,   WC_STATICW,     SS_LEFTNOWORDWRAP | SS_NOPREFIX,                   0},
    {text,   WC_STATICW,     SS_LEFT | SS_NOPREFIX,                             0},
    {text,   WC_STATICW,     SS_CENTER | SS_NOPREFIX,                           0},
    {edit,   WC_EDITW,       ES_CENTER | ES_AUTOHSCROLL | WS_BORDER,            0},
    {edit,   WC_EDITW,       ES_CENTER | ES_AUTOHSCROLL | WS_BORDER,            0},
    {edit,   WC_EDITW,       WS_BORDER | ES_CENTER | ES_AUTOHSCROLL,            0},
    {button, WC_BUTTONW,     BS_PUSHBUTTON,                                     0},
    {button, WC_BUTTONW,     BS_DEFPUSHBUTTON,                                  0},
    {button, WC_BUTTONW,     BS_GROUPBOX,                                       0},
    {text,   WC_STATICW,     SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN,            0},
    {text,   WC_STATICW,     SS_ICON,                                           0},
    // Its pages are its children: the dialog manager's Tab goes into them.
    {0,      WC_TABCONTROLW, WS_CLIPSIBLINGS,                                   WS_EX_CONTROLPARENT},
    {text,   WC_STATICW,     SS_ETCHEDHORZ,                                     0},
};
// clang-format on
static_assert(std::size(systemControls) == std::size(controlKinds));

}  // namespace

SystemControl systemControlOf(ControlKind kind)
{
    const ControlTraits& traits = traitsOf(kind);
    SystemControl control = systemControls[static_cast<std::size_t>(kind)];
    control.style |= (traits.tabStop ? WS_TABSTOP : 0) | (traits.readOnly ? ES_READONLY : 0);
    return control;
}

}  // namespace win32

namespace backend {

WindowHandle createControl(ControlKind kind, const std::string& text, const CRect& rect, WindowHandle parent, int id)
{
    if (kind == ControlKind::Dialog)
        return {};
    const win32::SystemControl control = win32::systemControlOf(kind);
    const HWND made =
        CreateWindowExW(control.extendedStyle, control.name, win32::wide(text).c_str(),
                        WS_CHILD | WS_VISIBLE | control.style, rect.left, rect.top, rect.Width(), rect.Height(),
                        win32::hwndOf(parent), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win32::instance(),
                        nullptr);
    if (!made)
        return {};
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(win32::fontOf(win32::hwndOf(parent))), FALSE);
    win32::track(made, kind);
    return win32::handleOf(made);
}

}  // namespace backend
}  // namespace veltra
