#pragma once

#include <QFont>
#include <QRect>

namespace veltra {

// Converts dialog units to pixels for one font: a horizontal unit is a quarter
// of the font's average letter width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    double baseX() const { return m_baseX; }
    double baseY() const { return m_baseY; }

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    // Each edge is converted on its own, so neighbouring controls stay flush.
    QRect toPixels(int x, int y, int width, int height) const;

private:
    double m_baseX;
    double m_baseY;
};

// The platform's default family at the template's point size.
QFont dialogFont(int pointSize);

}  // namespace veltra
