#pragma once

#include <cstdint>

namespace veltra {

// A rectangle in pixels of the window it lies in; right and bottom lie just
// outside it.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};

// A point in screen pixels.
struct CPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(const Color&, const Color&) = default;
};

// The colours a control asks to be painted in.
struct ControlColors {
    Color text;
    Color back;
    friend constexpr bool operator==(const ControlColors&, const ControlColors&) = default;
};

// A vertical scroll bar: content `range` pixels tall, `page` of which show,
// scrolled to `position`; an arrow moves it by `line`.
struct ScrollBar {
    int range = 0;
    int page = 0;
    int position = 0;
    int line = 0;
    friend constexpr bool operator==(const ScrollBar&, const ScrollBar&) = default;
};

// What a control tells its dialog besides a click.
enum class Notify {
    SelChange,  // the user selected another tab
};

enum class MenuItem { String, Separator };

// The toolkit's own window behind a CWnd, or its menu behind a CMenu: only
// the backend looks inside.
struct WindowHandle {
    void* native = nullptr;
    explicit operator bool() const { return native != nullptr; }
    friend bool operator==(const WindowHandle&, const WindowHandle&) = default;
};

struct MenuHandle {
    void* native = nullptr;
    explicit operator bool() const { return native != nullptr; }
};

}  // namespace veltra
