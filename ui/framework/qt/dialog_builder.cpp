// Dialogs and controls made from templates, and the run-time controls.
#include <QApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <cmath>

#include "qt_backend.h"
#include "tracking.h"
#include "../backend.h"
#include "widgets.h"

namespace veltra {

namespace {

using qt::handleOf;
using qt::widgetOf;

bool isEdit(ControlKind kind)
{
    return kind == ControlKind::ValueEdit || kind == ControlKind::IdentityEdit;
}

QRect toQRect(const CRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

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

QWidget* createControl(const ControlTemplate& control, QWidget& parent)
{
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::PlainLabel:
    case ControlKind::WrappedLabel:
    case ControlKind::Picture:
    case ControlKind::Icon:
        return new QLabel(&parent);
    case ControlKind::ValueEdit:
    case ControlKind::IdentityEdit:
        return new qt::EditWidget(&parent);
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
        return new QPushButton(&parent);
    case ControlKind::GroupBox:
        return new QGroupBox(&parent);
    case ControlKind::TabControl:
        return new qt::TabWidget(&parent);
    case ControlKind::EtchedLine:
        return new QFrame(&parent);
    }
    return new QWidget(&parent);
}

// Gives `widget` everything the template says of the control: id, text,
// position and size converted with `units`, focus and look.
void applyControlTemplate(QWidget& widget, const ControlTemplate& control, const DialogUnits& units)
{
    widget.setGeometry(toQRect(units.toPixels(control.x, control.y, control.width, control.height)));
    qt::track(widget, control.id);
    widget.setFocusPolicy(Qt::NoFocus);
    const QString text = QString::fromLatin1(control.text);

    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::PlainLabel:
        if (auto* label = dynamic_cast<QLabel*>(&widget)) {
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setText(text);
            // The platform's font can be wider than the one the layout was
            // made with; a left-aligned label grows rightwards rather than
            // cutting its text.
            const int needed = label->fontMetrics().horizontalAdvance(text);
            if (needed > label->width())
                label->resize(needed, label->height());
        }
        break;
    case ControlKind::WrappedLabel:
        if (auto* label = dynamic_cast<QLabel*>(&widget)) {
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            label->setText(text);
        }
        break;
    case ControlKind::ValueEdit:
    case ControlKind::IdentityEdit:
        if (auto* edit = dynamic_cast<QLineEdit*>(&widget)) {
            edit->setAlignment(Qt::AlignCenter);
            edit->setReadOnly(control.kind == ControlKind::IdentityEdit);
            edit->setFocusPolicy(Qt::StrongFocus);
        }
        break;
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
        if (auto* button = dynamic_cast<QPushButton*>(&widget)) {
            button->setText(text);
            button->setAutoDefault(false);
            button->setDefault(control.kind == ControlKind::DefPushButton);
            button->setFocusPolicy(Qt::StrongFocus);
            button->setAccessibleName(QString::fromStdString(spokenText(control.text)));
            // A click is a command of the button's dialog.
            QObject::connect(button, &QPushButton::clicked, button, [button, id = control.id] {
                if (qt::DialogWidget* dialog = qt::dialogOf(button))
                    WindowEvents::Command(handleOf(dialog), id);
            });
        }
        break;
    case ControlKind::GroupBox:
        break;
    case ControlKind::Picture:
        if (auto* picture = dynamic_cast<QLabel*>(&widget)) {
            picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            picture->setAlignment(Qt::AlignCenter);
        }
        break;
    case ControlKind::Icon:
        if (auto* icon = dynamic_cast<QLabel*>(&widget)) {
            // Drawn at the control's size, for its screen's pixels: sharp at
            // any scale.
            const int side = std::min(widget.width(), widget.height());
            const QPixmap image = qt::loadImage(text.toInt(), QSize(side, side), widget.devicePixelRatioF());
            if (!image.isNull())
                icon->setPixmap(image);
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        break;
    case ControlKind::TabControl:
        break;
    case ControlKind::EtchedLine:
        if (auto* line = dynamic_cast<QFrame*>(&widget))
            line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
        break;
    }
    widget.show();
}

// Creates every control of `dialog` as a child of `parent`, in template order,
// which is also the keyboard's tab order. Each edit's accessible name is the
// label beside it.
void buildControls(const DialogTemplate& dialog, const DialogUnits& units, QWidget& parent)
{
    std::vector<QWidget*> made;
    made.reserve(dialog.controls.size());
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = createControl(control, parent);
        applyControlTemplate(*widget, control, units);
        made.push_back(widget);
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        const ControlTemplate& control = dialog.controls[i];
        if (!isEdit(control.kind))
            continue;
        if (const ControlTemplate* label = labelBeside(dialog, control)) {
            made[i]->setAccessibleName(QString::fromStdString(spokenText(label->text)));
            auto* labelWidget = dynamic_cast<QLabel*>(made[static_cast<std::size_t>(label - dialog.controls.data())]);
            if (labelWidget)
                labelWidget->setBuddy(made[i]);
        }
    }
    QWidget* previous = nullptr;
    for (QWidget* widget : made) {
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
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
    qt::track(*dialog, noControlId);
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

WindowHandle createStatic(const std::string& text, TextAlign align, const CRect& rect, WindowHandle parent, int id)
{
    auto* label = new QLabel(QString::fromStdString(text), widgetOf(parent));
    label->setAlignment((align == TextAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setGeometry(toQRect(rect));
    qt::track(*label, id);
    label->show();
    return handleOf(label);
}

WindowHandle createEdit(bool tabStop, const CRect& rect, WindowHandle parent, int id)
{
    auto* edit = new qt::EditWidget(widgetOf(parent));
    edit->setAlignment(Qt::AlignCenter);
    edit->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    edit->useThinBorder();
    edit->setGeometry(toQRect(rect));
    qt::track(*edit, id);
    // Made after its window took files: a file dropped on it is the
    // window's too, never text typed into it.
    for (QWidget* above = edit->parentWidget(); above; above = above->parentWidget()) {
        if (auto* dialog = dynamic_cast<qt::DialogWidget*>(above); dialog && dialog->acceptDrops()) {
            edit->installEventFilter(dialog);
            break;
        }
    }
    edit->show();
    return handleOf(edit);
}

DialogUnits dialogUnits(WindowHandle dialog)
{
    return measure(widgetOf(dialog)->font());
}

void loadAccelerators(WindowHandle dialog, std::span<const Accelerator> accelerators)
{
    QWidget* window = widgetOf(dialog);
    for (const Accelerator& accelerator : accelerators) {
        auto* shortcut =
            new QShortcut(QKeySequence(QString::fromLatin1(accelerator.keys), QKeySequence::PortableText), window);
        QObject::connect(shortcut, &QShortcut::activated, window,
                         [dialog, id = accelerator.commandId] { WindowEvents::Accelerator(dialog, id); });
    }
}

void setIcon(WindowHandle dialog, int imageId)
{
    widgetOf(dialog)->setWindowIcon(QIcon(qt::loadImage(imageId, QSize(), 1.0)));
}

void endDialog(WindowHandle dialog, int result)
{
    static_cast<QDialog*>(widgetOf(dialog))->done(result);
}

int runModal(WindowHandle dialog)
{
    return static_cast<QDialog*>(widgetOf(dialog))->exec();
}

}  // namespace backend
}  // namespace veltra
