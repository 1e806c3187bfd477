// The display scale of the backend's windows: the one the system shows a
// window at, and the window made again at a new one when it moves to a
// monitor of another scale (WM_DPICHANGED). The system's own rescaling of
// dialogs, where it has one, is turned off: every system shows the same
// layout, the one the tests see under Wine.
#include "win32.h"

#include <vector>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {
namespace win32 {

namespace {

constexpr int baseDpi = 96;
constexpr int pointsPerInch = 72;

// A function of user32 that older systems lack: null there, and the program
// still starts.
template <typename Function>
Function userFunction(const char* name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

int logPixels(HWND window)
{
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? dpi : baseDpi;
}

// The dialog's font at `dpi`: its face and weight at its template's points.
HFONT fontAt(HWND dialog, int points, int dpi)
{
    LOGFONTW font{};
    if (!GetObjectW(fontOf(dialog), sizeof font, &font))
        return nullptr;
    font.lfHeight = -MulDiv(points, dpi, pointsPerInch);
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

// The dialog units of `font`, measured as the system measures them when it
// makes a dialog, so that a dialog made again at the scale it was made at
// comes out the same.
SIZE unitsOf(HWND dialog, HFONT font)
{
    static constexpr wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = GetDC(dialog);
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE extent{};
    GetTextExtentPoint32W(dc, letters, 52, &extent);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    return SIZE{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

// A dialog of ours at `dpi`: a new font, and its template's controls where
// that font's units put them; the framework widens its labels again. Controls
// made at run time take the font; their places are the window's to set again
// (OnDpiChanged).
void scaleDialog(HWND dialog, int dpi)
{
    WindowRecord* record = recordOf(dialog);
    if (!record || !record->dialogTemplate)
        return;
    const DialogTemplate& made = *record->dialogTemplate;
    HFONT font = fontAt(dialog, made.pointSize, dpi);
    if (!font)
        return;
    const SIZE units = unitsOf(dialog, font);
    const auto setFont = [font](HWND control) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    };
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlTemplate& item : made.controls) {
        if (!control)
            break;
        const RECT wanted = templateRect(item, units);
        const RECT beyond = recordOf(control) ? recordOf(control)->madeBeyond : RECT{};
        SetWindowPos(control, nullptr, wanted.left + beyond.left, wanted.top + beyond.top,
                     wanted.right + beyond.right - wanted.left - beyond.left,
                     wanted.bottom + beyond.bottom - wanted.top - beyond.top, SWP_NOZORDER | SWP_NOACTIVATE);
        setFont(control);
        if (const WindowRecord* icon = recordOf(control); icon && item.kind == ControlKind::Icon)
            showIcon(control, icon->iconId);
        control = GetWindow(control, GW_HWNDNEXT);
    }
    for (; control; control = GetWindow(control, GW_HWNDNEXT))
        setFont(control);
    // A window of its own has the rectangle the system suggested.
    if (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD)
        SetWindowPos(dialog, nullptr, 0, 0, MulDiv(made.width, units.cx, 4), MulDiv(made.height, units.cy, 8),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (record->font)
        DeleteObject(record->font);
    record->font = font;
    record->baseUnits = units;
}

BOOL CALLBACK collect(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

RECT templateRect(const ControlTemplate& control, SIZE units)
{
    // As the system places a template's control: its corner and its size
    // converted each on its own.
    const int left = MulDiv(control.x, units.cx, 4);
    const int top = MulDiv(control.y, units.cy, 8);
    return RECT{left, top, left + MulDiv(control.width, units.cx, 4), top + MulDiv(control.height, units.cy, 8)};
}

SIZE madeUnits(HWND dialog)
{
    RECT base{0, 0, 4, 8};
    MapDialogRect(dialog, &base);
    return SIZE{base.right, base.bottom};
}

int dpiOf(HWND window)
{
    // Since the system moved it to another scale, the one it announced.
    if (const WindowRecord* root = recordOf(GetAncestor(window, GA_ROOT)); root && root->dpi)
        return root->dpi;
    static const auto dpiForWindow = userFunction<decltype(&GetDpiForWindow)>("GetDpiForWindow");
    if (dpiForWindow)
        if (const UINT dpi = dpiForWindow(window))
            return static_cast<int>(dpi);
    return logPixels(window);
}

int metricFor(HWND window, int metric)
{
    static const auto metricForDpi = userFunction<decltype(&GetSystemMetricsForDpi)>("GetSystemMetricsForDpi");
    const int dpi = dpiOf(window);
    if (metricForDpi)
        return metricForDpi(metric, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(metric), dpi, logPixels(nullptr));
}

void scaleDialogsOurselves(HWND dialog)
{
    static const auto setBehaviour = userFunction<decltype(&SetDialogDpiChangeBehavior)>("SetDialogDpiChangeBehavior");
    if (setBehaviour)
        setBehaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

void dpiChanged(HWND window, int dpi, const RECT& suggested)
{
    WindowRecord* record = recordOf(window);
    if (!record || dpi <= 0)
        return;
    record->dpi = dpi;
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    std::vector<HWND> within{window};
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&within));
    for (HWND each : within)
        if (const WindowRecord* dialog = recordOf(each); dialog && dialog->kind == ControlKind::Dialog)
            scaleDialog(each, dpi);
    for (HWND each : within)
        if (const WindowRecord* picture = recordOf(each); picture && picture->imageId)
            backend::setBitmap(handleOf(each), picture->imageId);
    if (record->iconId)
        backend::setIcon(handleOf(window), record->iconId);
    WindowEvents::Report(handleOf(window), event::DpiChanged{});
}

}  // namespace win32

namespace backend {

int dpi(WindowHandle window)
{
    return win32::dpiOf(win32::hwndOf(window));
}

}  // namespace backend
}  // namespace veltra
