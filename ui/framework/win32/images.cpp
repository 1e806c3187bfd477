// The program's images by resource id. The build puts each in the program's
// resources as an icon of every common size and as a bitmap with an alpha
// channel (images.cmake); a picture shows the bitmap laid over its dialog's
// colour.
#include "win32.h"

#include <cstdint>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace {

// The resource bitmap `imageId` over `colour`, as an opaque bitmap of its
// own size; null when there is no such image.
HBITMAP composed(int imageId, COLORREF colour)
{
    const auto source = static_cast<HBITMAP>(
        LoadImageW(win32::instance(), MAKEINTRESOURCEW(imageId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!source)
        return nullptr;
    DIBSECTION image{};
    if (GetObjectW(source, sizeof image, &image) != sizeof image || image.dsBm.bmBitsPixel != 32) {
        DeleteObject(source);
        return nullptr;
    }
    const int width = image.dsBm.bmWidth;
    const int height = image.dsBm.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP result = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (result) {
        // Both are bottom-up rows of B, G, R, A; the alpha is not premultiplied.
        const auto* from = static_cast<const std::uint8_t*>(image.dsBm.bmBits);
        auto* to = static_cast<std::uint8_t*>(bits);
        const std::uint8_t back[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
        const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        for (std::size_t p = 0; p < pixels; ++p, from += 4, to += 4) {
            const unsigned alpha = from[3];
            for (int channel = 0; channel < 3; ++channel)
                to[channel] = static_cast<std::uint8_t>((from[channel] * alpha + back[channel] * (255 - alpha) + 127) / 255);
            to[3] = 0;
        }
    }
    DeleteObject(source);
    return result;
}

}  // namespace

namespace backend {

void setBitmap(WindowHandle picture, int imageId)
{
    const HWND hwnd = win32::hwndOf(picture);
    win32::WindowRecord* record = win32::recordOf(hwnd);
    if (!record || record->kind != WindowClass::Static)
        return;
    HBITMAP drawn = imageId ? composed(imageId, GetSysColor(COLOR_BTNFACE)) : nullptr;
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

}  // namespace backend
}  // namespace veltra
