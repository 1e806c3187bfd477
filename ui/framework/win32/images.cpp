// The program's images by resource id. The build puts each in the program's
// resources as an icon of every common size and as bitmaps with an alpha
// channel, drawn for 100 %, 150 % and 200 % display scale (images.cmake); a
// picture shows the bitmap for its window's scale laid over its dialog's
// colour.
#include "win32.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace {

// The scales each bitmap is drawn at, in dots per inch. At 96 it is the
// resource named by its id, at the others IMAGE<id>_<dpi>, as
// scripts/make-windows-image names them.
constexpr int drawnDpis[] = {96, 144, 192};

HBITMAP loadDrawing(int imageId, int dpi)
{
    const std::wstring name = L"IMAGE" + std::to_wstring(imageId) + L"_" + std::to_wstring(dpi);
    const wchar_t* resource = dpi == drawnDpis[0] ? MAKEINTRESOURCEW(imageId) : name.c_str();
    return static_cast<HBITMAP>(LoadImageW(win32::instance(), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// An opaque 32-bit bitmap to draw into; `bits` gets its bottom-up rows.
HBITMAP opaqueBitmap(int width, int height, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// `source` over `colour`, as an opaque bitmap of its own size.
HBITMAP overColour(const DIBSECTION& source, COLORREF colour)
{
    const int width = source.dsBm.bmWidth;
    const int height = source.dsBm.bmHeight;
    void* bits = nullptr;
    HBITMAP result = opaqueBitmap(width, height, &bits);
    if (!result)
        return nullptr;
    // Both are bottom-up rows of B, G, R, A; the alpha is not premultiplied.
    const auto* from = static_cast<const std::uint8_t*>(source.dsBm.bmBits);
    auto* to = static_cast<std::uint8_t*>(bits);
    const std::uint8_t back[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t p = 0; p < pixels; ++p, from += 4, to += 4) {
        const unsigned alpha = from[3];
        for (int channel = 0; channel < 3; ++channel)
            to[channel] = static_cast<std::uint8_t>((from[channel] * alpha + back[channel] * (255 - alpha) + 127) / 255);
        to[3] = 0;
    }
    return result;
}

// `image` at another size, each pixel the mean of those it covers.
HBITMAP resized(HBITMAP image, int fromWidth, int fromHeight, int width, int height)
{
    void* bits = nullptr;
    HBITMAP result = opaqueBitmap(width, height, &bits);
    if (!result)
        return nullptr;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    const HGDIOBJ oldFrom = SelectObject(from, image);
    const HGDIOBJ oldTo = SelectObject(to, result);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, fromWidth, fromHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    return result;
}

// The image `imageId` over `colour` for a window shown at `dpi`: the drawing
// made for that scale, or, between two, the larger one made smaller (above
// the largest, that one made larger), so that it fills the picture's frame as
// the frame grows with the font. Null when there is no such image.
HBITMAP composed(int imageId, COLORREF colour, int dpi)
{
    const int* drawn = std::find_if(std::begin(drawnDpis), std::end(drawnDpis), [dpi](int d) { return d >= dpi; });
    if (drawn == std::end(drawnDpis))
        --drawn;
    int drawnDpi = *drawn;
    HBITMAP source = loadDrawing(imageId, drawnDpi);
    if (!source && drawnDpi != drawnDpis[0]) {
        drawnDpi = drawnDpis[0];
        source = loadDrawing(imageId, drawnDpi);
    }
    if (!source)
        return nullptr;
    DIBSECTION image{};
    HBITMAP result = nullptr;
    if (GetObjectW(source, sizeof image, &image) == sizeof image && image.dsBm.bmBitsPixel == 32)
        result = overColour(image, colour);
    DeleteObject(source);
    if (!result || drawnDpi == dpi)
        return result;
    const int width = MulDiv(image.dsBm.bmWidth, dpi, drawnDpi);
    const int height = MulDiv(image.dsBm.bmHeight, dpi, drawnDpi);
    HBITMAP fitted = width > 0 && height > 0 ? resized(result, image.dsBm.bmWidth, image.dsBm.bmHeight, width, height)
                                             : nullptr;
    DeleteObject(result);
    return fitted;
}

HICON loadIcon(int imageId, int side)
{
    return static_cast<HICON>(LoadImageW(win32::instance(), MAKEINTRESOURCEW(imageId), IMAGE_ICON, side, side, 0));
}

}  // namespace

namespace win32 {

void showIcon(HWND control, int imageId)
{
    WindowRecord* record = recordOf(control);
    if (!record)
        return;
    RECT rect{};
    GetClientRect(control, &rect);
    HICON icon = loadIcon(imageId, std::min(rect.right, rect.bottom));
    if (!icon)
        return;
    SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (record->icon)
        DestroyIcon(record->icon);
    record->icon = icon;
    record->iconId = imageId;
}

}  // namespace win32

namespace backend {

void setBitmap(WindowHandle picture, int imageId)
{
    const HWND hwnd = win32::hwndOf(picture);
    win32::WindowRecord* record = win32::recordOf(hwnd);
    if (!record || traitsOf(record->kind).controlClass != ControlClass::Static)
        return;
    HBITMAP drawn = imageId ? composed(imageId, GetSysColor(COLOR_BTNFACE), win32::dpiOf(hwnd)) : nullptr;
    SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(drawn));
    if (record->bitmap)
        DeleteObject(record->bitmap);
    record->bitmap = drawn;
    record->imageId = drawn ? imageId : 0;
}

int bitmap(WindowHandle picture)
{
    const win32::WindowRecord* record = win32::recordOf(win32::hwndOf(picture));
    return record ? record->imageId : 0;
}

void setIcon(WindowHandle dialog, int imageId)
{
    const HWND hwnd = win32::hwndOf(dialog);
    win32::WindowRecord* record = win32::recordOf(hwnd);
    if (!record)
        return;
    record->iconId = imageId;
    for (auto [which, size, held] : {std::tuple{ICON_BIG, SM_CXICON, &record->bigIcon},
                                     std::tuple{ICON_SMALL, SM_CXSMICON, &record->smallIcon}}) {
        HICON icon = loadIcon(imageId, win32::metricFor(hwnd, size));
        SendMessageW(hwnd, WM_SETICON, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(icon));
        if (*held)
            DestroyIcon(*held);
        *held = icon;
    }
}

}  // namespace backend
}  // namespace veltra
