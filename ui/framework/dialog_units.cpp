#include "dialog_units.h"

#include <QApplication>
#include <QFontMetricsF>
#include <cmath>

namespace veltra {

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetricsF metrics(font);
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = metrics.horizontalAdvance(letters) / letters.size();
    m_baseY = std::ceil(metrics.height());
}

int DialogUnits::toPixelsX(int units) const
{
    return static_cast<int>(std::lround(units * m_baseX / 4.0));
}

int DialogUnits::toPixelsY(int units) const
{
    return static_cast<int>(std::lround(units * m_baseY / 8.0));
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    const int left = toPixelsX(x);
    const int top = toPixelsY(y);
    return QRect(QPoint(left, top), QPoint(toPixelsX(x + width) - 1, toPixelsY(y + height) - 1));
}

QFont dialogFont(int pointSize)
{
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    return font;
}

}  // namespace veltra
