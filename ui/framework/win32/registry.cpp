// Which object each window of ours reports to, its kind, and its end.
#include "win32.h"

#include <unordered_map>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace win32 {

namespace {

std::unordered_map<HWND, WindowRecord>& records()
{
    static std::unordered_map<HWND, WindowRecord> map;
    return map;
}

}  // namespace

void track(HWND window, ControlKind kind)
{
    records()[window].kind = kind;
    if (kind != ControlKind::Dialog)
        SetWindowSubclass(window, controlProcedure, 1, 0);
}

WindowRecord* recordOf(HWND window)
{
    const auto found = records().find(window);
    return found == records().end() ? nullptr : &found->second;
}

void untrack(HWND window)
{
    WindowRecord* record = recordOf(window);
    if (!record)
        return;
    WindowEvents::Report(handleOf(window), event::Destroyed{});
    // The object may have ended other windows of ours: look again.
    record = recordOf(window);
    if (!record)
        return;
    if (record->bitmap)
        DeleteObject(record->bitmap);
    for (HICON icon : {record->icon, record->bigIcon, record->smallIcon})
        if (icon)
            DestroyIcon(icon);
    if (record->font)
        DeleteObject(record->font);
    if (record->disabledOwner)
        EnableWindow(record->disabledOwner, TRUE);
    records().erase(window);
}

HWND ours(HWND window)
{
    while (window && !recordOf(window))
        window = GetAncestor(window, GA_PARENT);
    return window;
}

}  // namespace win32

namespace backend {

void setObject(WindowHandle window, CWnd* object)
{
    if (win32::WindowRecord* record = win32::recordOf(win32::hwndOf(window)))
        record->object = object;
}

CWnd* object(WindowHandle window)
{
    const win32::WindowRecord* record = win32::recordOf(win32::hwndOf(window));
    return record ? record->object : nullptr;
}

std::optional<ControlKind> kindOf(WindowHandle window)
{
    const win32::WindowRecord* record = win32::recordOf(win32::hwndOf(window));
    return record ? std::optional<ControlKind>(record->kind) : std::nullopt;
}

int controlId(WindowHandle window)
{
    const HWND hwnd = win32::hwndOf(window);
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) || kindOf(window) == ControlKind::Dialog)
        return noControlId;
    return GetDlgCtrlID(hwnd);
}

}  // namespace backend
}  // namespace veltra
