// Dialogs made from templates, as the system makes them: an in-memory
// dialog template in the template's font and dialog units, the system's own
// controls with the template's ids, and the dialog manager's keyboard.
#include "win32.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
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

// A window of ours asks for a menu to be opened once the call that asked
// for it has returned: wParam the menu, lParam the point.
constexpr UINT trackMenuMessage = WM_APP + 1;

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

struct ControlClass {
    WORD atom;               // a predefined class, or 0
    const wchar_t* name;     // otherwise
    DWORD style;
    DWORD extendedStyle;
    WindowClass kind;
};

ControlClass classOf(ControlKind kind)
{
    constexpr WORD button = 0x0080;
    constexpr WORD edit = 0x0081;
    constexpr WORD text = 0x0082;
    switch (kind) {
    case ControlKind::Label:
        return {text, nullptr, SS_LEFTNOWORDWRAP, 0, WindowClass::Static};
    case ControlKind::PlainLabel:
        return {text, nullptr, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, WindowClass::Static};
    case ControlKind::WrappedLabel:
        return {text, nullptr, SS_LEFT | SS_NOPREFIX, 0, WindowClass::Static};
    case ControlKind::ValueEdit:
        return {edit, nullptr, ES_CENTER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, WindowClass::Edit};
    case ControlKind::IdentityEdit:
        return {edit, nullptr, ES_CENTER | ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP, 0, WindowClass::Edit};
    case ControlKind::PushButton:
        return {button, nullptr, BS_PUSHBUTTON | WS_TABSTOP, 0, WindowClass::Button};
    case ControlKind::DefPushButton:
        return {button, nullptr, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, WindowClass::Button};
    case ControlKind::GroupBox:
        return {button, nullptr, BS_GROUPBOX, 0, WindowClass::Other};
    case ControlKind::Picture:
        return {text, nullptr, SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, 0, WindowClass::Static};
    case ControlKind::Icon:
        return {text, nullptr, SS_ICON, 0, WindowClass::Static};
    case ControlKind::TabControl:
        // Its pages are its children: the dialog manager's Tab goes into them.
        return {0, WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, WindowClass::TabControl};
    case ControlKind::EtchedLine:
        return {text, nullptr, SS_ETCHEDHORZ, 0, WindowClass::Other};
    }
    return {text, nullptr, 0, 0, WindowClass::Other};
}

bool showsText(ControlKind kind)
{
    return kind != ControlKind::Picture && kind != ControlKind::Icon && kind != ControlKind::ValueEdit &&
           kind != ControlKind::IdentityEdit && kind != ControlKind::TabControl && kind != ControlKind::EtchedLine;
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
        const ControlClass kind = classOf(control.kind);
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
        out.text(showsText(control.kind) ? latin1(control.text) : std::wstring());
        out.word(0);  // no creation data
    }
    return out;
}

// The width `text` takes in `window`'s font.
int textWidth(HWND window, const std::wstring& text)
{
    HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, fontOf(window));
    RECT rect{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return rect.right - rect.left;
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

bool isChildDialog(HWND dialog)
{
    return GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD;
}

// After the system made the dialog and its controls: each is recorded,
// labels fit their text, icons are drawn at their control's size.
void adoptControls(HWND dialog, const DialogTemplate& dialogTemplate)
{
    const SIZE units = madeUnits(dialog);
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlTemplate& item : dialogTemplate.controls) {
        if (!control)
            break;
        track(control, classOf(item.kind).kind);
        // Kept at every scale, as the system does it only when it makes
        // the control (Wine widens an etched line by its edge).
        RECT made{};
        GetWindowRect(control, &made);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&made), 2);
        const RECT wanted = templateRect(item, units);
        recordOf(control)->madeBeyond = RECT{made.left - wanted.left, made.top - wanted.top,
                                             made.right - wanted.right, made.bottom - wanted.bottom};
        if (item.kind == ControlKind::Label || item.kind == ControlKind::PlainLabel)
            fitLabel(control);
        if (item.kind == ControlKind::Icon)
            showIcon(control, std::atoi(item.text));
        control = GetWindow(control, GW_HWNDNEXT);
    }
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

int xOf(LPARAM point)
{
    return static_cast<short>(LOWORD(point));
}

