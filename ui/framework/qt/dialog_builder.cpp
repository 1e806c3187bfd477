// Dialogs and their controls made from templates, and their dialog units.
#include <QApplication>
#include <QFontMetricsF>
#include <QHash>
#include <cmath>

#include "controls.h"
#include "qt_backend.h"
#include "registry.h"
#include "../backend.h"

namespace veltra {

namespace {

using qt::handleOf;
using qt::widgetOf;

// The platform's default family at the template's point size.
QFont dialogFont(int pointSize)
{
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    return font;
}

DialogUnits measure(const QFont& font)
{
    // Measuring the font is costly and every template shares it.
    static QHash<QString, DialogUnits> measured;
    auto known = measured.constFind(font.key());
    if (known == measured.constEnd()) {
        const QFontMetricsF metrics(font);
        static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        known = measured.insert(font.key(), DialogUnits(metrics.horizontalAdvance(letters) / letters.size(),
                                                        std::ceil(metrics.height())));
    }
    return *known;
}

QRect toQRect(const CRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

// Every control of `dialog` as a child of `parent`, in template order, which
// is also the keyboard's tab order.
void buildControls(const DialogTemplate& dialog, const DialogUnits& units, QWidget& parent)
{
    QWidget* previous = nullptr;
    for (const ControlTemplate& control : dialog.controls) {
        const qt::PlacedControl placed{control.kind, QString::fromLatin1(control.text), control.imageId,
                                   toQRect(units.toPixels(control.x, control.y, control.width, control.height)),
                                   control.id};
        QWidget* made = qt::makeControl(placed, parent);
        if (!made || made->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, made);
        previous = made;
    }
}

}  // namespace

namespace backend {

WindowHandle createDialog(const DialogTemplate& dialogTemplate, WindowHandle parent, bool child)
{
    // A window of its own has a frame with a title and a close button; with
    // an owner, Qt keeps it above the owner and centres it there when shown.
    // (A QDialog made with a parent is a window whatever its flags say: a
    // page is given its parent afterwards.)
    auto* dialog = new qt::DialogWidget(child ? nullptr : widgetOf(parent),
                                        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (child)
        dialog->setParent(widgetOf(parent), Qt::Widget);
    qt::track(*dialog, ControlKind::Dialog, noControlId);
    dialog->setFont(dialogFont(dialogTemplate.pointSize));
    const DialogUnits units = measure(dialog->font());
    const QSize size(units.toPixelsX(dialogTemplate.width), units.toPixelsY(dialogTemplate.height));
    if (child) {
        dialog->resize(size);
        dialog->hide();
    } else {
        dialog->setFixedSize(size);
    }
    dialog->setWindowTitle(QString::fromLatin1(dialogTemplate.caption));
    buildControls(dialogTemplate, units, *dialog);
    return handleOf(dialog);
}

DialogUnits dialogUnits(WindowHandle dialog)
{
    return measure(widgetOf(dialog)->font());
}

}  // namespace backend
}  // namespace veltra
