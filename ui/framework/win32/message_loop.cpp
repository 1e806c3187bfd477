// The backend's message loop: a key goes to the framework first, what it
// leaves to the dialog manager; and a dialog's modal loop.
#include "win32.h"

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace win32 {

namespace {

// A message taken from the queue, to its window.
void deliver(MSG& message)
{
    if (!preTranslateMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

bool preTranslateMessage(MSG& message)
{
    if (!message.hwnd)
        return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    const WindowRecord* record = recordOf(root);
    if (!record || record->kind != ControlKind::Dialog)
        return false;
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        const std::optional<KeyCombination> keys = keysOf(message);
        const HWND target = ours(message.hwnd);
        if (keys && WindowEvents::Report(handleOf(target ? target : root), event::KeyPressed{*keys}))
            return true;
    }
    return IsDialogMessageW(root, &message);
}

void processMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        deliver(message);
    }
}

}  // namespace win32

namespace backend {

using win32::hwndOf;

void endDialog(WindowHandle dialog, int result)
{
    const HWND hwnd = hwndOf(dialog);
    if (win32::WindowRecord* record = win32::recordOf(hwnd)) {
        record->modalResult = result;
        record->modalDone = true;
        // The owner is enabled before the dialog goes, so that it is the
        // window the system activates next.
        if (record->disabledOwner) {
            EnableWindow(record->disabledOwner, TRUE);
            record->disabledOwner = nullptr;
        }
    }
    ShowWindow(hwnd, SW_HIDE);
}

int runModal(WindowHandle dialog)
{
    const HWND hwnd = hwndOf(dialog);
    win32::WindowRecord* record = win32::recordOf(hwnd);
    if (!record)
        return IDCANCEL;
    record->modalDone = false;
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        record->disabledOwner = owner;
    }
    // A window of its own opens centred on its owner; one without, on the
    // screen (DS_CENTER).
    if (owner && !IsWindowVisible(hwnd)) {
        RECT area{};
        RECT frame{};
        GetWindowRect(owner, &area);
        GetWindowRect(hwnd, &frame);
        SetWindowPos(hwnd, nullptr, (area.left + area.right - (frame.right - frame.left)) / 2,
                     (area.top + area.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);

    MSG message;
    while ((record = win32::recordOf(hwnd)) && !record->modalDone) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        win32::deliver(message);
    }
    record = win32::recordOf(hwnd);
    if (!record)
        return IDCANCEL;
    if (record->disabledOwner) {
        EnableWindow(record->disabledOwner, TRUE);
        record->disabledOwner = nullptr;
    }
    return record->modalDone ? record->modalResult : IDCANCEL;
}

}  // namespace backend
}  // namespace veltra