int yOf(LPARAM point)
{
    return static_cast<short>(HIWORD(point));
}

bool keyDown(int key)
{
    return GetKeyState(key) < 0;
}

// "Ctrl+Shift+S" as the system's accelerator entry; false for a key it
// cannot name.
bool parseKeys(const char* keys, int command, ACCEL& accelerator)
{
    accelerator = ACCEL{FVIRTKEY, 0, static_cast<WORD>(command)};
    std::string_view rest(keys);
    for (;;) {
        const auto plus = rest.find('+');
        if (plus == std::string_view::npos || plus + 1 == rest.size())
            break;
        const std::string_view modifier = rest.substr(0, plus);
        if (modifier == "Ctrl")
            accelerator.fVirt |= FCONTROL;
        else if (modifier == "Shift")
            accelerator.fVirt |= FSHIFT;
        else if (modifier == "Alt")
            accelerator.fVirt |= FALT;
        else
            return false;
        rest.remove_prefix(plus + 1);
    }
    if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
        accelerator.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(rest[0])));
        return true;
    }
    if (rest.size() >= 2 && rest[0] == 'F') {
        const int number = std::atoi(std::string(rest.substr(1)).c_str());
        if (number >= 1 && number <= 12) {
            accelerator.key = static_cast<WORD>(VK_F1 + number - 1);
            return true;
        }
    }
    return false;
}

}  // namespace

