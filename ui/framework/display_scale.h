#pragma once

#include <optional>

#include "types.h"

namespace veltra {

// The dots per inch `window` is shown at, 96 at a display scale of 100 %:
// what the backend measures, unless a test has set one.
int displayDpi(WindowHandle window);

// For tests: while one lives, every window is taken to be shown at `dpi`,
// whatever its backend measures, so that the scaled layout is tested on every
// backend and on any screen.
class ScopedDisplayDpi {
public:
    explicit ScopedDisplayDpi(int dpi);
    ~ScopedDisplayDpi();
    ScopedDisplayDpi(const ScopedDisplayDpi&) = delete;
    ScopedDisplayDpi& operator=(const ScopedDisplayDpi&) = delete;

private:
    std::optional<int> m_previous;
};

}  // namespace veltra
