#include "display_scale.h"

#include "backend.h"

namespace veltra {

namespace {

std::optional<int>& dpiSetByTest()
{
    static std::optional<int> dpi;
    return dpi;
}

}  // namespace

int displayDpi(WindowHandle window)
{
    if (const std::optional<int>& set = dpiSetByTest())
        return *set;
    return window ? backend::dpi(window) : 96;
}

ScopedDisplayDpi::ScopedDisplayDpi(int dpi) : m_previous(dpiSetByTest())
{
    dpiSetByTest() = dpi;
}

ScopedDisplayDpi::~ScopedDisplayDpi()
{
    dpiSetByTest() = m_previous;
}

}  // namespace veltra