HFONT fontOf(HWND window)
{
    if (const WindowRecord* record = recordOf(window); record && record->font)
        return record->font;
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

// The system's font can be wider than the one the layout was made with: a
// left-aligned label grows rightwards rather than cutting its text.
void fitLabel(HWND label)
{
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), length + 1)));
    RECT rect{};
    GetWindowRect(label, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(label), reinterpret_cast<POINT*>(&rect), 2);
    const int needed = textWidth(label, text);
    if (needed > rect.right - rect.left)
        SetWindowPos(label, nullptr, 0, 0, needed, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void cancel(HWND dialog)
{
    if (!WindowEvents::Cancel(handleOf(dialog)))
        backend::endDialog(handleOf(dialog), IDCANCEL);
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (scrollMessage(dialog, message, wParam, lParam))
        return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        // The framework's own OnInitDialog decides where the focus goes.
        return FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        if (!control && HIWORD(wParam) == 1)
            WindowEvents::Accelerator(handleOf(dialog), id);
        else if (control && HIWORD(wParam) == BN_CLICKED && isPushButton(control))
            WindowEvents::Command(handleOf(dialog), id);
        else if (!control && id == IDCANCEL)
            cancel(dialog);
        return TRUE;
    }
    case WM_CLOSE:
        cancel(dialog);
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TCN_SELCHANGE)
            WindowEvents::Notify(handleOf(dialog), static_cast<int>(header->idFrom), Notify::SelChange);
        return FALSE;
    }
    case WM_SYSCOMMAND:
        // The system's own commands keep their meaning; the window's are its.
        if ((wParam & 0xFFF0) < SC_SIZE) {
            WindowEvents::SysCommand(handleOf(dialog), static_cast<unsigned>(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CONTEXTMENU: {
        // A page has no menu of its own: the system passes the click on to
        // the window it lies in.
        if (isChildDialog(dialog))
            return FALSE;
        POINT at{xOf(lParam), yOf(lParam)};
        if (lParam == -1) {
            at = POINT{0, 0};
            ClientToScreen(dialog, &at);
        }
        HWND target = reinterpret_cast<HWND>(wParam);
        while (target && !recordOf(target))
            target = GetAncestor(target, GA_PARENT);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return WindowEvents::ContextMenu(handleOf(dialog), handleOf(target ? target : dialog), CPoint{at.x, at.y});
    }
    case trackMenuMessage: {
        const UINT chosen = static_cast<UINT>(TrackPopupMenu(reinterpret_cast<HMENU>(wParam),
                                                             TPM_RETURNCMD | TPM_RIGHTBUTTON, xOf(lParam),
                                                             yOf(lParam), 0, dialog, nullptr));
        if (chosen)
            SendMessageW(dialog, WM_SYSCOMMAND, chosen, 0);
        return TRUE;
    }
    case WM_DPICHANGED:
        dpiChanged(dialog, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        // Copied, and the drop let go of, before a message box can run.
        const std::vector<std::filesystem::path> files = droppedFiles(drop);
        DragFinish(drop);
        WindowEvents::DropFiles(handleOf(dialog), files);
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

bool preTranslateMessage(MSG& message)
{
    if (!message.hwnd)
        return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    const WindowRecord* record = recordOf(root);
    if (!record || record->kind != WindowClass::Dialog)
        return false;
    if (record->accelerators && TranslateAcceleratorW(root, record->accelerators, &message))
        return true;
    if (message.message == WM_KEYDOWN && !keyDown(VK_CONTROL) && !keyDown(VK_MENU) && !keyDown(VK_SHIFT)) {
        if (message.wParam == VK_ESCAPE) {
            cancel(root);
            return true;
        }
        // Enter presses the button that has the focus, as Space does; in an
        // edit it does nothing, so a value is never lost to a key pressed to
        // finish it.
        if (message.wParam == VK_RETURN) {
            const HWND focused = GetFocus();
            if (isPushButton(focused) && IsWindowEnabled(focused) && IsChild(root, focused))
                SendMessageW(focused, BM_CLICK, 0, 0);
            return true;
        }
    }
    return IsDialogMessageW(root, &message);
}

void deliver(MSG& message)
{
    if (!preTranslateMessage(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
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

void postTrackMenu(HWND owner, HMENU menu, CPoint point)
{
    PostMessageW(owner, trackMenuMessage, reinterpret_cast<WPARAM>(menu), MAKELPARAM(point.x, point.y));
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
    win32::track(dialog, WindowClass::Dialog);
    win32::recordOf(dialog)->dialogTemplate = &dialogTemplate;
    win32::scaleDialogsOurselves(dialog);
    win32::adoptControls(dialog, dialogTemplate);
    return handleOf(dialog);
}

WindowHandle createStatic(const std::string& text, TextAlign align, const CRect& rect, WindowHandle parent, int id)
{
    const HWND label = CreateWindowExW(0, WC_STATICW, win32::wide(text).c_str(),
                                       WS_CHILD | WS_VISIBLE | SS_NOPREFIX | (align == TextAlign::Center ? SS_CENTER : SS_LEFT),
                                       rect.left, rect.top, rect.Width(), rect.Height(), hwndOf(parent),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win32::instance(), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(win32::fontOf(hwndOf(parent))), FALSE);
    win32::track(label, WindowClass::Static);
    return handleOf(label);
}

WindowHandle createEdit(bool tabStop, const CRect& rect, WindowHandle parent, int id)
{
    const HWND edit = CreateWindowExW(0, WC_EDITW, L"",
                                      WS_CHILD | WS_VISIBLE | WS_BORDER | ES_CENTER | ES_AUTOHSCROLL | (tabStop ? WS_TABSTOP : 0),
                                      rect.left, rect.top, rect.Width(), rect.Height(), hwndOf(parent),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win32::instance(), nullptr);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(win32::fontOf(hwndOf(parent))), FALSE);
    win32::track(edit, WindowClass::Edit);
    return handleOf(edit);
}

DialogUnits dialogUnits(WindowHandle dialog)
{
    // Made again at a new scale: the system keeps the units of its first font.
    if (const win32::WindowRecord* record = win32::recordOf(hwndOf(dialog)); record && record->font)
        return DialogUnits(record->baseUnits.cx, record->baseUnits.cy);
    const SIZE units = win32::madeUnits(hwndOf(dialog));
    return DialogUnits(units.cx, units.cy);
}

void loadAccelerators(WindowHandle dialog, std::span<const Accelerator> accelerators)
{
    win32::WindowRecord* record = win32::recordOf(hwndOf(dialog));
    if (!record)
        return;
    std::vector<ACCEL> table;
    for (const Accelerator& accelerator : accelerators) {
        ACCEL entry{};
        if (win32::parseKeys(accelerator.keys, accelerator.commandId, entry))
            table.push_back(entry);
    }
    if (record->accelerators)
        DestroyAcceleratorTable(record->accelerators);
    record->accelerators =
        table.empty() ? nullptr : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

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
