// What only the system's controls tell: that the window is made of them with
// the templates' ids, that a read-only edit takes its colours from the
// message it really asks with, that no label cuts its text in the system's
// font, and that the program carries what Windows reads from its file.
#include <gtest/gtest.h>

#include <set>

#include "tests/ui/win32/win32_driver.h"
#include "tests/ui/window_fixture.h"
#include "ui/about_dlg.h"
#include "ui/framework/backend.h"
#include "ui/res/templates.h"

namespace veltra::testing {
namespace {

std::wstring classNameOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

const wchar_t* systemClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::ValueEdit:
    case ControlKind::IdentityEdit:
    case ControlKind::GridEdit:
        return L"Edit";
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::GroupBox:
        return L"Button";
    case ControlKind::TabControl:
        return L"SysTabControl32";
    default:
        return L"Static";
    }
}

class Win32Controls : public WindowTest {
protected:
    // Every dialog of the window, as made, with its template.
    std::vector<std::pair<const CDialog*, const DialogTemplate*>> dialogs() const
    {
        return {{&dlg, &res::mainDialog},         {&dlg.Page(frequencyTab), &res::frequencyPage},
                {&dlg.Page(boostTab), &res::boostPage}, {&dlg.Page(powerTab), &res::powerPage},
                {&dlg.Page(fanTab), &res::fanPage},     {&dlg.Page(voltageTab), &res::voltagePage},
                {&about, &res::aboutDialog}};
    }

    void SetUp() override { about.Create(); }

    CAboutDlg about{&dlg};
};

// A screen reader, a test tool or another program finds each control by the
// id and the class every Windows program of this kind uses; each dialog
// carries its template's id.
TEST_F(Win32Controls, AreTheSystemsOwnWithTheTemplatesIds)
{
    for (const auto& [dialog, made] : dialogs()) {
        EXPECT_EQ(GetWindowContextHelpId(hwnd(*dialog)), static_cast<DWORD>(made->id));
        for (const ControlTemplate& control : made->controls) {
            if (control.id == noControlId)
                continue;
            const HWND found = GetDlgItem(hwnd(*dialog), control.id);
            ASSERT_NE(found, nullptr) << made->id << " " << control.id;
            EXPECT_EQ(classNameOf(found), systemClassOf(control.kind)) << made->id << " " << control.id;
        }
    }
    for (int k = 0; k < 45; ++k) {
        const HWND edit = GetDlgItem(hwnd(dlg.Page(boostTab)), res::firstBoostEditId + k);
        ASSERT_NE(edit, nullptr) << k;
        EXPECT_EQ(classNameOf(edit), L"Edit");
    }
}

// The checksum field is read-only, so the system asks its colours with
// WM_CTLCOLORSTATIC: answering only WM_CTLCOLOREDIT would leave it grey
// whatever the checksum says.
TEST_F(Win32Controls, ReadOnlyChecksumTakesItsColoursFromTheStaticMessage)
{
    open(writeImage("colour.rom", ImageSpec{}));
    const std::optional<ControlColors> wanted = checksum().CtlColor();
    ASSERT_TRUE(wanted.has_value());
    HDC dc = CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(hwnd(dlg), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd(checksum()))));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH painted{};
    GetObjectW(brush, sizeof painted, &painted);
    const COLORREF back = RGB(wanted->back.red, wanted->back.green, wanted->back.blue);
    EXPECT_EQ(painted.lbColor, back);
    EXPECT_EQ(GetBkColor(dc), back);
    EXPECT_EQ(GetTextColor(dc), RGB(wanted->text.red, wanted->text.green, wanted->text.blue));
    // The name field has no colours of its own: the system's apply.
    EXPECT_NE(SendMessageW(hwnd(dlg), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(hwnd(edit(res::nameEditId)))),
              reinterpret_cast<LRESULT>(brush));
    EXPECT_NE(GetBkColor(dc), back);
    DeleteDC(dc);
}

