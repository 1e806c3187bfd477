// The system's messages to our dialogs and controls, reported to the
// framework; what it leaves goes on to the system's own handling.
#include "win32.h"

#include <map>
#include <optional>
#include <vector>

#include "registry.h"
#include "win32_backend.h"

namespace veltra::win32 {

namespace {

// A window of ours asks for a menu to be opened once the call that asked
// for it has returned: wParam the menu, lParam the point.
constexpr UINT trackMenuMessage = WM_APP + 1;

bool report(HWND window, const WindowEvent& event)
{
    return WindowEvents::Report(handleOf(window), event);
}

// A dialog's answer to a message it used up.
INT_PTR used(HWND dialog)
{
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    return TRUE;
}

int xOf(LPARAM point)
{
    return static_cast<short>(LOWORD(point));
}

int yOf(LPARAM point)
{
    return static_cast<short>(HIWORD(point));
}

// The menu key sends no point.
std::optional<CPoint> pointOf(LPARAM point)
{
    if (point == -1)
        return std::nullopt;
    return CPoint{xOf(point), yOf(point)};
}

std::vector<std::filesystem::path> droppedFiles(HDROP drop)
{
    std::vector<std::filesystem::path> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
        files.emplace_back(name);
    }
    return files;
}

std::optional<event::ScrollBarMoved> scrollBarMove(HWND window, WORD request)
{
    switch (request) {
    case SB_LINEUP:
        return event::ScrollBarMoved{ScrollStep::LineUp, 0};
    case SB_LINEDOWN:
        return event::ScrollBarMoved{ScrollStep::LineDown, 0};
    case SB_PAGEUP:
        return event::ScrollBarMoved{ScrollStep::PageUp, 0};
    case SB_PAGEDOWN:
        return event::ScrollBarMoved{ScrollStep::PageDown, 0};
    case SB_TOP:
        return event::ScrollBarMoved{ScrollStep::Top, 0};
    case SB_BOTTOM:
        return event::ScrollBarMoved{ScrollStep::Bottom, 0};
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(window, SB_VERT, &info);
        return event::ScrollBarMoved{ScrollStep::To, info.nTrackPos};
    }
    default:
        return std::nullopt;
    }
}

// Each colour's brush, made once: a control's colours are asked for at
// every paint.
HBRUSH brushOf(COLORREF colour)
{
    static std::map<COLORREF, HBRUSH> brushes;
    HBRUSH& brush = brushes[colour];
    if (!brush)
        brush = CreateSolidBrush(colour);
    return brush;
}

COLORREF colorRef(Color colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

void close(HWND dialog)
{
    if (!report(dialog, event::CloseAsked{}))
        backend::endDialog(handleOf(dialog), IDCANCEL);
}

}  // namespace

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        // The framework's own OnInitDialog decides where the focus goes.
        return FALSE;
    case WM_COMMAND: {
        const auto control = reinterpret_cast<HWND>(lParam);
        if (control && HIWORD(wParam) == BN_CLICKED)
            report(control, event::Clicked{});
        else if (!control && LOWORD(wParam) == IDCANCEL)
            close(dialog);
        return TRUE;
    }
    case WM_CLOSE:
        close(dialog);
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TCN_SELCHANGE)
            report(header->hwndFrom, event::TabSelected{});
        return FALSE;
    }
    case WM_SYSCOMMAND:
        return report(dialog, event::MenuChosen{static_cast<unsigned>(wParam)}) ? used(dialog) : FALSE;
    case WM_CONTEXTMENU: {
        const HWND target = ours(reinterpret_cast<HWND>(wParam));
        return report(target ? target : dialog, event::ContextMenuAsked{pointOf(lParam)}) ? used(dialog) : FALSE;
    }
    case trackMenuMessage: {
        const UINT chosen = static_cast<UINT>(TrackPopupMenu(reinterpret_cast<HMENU>(wParam),
                                                             TPM_RETURNCMD | TPM_RIGHTBUTTON, xOf(lParam),
                                                             yOf(lParam), 0, dialog, nullptr));
        if (chosen)
            SendMessageW(dialog, WM_SYSCOMMAND, chosen, 0);
        return TRUE;
    }
    case WM_MOUSEWHEEL:
        return report(dialog, event::WheelTurned{GET_WHEEL_DELTA_WPARAM(wParam)}) ? used(dialog) : FALSE;
    case WM_VSCROLL:
        // A scroll bar control of the dialog's sends its own handle.
        if (lParam != 0)
            return FALSE;
        if (const std::optional<event::ScrollBarMoved> moved = scrollBarMove(dialog, LOWORD(wParam)))
            report(dialog, *moved);
        return used(dialog);
    case WM_SIZE:
        report(dialog, event::Resized{});
        return FALSE;
    case WM_DPICHANGED:
        dpiChanged(dialog, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return used(dialog);
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        // Copied, and the drop let go of, before a message box can run.
        const std::vector<std::filesystem::path> files = droppedFiles(drop);
        DragFinish(drop);
        report(dialog, event::FilesDropped{files});
        return TRUE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // A read-only edit asks as a static does.
        const auto control = reinterpret_cast<HWND>(lParam);
        const std::optional<ControlColors> colours = WindowEvents::Colors(handleOf(control));
        if (!colours)
            return FALSE;
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, colorRef(colours->text));
        SetBkColor(dc, colorRef(colours->back));
        return reinterpret_cast<INT_PTR>(brushOf(colorRef(colours->back)));
    }
    case WM_NCDESTROY:
        untrack(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (message) {
    case WM_NCDESTROY:
        untrack(window);
        RemoveWindowSubclass(window, controlProcedure, id);
        break;
    case WM_MOUSEWHEEL:
        if (report(window, event::WheelTurned{GET_WHEEL_DELTA_WPARAM(wParam)}))
            return 0;
        break;
    case WM_CONTEXTMENU:
        if (report(window, event::ContextMenuAsked{pointOf(lParam)}))
            return 0;
        break;
    case WM_SETFOCUS: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        report(window, event::FocusTaken{});
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void postTrackMenu(HWND owner, HMENU menu, CPoint point)
{
    PostMessageW(owner, trackMenuMessage, reinterpret_cast<WPARAM>(menu), MAKELPARAM(point.x, point.y));
}

}  // namespace veltra::win32
