// Dialogs made from templates, as the system makes them: an in-memory
// dialog template in the template's font and dialog units, and the system's
// own controls of each kind with the template's ids.
#include "win32.h"

#include <string>
#include <string_view>
#include <vector>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace win32 {

namespace {

// The face that stands for the system's dialog font: with DS_SHELLFONT, the
// one the desktop's own dialogs use.
constexpr const wchar_t* dialogFace = L"MS Shell Dlg";

// An in-memory DLGTEMPLATEEX and its items, written word by word.
class TemplateWriter {
public:
    void word(WORD value) { m_words.push_back(value); }
    void dword(DWORD value)
    {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(std::wstring_view text)
    {
        for (wchar_t letter : text)
            word(static_cast<WORD>(letter));
        word(0);
    }
    void alignToDword()
    {
        if (m_words.size() % 2)
            word(0);
    }
    const WORD* data() const { return m_words.data(); }

private:
    std::vector<WORD> m_words;
};

// Template texts are Latin-1, as the window's resources are written.
std::wstring latin1(const char* text)
{
    std::wstring out;
    for (const char* c = text; c && *c; ++c)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return out;
}

TemplateWriter writeTemplate(const DialogTemplate& dialog, bool child)
{
    TemplateWriter out;
    const DWORD style = child ? WS_CHILD | DS_CONTROL | DS_SHELLFONT
                              : WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SHELLFONT;
    out.word(1);       // dlgVer
    out.word(0xFFFF);  // signature: the extended form
    out.dword(static_cast<DWORD>(dialog.id));  // helpID: the template it was made from
    out.dword(child ? WS_EX_CONTROLPARENT : 0);
    out.dword(style);
    out.word(static_cast<WORD>(dialog.controls.size()));
    out.word(0);
    out.word(0);
    out.word(static_cast<WORD>(dialog.width));
    out.word(static_cast<WORD>(dialog.height));
    out.word(0);  // no menu
    out.word(0);  // the dialog class
    out.text(latin1(dialog.caption));
    out.word(static_cast<WORD>(dialog.pointSize));
    out.word(FW_NORMAL);
    out.word(MAKEWORD(FALSE, DEFAULT_CHARSET));
    out.text(dialogFace);

    for (const ControlTemplate& control : dialog.controls) {
        const SystemControl kind = systemControlOf(control.kind);
        out.alignToDword();
        out.dword(0);  // helpID
        out.dword(kind.extendedStyle);
        out.dword(WS_CHILD | WS_VISIBLE | kind.style);
        out.word(static_cast<WORD>(control.x));
        out.word(static_cast<WORD>(control.y));
        out.word(static_cast<WORD>(control.width));
        out.word(static_cast<WORD>(control.height));
        out.dword(static_cast<DWORD>(control.id));
        if (kind.atom) {
            out.word(0xFFFF);
            out.word(kind.atom);
        } else {
            out.text(kind.name);
        }
        out.text(traitsOf(control.kind).showsText ? latin1(control.text) : std::wstring());
        out.word(0);  // no creation data
    }
    return out;
}

// After the system made the dialog and its controls: each is recorded, and
// icons are drawn at their control's size.
void adoptControls(HWND dialog, const DialogTemplate& dialogTemplate)
{
    const SIZE units = madeUnits(dialog);
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlTemplate& item : dialogTemplate.controls) {
        if (!control)
            break;
        track(control, item.kind);
        // Kept at every scale, as the system does it only when it makes
        // the control (Wine widens an etched line by its edge).
        RECT made{};
        GetWindowRect(control, &made);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&made), 2);
        const RECT wanted = templateRect(item, units);
        recordOf(control)->madeBeyond = RECT{made.left - wanted.left, made.top - wanted.top,
                                             made.right - wanted.right, made.bottom - wanted.bottom};
        if (item.kind == ControlKind::Icon)
            showIcon(control, item.imageId);
        control = GetWindow(control, GW_HWNDNEXT);
    }
}

}  // namespace

HFONT fontOf(HWND window)
{
    if (const WindowRecord* record = recordOf(window); record && record->font)
        return record->font;
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

}  // namespace win32

namespace backend {

using win32::handleOf;
using win32::hwndOf;

WindowHandle createDialog(const DialogTemplate& dialogTemplate, WindowHandle parent, bool child)
{
    const win32::TemplateWriter data = win32::writeTemplate(dialogTemplate, child);
    const HWND dialog =
        CreateDialogIndirectParamW(win32::instance(), reinterpret_cast<LPCDLGTEMPLATEW>(data.data()), hwndOf(parent),
                                   win32::dialogProcedure, 0);
    if (!dialog)
        return {};
    win32::track(dialog, ControlKind::Dialog);
    win32::recordOf(dialog)->dialogTemplate = &dialogTemplate;
    win32::scaleDialogsOurselves(dialog);
    win32::adoptControls(dialog, dialogTemplate);
    return handleOf(dialog);
}

DialogUnits dialogUnits(WindowHandle dialog)
{
    // Made again at a new scale: the system keeps the units of its first font.
    if (const win32::WindowRecord* record = win32::recordOf(hwndOf(dialog)); record && record->font)
        return DialogUnits(record->baseUnits.cx, record->baseUnits.cy);
    const SIZE units = win32::madeUnits(hwndOf(dialog));
    return DialogUnits(units.cx, units.cy);
}

}  // namespace backend
}  // namespace veltra
