// The window at the display scale of the Wine prefix it runs in (LogPixels:
// 96 for win32.ui_tests, 144 for win32.ui_tests.150), and moved to a monitor
// of another scale as the system tells it: the Boost grid, the pages, the
// logo and the icons follow the scale, and a move there and back leaves the
// window as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <tuple>

#include "tests/ui/win32/win32_driver.h"
#include "tests/ui/window_fixture.h"
#include "ui/framework/backend.h"
#include "ui/res/templates.h"

namespace veltra::testing {
namespace {

// The scale the test's Wine prefix shows at, as the test's command says.
int prefixDpi()
{
    const char* set = std::getenv("VELTRA_TEST_DPI");
    return set ? std::atoi(set) : 96;
}

// A length in pixels at 96 dpi at `dpi`, rounded half up.
int at(int dpi, int pixelsAt96)
{
    return (pixelsAt96 * dpi + 48) / 96;
}

RECT rectIn(HWND window, HWND parent)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring textOf(HWND window)
{
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

// The width of the window's text in its own font.
int textWidth(HWND window)
{
    const std::wstring text = textOf(window);
    HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return size.cx;
}

int fontHeight(HWND window)
{
    LOGFONTW font{};
    if (const auto shown = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)))
        GetObjectW(shown, sizeof font, &font);
    return font.lfHeight;
}

SIZE bitmapSize(HBITMAP bitmap)
{
    BITMAP header{};
    GetObjectW(bitmap, sizeof header, &header);
    return SIZE{header.bmWidth, header.bmHeight};
}

int iconSide(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return 0;
    const int side = bitmapSize(info.hbmColor).cx;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return side;
}

BOOL CALLBACK collect(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Where a control or page lies in its parent, and its font's height (0 for
// one without text).
using Place = std::tuple<LONG, LONG, LONG, LONG, int>;

std::map<HWND, Place> placesOf(HWND window)
{
    std::vector<HWND> within;
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&within));
    std::map<HWND, Place> places;
    for (HWND each : within) {
        const RECT rect = rectIn(each, GetParent(each));
        places[each] = {rect.left, rect.top, rect.right, rect.bottom, fontHeight(each)};
    }
    return places;
}

// A control as a message names it: its class and text.
std::string named(HWND window)
{
    wchar_t kind[32] = {};
    GetClassNameW(window, kind, 32);
    return win32::utf8(kind) + " \"" + win32::utf8(textOf(window)) + "\"";
}

class Win32Scale : public WindowTest {
protected:
    void SetUp() override { open(writeImage("scale.rom", ImageSpec{})); }

    // The window as it is at `dpi`, against its pixel lengths at 96 dpi.
    void expectLaidOutAt(int dpi)
    {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        // At 96 dpi nothing moves by as much as a pixel.
        const int slack = dpi == 96 ? 0 : 1;
        const HWND tabControl = hwnd(tabs());
        RECT client{};
        GetClientRect(tabControl, &client);
        const RECT wanted{at(dpi, 3), at(dpi, 23), client.right - at(dpi, 5), client.bottom - at(dpi, 4)};
        for (int tab = 0; tab < 5; ++tab) {
            const RECT page = rectIn(hwnd(dlg.Page(tab)), tabControl);
            EXPECT_TRUE(EqualRect(&page, &wanted)) << "page " << tab << " at " << page.left << "," << page.top << " "
                                                   << page.right << "," << page.bottom;
            // No page covers a tab's caption.
            RECT caption{};
            SendMessageW(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&caption));
            EXPECT_LE(caption.bottom, page.top) << "tab " << tab;
        }
        const HWND boost = hwnd(dlg.Page(boostTab));
        for (int k = 0; k < 45; ++k) {
            const int x = 20 + 75 * (k % 5);
            const int y = 28 + 21 * (k / 5);
            const HWND edit = GetDlgItem(boost, res::firstBoostEditId + k);
            const RECT shown = rectIn(edit, boost);
            EXPECT_NEAR(shown.left, at(dpi, x + 5), slack) << "edit " << k;
            EXPECT_NEAR(shown.top, at(dpi, y - 18), slack) << "edit " << k;
            EXPECT_NEAR(shown.right - shown.left, at(dpi, 50), slack) << "edit " << k;
            EXPECT_NEAR(shown.bottom - shown.top, at(dpi, 18), slack) << "edit " << k;
            const HWND caption = GetWindow(edit, GW_HWNDPREV);
            const RECT captionRect = rectIn(caption, boost);
            EXPECT_NEAR(captionRect.right - captionRect.left, at(dpi, 15), slack) << "caption " << k;
            EXPECT_LE(textWidth(caption), captionRect.right - captionRect.left) << "caption " << k;
            EXPECT_LE(captionRect.right, shown.left) << "caption " << k;
        }
        // The logo drawn for the scale fills its frame; the icons are the
        // system's sizes at the scale.
        const auto logo = reinterpret_cast<HBITMAP>(SendMessageW(GetDlgItem(hwnd(dlg), res::pictureId), STM_GETIMAGE, IMAGE_BITMAP, 0));
        const SIZE logoSize = bitmapSize(logo);
        EXPECT_EQ(logoSize.cx, at(dpi, 111));
        EXPECT_EQ(logoSize.cy, at(dpi, 85));
        EXPECT_EQ(iconSide(reinterpret_cast<HICON>(SendMessageW(hwnd(dlg), WM_GETICON, ICON_BIG, 0))), at(dpi, 32));
        EXPECT_EQ(iconSide(reinterpret_cast<HICON>(SendMessageW(hwnd(dlg), WM_GETICON, ICON_SMALL, 0))), at(dpi, 16));
    }
};

TEST_F(Win32Scale, TheWindowIsBuiltAtItsDisplaysScale)
{
    ASSERT_EQ(backend::dpi(dlg.GetWindowHandle()), prefixDpi())
        << "the Wine prefix shows windows at another scale than the test's command says (cmake/wine-prefix sets it)";
    expectLaidOutAt(prefixDpi());
}

// The system suggests the frame for the new scale; the window takes it, its
// text takes the new scale's size and everything is laid out there. Moved
// back, every control is where it was made.
TEST_F(Win32Scale, MovedToAnotherScaleItIsLaidOutThereAndBackAsItWas)
{
    const auto made = placesOf(hwnd(dlg));
    RECT frame{};
    GetWindowRect(hwnd(dlg), &frame);

    moveToDisplayScale(dlg, 192);
    EXPECT_EQ(backend::dpi(dlg.GetWindowHandle()), 192);
    RECT moved{};
    GetWindowRect(hwnd(dlg), &moved);
    EXPECT_EQ(moved.right - moved.left, MulDiv(frame.right - frame.left, 192, prefixDpi()));
    EXPECT_EQ(moved.bottom - moved.top, MulDiv(frame.bottom - frame.top, 192, prefixDpi()));
    // Every text is in the scale's font; a dialog's own font stays the one
    // the system made it with.
    for (const auto& [window, place] : placesOf(hwnd(dlg))) {
        if (std::get<4>(place) && named(window).rfind("#32770", 0) != 0) {
            EXPECT_EQ(std::get<4>(place), -MulDiv(res::shellFontPoints, 192, 72)) << named(window);
        }
    }
    expectLaidOutAt(192);

    moveToDisplayScale(dlg, prefixDpi());
    const auto back = placesOf(hwnd(dlg));
    ASSERT_EQ(back.size(), made.size());
    for (const auto& [window, place] : made)
        EXPECT_EQ(back.at(window), place) << named(window);
}

}  // namespace
}  // namespace veltra::testing