// The system's dialog font is wider than the one the layout was drawn with:
// every label still shows its whole text.
TEST_F(Win32Controls, NoLabelCutsItsText)
{
    for (const auto& [dialog, made] : dialogs()) {
        for (HWND child = GetWindow(hwnd(*dialog), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
            if (classNameOf(child) != L"Static" || (style & SS_TYPEMASK) > SS_LEFTNOWORDWRAP)
                continue;
            wchar_t text[256] = {};
            GetWindowTextW(child, text, 256);
            HDC dc = GetDC(child);
            const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
            RECT needed{};
            DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
            SelectObject(dc, previous);
            ReleaseDC(child, dc);
            RECT shown{};
            GetClientRect(child, &shown);
            EXPECT_LE(needed.right, shown.right) << made->id << " \"" << win32::utf8(text) << "\"";
        }
    }
}

// A file dropped from Explorer arrives as the UTF-16 name the shell gives:
// a name in any script, in folders past 260 characters, opens whole.
TEST_F(Win32Controls, ADroppedFileOfAnyNameAndLengthOpens)
{
    std::wstring deep = L"\\\\?\\" + dir.path().wstring();
    for (int level = 0; level < 4; ++level) {
        deep += L"\\" + std::wstring(90, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    const std::wstring name = L"\u043a\u0430\u0440\u0442\u0430 \U0001F525.rom";
    const std::vector<std::uint8_t> bytes = buildImage(ImageSpec{});
    const HANDLE file = CreateFileW((deep + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    const std::filesystem::path dropped = std::filesystem::path(deep.substr(4)) / name;

    EXPECT_TRUE(dropFiles(dlg, pageEdit(frequencyTab, res::gpuClockEditId), {dropped}));
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    EXPECT_EQ(dlg.FilePath(), dropped);
    EXPECT_EQ(edit(res::fileNameEditId).GetWindowText(), win32::utf8(name));
}

// Tab goes through the window's controls and into the page shown, never into
// a hidden one: a keyboard user reaches every value.
TEST_F(Win32Controls, TabReachesTheShownPagesEditsOnly)
{
    selectTab(powerTab);
    edit(res::nameEditId).SetFocus();
    std::set<HWND> reached;
    for (int press = 0; press < 40; ++press) {
        this->press("Tab");
        reached.insert(GetFocus());
    }
    for (int id : {res::powerDefaultEditId, res::powerMaxEditId, res::powerLimitLoEditId, res::powerLimitHiEditId})
        EXPECT_TRUE(reached.count(hwnd(pageEdit(powerTab, id)))) << id;
    for (HWND window : reached)
        EXPECT_TRUE(IsWindowVisible(window));
}

// What the system's own boxes showed, read while they run: a timer fires in
// their modal loop, notes the box and presses Enter in it.
struct SeenBox {
    std::string title;
    std::string text;
    HWND owner = nullptr;
};

SeenBox seen;

void CALLBACK pressEnterInTheBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    const HWND box = GetActiveWindow();
    wchar_t text[256] = {};
    GetWindowTextW(box, text, 256);
    seen.title = win32::utf8(text);
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    seen.text = win32::utf8(text);
    seen.owner = GetWindow(box, GW_OWNER);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(GetFocus(), WM_KEYUP, VK_RETURN, 1u | (1u << 30) | (1u << 31));
}

// The real message boxes stand over the window, titled with the program's
// name; Enter on the question answers No, so a stray key keeps typed values.
TEST_F(Win32Controls, MessageBoxesAreOwnedTitledAndDefaultToNo)
{
    Prompts& real = dialogPrompts();
    seen = {};
    SetTimer(nullptr, 0, 100, pressEnterInTheBox);
    real.showMessage(&pageEdit(frequencyTab, res::gpuClockEditId), "Cannot save bios file!");
    EXPECT_EQ(seen.title, "Veltra");
    EXPECT_EQ(seen.text, "Cannot save bios file!");
    EXPECT_EQ(seen.owner, hwnd(dlg));

    seen = {};
    SetTimer(nullptr, 0, 100, pressEnterInTheBox);
    EXPECT_FALSE(real.askYesNo(&dlg, "Discard unsaved edits?"));
    EXPECT_EQ(seen.title, "Veltra");
    EXPECT_EQ(seen.text, "Discard unsaved edits?");
    EXPECT_EQ(seen.owner, hwnd(dlg));
}

// What Windows reads from the program's file: the manifest that asks for
// the version 6 controls and UTF-8, the icon the desktop shows, the logo
// drawn for 100 %, 150 % and 200 % display scale, and the version.
TEST(Win32Program, CarriesItsManifestIconLogoAndVersion)
{
    const HMODULE program = LoadLibraryExW(win32::wide(VELTRA_PROGRAM).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << VELTRA_PROGRAM;
    const HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                           SizeofResource(program, manifest));
    for (const char* wanted : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                               "UTF-8</activeCodePage>", "PerMonitorV2", "level=\"asInvoker\""})
        EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
    EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(128), MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
    EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(133), MAKEINTRESOURCEW(2)), nullptr);   // RT_BITMAP
    for (const wchar_t* scaled : {L"IMAGE133_144", L"IMAGE133_192"})
        EXPECT_NE(FindResourceW(program, scaled, MAKEINTRESOURCEW(2)), nullptr) << win32::utf8(scaled);
    EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);    // RT_VERSION
    FreeLibrary(program);
}

}  // namespace
}  // namespace veltra::testing
