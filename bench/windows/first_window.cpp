// The least a Windows program can show: an empty dialog, made and shown as
// veltra.exe makes and shows its own. Its time from start to first frame
// under Wine is what any window costs there; veltra.exe's is measured
// against it.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // One template word after another: style, extended style, no controls,
    // place and size in dialog units, no menu, the default class, the
    // caption, then the font.
    std::vector<std::uint16_t> words;
    const auto add = [&](std::uint32_t value) { words.push_back(static_cast<std::uint16_t>(value)); };
    const auto text = [&](const wchar_t* s) {
        while (*s) add(*s++);
        add(0);
    };
    const DWORD style = DS_SETFONT | DS_CENTER | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    add(style & 0xFFFF);
    add(style >> 16);
    add(0);
    add(0);
    add(0);
    for (std::uint16_t value : {0, 0, 320, 280}) add(value);
    add(0);
    add(0);
    text(L"First window");
    add(8);
    text(L"MS Shell Dlg");
    return static_cast<int>(DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr,
                                                    dialogProc, 0));
}
