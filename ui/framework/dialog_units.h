#pragma once

#include "types.h"

namespace veltra {

// Converts dialog units to pixels for one font: a horizontal unit is a quarter
// of the font's average letter width (over A-Z and a-z), a vertical unit an
// eighth of its height. The backend measures the font.
class DialogUnits {
public:
    DialogUnits(double baseX, double baseY) : m_baseX(baseX), m_baseY(baseY) {}

    double baseX() const { return m_baseX; }
    double baseY() const { return m_baseY; }

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    // Each edge is converted on its own, so neighbouring controls stay flush.
    CRect toPixels(int x, int y, int width, int height) const;

private:
    double m_baseX;
    double m_baseY;
};

}  // namespace veltra
