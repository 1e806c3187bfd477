// Icon 128 and bitmap 133, drawn here rather than stored, so the program
// carries no image files.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/res/images.h"

#include "ui/res/resource_ids.h"

namespace veltra::res {

namespace {

const QColor emblemGreen(76, 175, 80);
const QColor emblemDark(27, 94, 32);

// A green ring around a chevron, filling `box`.
void drawEmblem(QPainter& painter, const QRectF& box)
{
    const double side = std::min(box.width(), box.height());
    const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    const double ring = side * 0.12;
    painter.setPen(QPen(emblemGreen, ring));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(square.adjusted(ring / 2, ring / 2, -ring / 2, -ring / 2));

    QPainterPath chevron;
    const double l = square.left(), t = square.top();
    chevron.moveTo(l + side * 0.27, t + side * 0.30);
    chevron.lineTo(l + side * 0.41, t + side * 0.30);
    chevron.lineTo(l + side * 0.50, t + side * 0.56);
    chevron.lineTo(l + side * 0.59, t + side * 0.30);
    chevron.lineTo(l + side * 0.73, t + side * 0.30);
    chevron.lineTo(l + side * 0.56, t + side * 0.74);
    chevron.lineTo(l + side * 0.44, t + side * 0.74);
    chevron.closeSubpath();
    painter.setPen(QPen(emblemDark, side * 0.015));
    painter.setBrush(emblemGreen);
    painter.drawPath(chevron);
}

QImage drawAppIcon()
{
    QImage icon(128, 128, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 210, 200), 2));
    painter.setBrush(QColor(240, 246, 240));
    painter.drawRoundedRect(QRectF(2, 2, 124, 124), 16, 16);
    drawEmblem(painter, QRectF(14, 14, 100, 100));
    return icon;
}

QImage drawLogo()
{
    QImage logo(111, 85, QImage::Format_RGB32);
    logo.fill(Qt::black);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    drawEmblem(painter, QRectF(30, 6, 51, 51));
    QFont lettering(QStringLiteral("DejaVu Sans"));
    lettering.setBold(true);
    lettering.setPixelSize(16);
    lettering.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(lettering);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 60, 111, 22), Qt::AlignCenter, QStringLiteral("VELTRA"));
    return logo;
}

}  // namespace

QPixmap loadImage(int id)
{
    // Drawn once; kept as images, which outlive the application object safely.
    static const QImage icon = drawAppIcon();
    static const QImage logo = drawLogo();
    if (id == appIconId)
        return QPixmap::fromImage(icon);
    if (id == logoBitmapId)
        return QPixmap::fromImage(logo);
    return QPixmap();
}

}  // namespace veltra::res
