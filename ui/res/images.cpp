// Icon 128 and bitmap 133, drawn from the program's icon: one vector image,
// installed for the desktop too, so both are sharp at any scale.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "ui/res/images.h"

#include "ui/res/resource_ids.h"

namespace veltra::res {

namespace {

const QString iconFile = QStringLiteral(":/icons/org.veltra.Veltra.svg");

QImage drawAppIcon()
{
    QImage icon(128, 128, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    QSvgRenderer(iconFile).render(&painter);
    return icon;
}

// The logo is 111 x 85 in the window's units; `ratio` pixels make one unit.
QImage drawLogo(qreal ratio)
{
    QImage logo((QSizeF(111, 85) * ratio).toSize(), QImage::Format_RGB32);
    logo.setDevicePixelRatio(ratio);
    logo.fill(Qt::black);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(iconFile).render(&painter, QStringLiteral("emblem"), QRectF(30, 6, 51, 51));
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
    // Drawn once (the logo again when the screens' pixel ratio changes); kept
    // as images, which outlive the application object safely.
    static const QImage icon = drawAppIcon();
    static QImage logo;
    if (id == appIconId)
        return QPixmap::fromImage(icon);
    if (id == logoBitmapId) {
        const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
        if (logo.isNull() || logo.devicePixelRatio() != ratio)
            logo = drawLogo(ratio);
        return QPixmap::fromImage(logo);
    }
    return QPixmap();
}

}  // namespace veltra::res
