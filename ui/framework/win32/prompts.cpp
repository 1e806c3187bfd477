// The system's own message boxes and file dialogs.
#include "win32.h"

#include <commdlg.h>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace win32 {

std::wstring& applicationName()
{
    static std::wstring name;
    return name;
}

}  // namespace win32

namespace {

// "BIOS File(*.rom)" as the dialogs take it: the name, then the pattern in
// its parentheses, each ended by a null, and a null after the last pair.
std::wstring filterOf(const std::string& filter)
{
    const std::wstring name = win32::wide(filter);
    const auto open = name.rfind(L'(');
    const auto close = name.rfind(L')');
    const std::wstring pattern =
        open != std::wstring::npos && close != std::wstring::npos && close > open ? name.substr(open + 1, close - open - 1)
                                                                                   : L"*.*";
    return name + L'\0' + pattern + L'\0' + L'\0';
}

}  // namespace

namespace backend {

void showMessageBox(WindowHandle owner, const std::string& text)
{
    MessageBoxW(win32::hwndOf(owner), win32::wide(text).c_str(), win32::applicationName().c_str(),
                MB_OK | MB_ICONWARNING);
}

bool askYesNo(WindowHandle owner, const std::string& question)
{
    // No is the default: a stray Enter keeps what is there.
    return MessageBoxW(win32::hwndOf(owner), win32::wide(question).c_str(), win32::applicationName().c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::filesystem::path> askFilePath(WindowHandle owner, const FileQuestion& question, bool saving)
{
    // Room for the longest path the system takes.
    std::wstring file(32768, L'\0');
    const std::wstring filter = filterOf(question.filter);
    const std::wstring title = win32::wide(question.title);
    const std::wstring suffix = win32::wide(question.defaultSuffix);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = win32::hwndOf(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   (saving ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen = saving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return std::nullopt;
    return std::filesystem::path(file.c_str());
}

}  // namespace backend
}  // namespace veltra
