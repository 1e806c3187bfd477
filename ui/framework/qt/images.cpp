// The program's images by resource id. The program's build puts each in
// Qt's resources as an SVG (veltra_add_images); it is drawn at the size it is
// shown, for the screen's pixels, so it is sharp at any scale.
#include <QFile>
#include <QList>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

#include "qt_backend.h"
#include "registry.h"
#include "../backend.h"

namespace veltra {

namespace {

QString resourceOf(int imageId)
{
    return QStringLiteral(":/veltra/images/%1.svg").arg(imageId);
}

}  // namespace

namespace qt {

QPixmap loadImage(int imageId, QSize size, qreal ratio)
{
    // Drawn once per size and ratio, and kept as images, which outlive the
    // application object safely.
    struct Key {
        int id;
        QSize size;
        qreal ratio;
        bool operator==(const Key&) const = default;
    };
    static QList<std::pair<Key, QImage>> drawn;
    const Key key{imageId, size, ratio};
    for (const auto& [known, image] : drawn)
        if (known == key)
            return QPixmap::fromImage(image);

    if (!QFile::exists(resourceOf(imageId)))
        return QPixmap();
    QSvgRenderer renderer(resourceOf(imageId));
    const QSize shown = size.isEmpty() ? renderer.defaultSize() : size;
    QImage image((QSizeF(shown) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(shown)));
    painter.end();
    drawn.append({key, image});
    return QPixmap::fromImage(image);
}

}  // namespace qt

namespace backend {

void setBitmap(WindowHandle picture, int imageId)
{
    auto* label = dynamic_cast<QLabel*>(qt::widgetOf(picture));
    qt::WindowRecord* record = qt::recordOf(label);
    if (!label || !record)
        return;
    record->imageId = imageId;
    label->setPixmap(imageId ? qt::loadImage(imageId, QSize(), label->devicePixelRatioF()) : QPixmap());
}

int bitmap(WindowHandle picture)
{
    const qt::WindowRecord* record = qt::recordOf(qt::widgetOf(picture));
    return record ? record->imageId : 0;
}

void setIcon(WindowHandle dialog, int imageId)
{
    qt::widgetOf(dialog)->setWindowIcon(QIcon(qt::loadImage(imageId, QSize(), 1.0)));
}

}  // namespace backend
}  // namespace veltra
