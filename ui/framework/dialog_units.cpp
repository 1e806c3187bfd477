#include "dialog_units.h"

#include <cmath>

namespace veltra {

int DialogUnits::toPixelsX(int units) const
{
    return static_cast<int>(std::lround(units * m_baseX / 4.0));
}

int DialogUnits::toPixelsY(int units) const
{
    return static_cast<int>(std::lround(units * m_baseY / 8.0));
}

CRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    return {toPixelsX(x), toPixelsY(y), toPixelsX(x + width), toPixelsY(y + height)};
}

}  // namespace veltra
