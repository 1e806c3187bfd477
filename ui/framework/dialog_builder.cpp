#include "dialog_builder.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls.h"
#include "images.h"
#include "tab_control.h"

namespace veltra {

namespace {

bool isEdit(ControlKind kind)
{
    return kind == ControlKind::ValueEdit || kind == ControlKind::IdentityEdit;
}

bool isLabel(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::PlainLabel;
}

// The nearest label left of the edit whose middle lies within the edit's rows.
const ControlTemplate* labelBeside(const DialogTemplate& dialog, const ControlTemplate& edit)
{
    const ControlTemplate* best = nullptr;
    for (const ControlTemplate& c : dialog.controls) {
        if (!isLabel(c.kind) || c.x >= edit.x)
            continue;
        const int middle2 = 2 * c.y + c.height;
        if (middle2 < 2 * edit.y || middle2 > 2 * (edit.y + edit.height))
            continue;
        if (!best || c.x > best->x)
            best = &c;
    }
    return best;
}

}  // namespace

QString spokenText(const char* text)
{
    QString spoken = QString::fromLatin1(text);
    spoken.remove(QLatin1Char('&'));
    return spoken;
}

QWidget* createControl(const ControlTemplate& control, QWidget& parent)
{
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::PlainLabel:
    case ControlKind::Picture:
    case ControlKind::Icon:
        return new CStatic(&parent);
    case ControlKind::ValueEdit:
    case ControlKind::IdentityEdit:
        return new CEdit(&parent);
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
        return new QPushButton(&parent);
    case ControlKind::GroupBox:
        return new QGroupBox(&parent);
    case ControlKind::TabControl:
        return new CTabCtrl(&parent);
    case ControlKind::EtchedLine:
        return new QFrame(&parent);
    }
    return new QWidget(&parent);
}

void applyControlTemplate(QWidget& widget, const ControlTemplate& control, const DialogUnits& units,
                          QWidget& parent)
{
    if (widget.parentWidget() != &parent)
        widget.setParent(&parent);
    widget.setGeometry(units.toPixels(control.x, control.y, control.width, control.height));
    if (control.id != noControlId)
        setControlId(widget, control.id);
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
            button->setAccessibleName(spokenText(control.text));
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
            const QPixmap image = loadImageResource(text.toInt());
            if (!image.isNull())
                icon->setPixmap(image.scaled(widget.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
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

std::vector<QWidget*> buildControls(const DialogTemplate& dialog, const DialogUnits& units, QWidget& parent)
{
    std::vector<QWidget*> made;
    made.reserve(dialog.controls.size());
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = createControl(control, parent);
        applyControlTemplate(*widget, control, units, parent);
        made.push_back(widget);
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        const ControlTemplate& control = dialog.controls[i];
        if (!isEdit(control.kind))
            continue;
        if (const ControlTemplate* label = labelBeside(dialog, control)) {
            made[i]->setAccessibleName(spokenText(label->text));
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
    return made;
}

}  // namespace veltra
