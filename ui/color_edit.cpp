#include "color_edit.h"

#include <QApplication>
#include <QEvent>

namespace veltra {

CColorEdit::CColorEdit() : m_crText(Qt::black), m_crBack(Qt::white) {}

CColorEdit::~CColorEdit() = default;

void CColorEdit::SetBackColor(const QColor& color)
{
    m_crBack = color;
    m_brBack = QBrush(color, Qt::SolidPattern);
    CtlColor();
    update();
}

void CColorEdit::CtlColor()
{
    // Without a brush the style's own colours apply.
    QPalette colours = QApplication::palette(this);
    if (m_brBack) {
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            colours.setBrush(group, QPalette::Base, *m_brBack);
            colours.setBrush(group, QPalette::Window, *m_brBack);
            colours.setColor(group, QPalette::Text, m_crText);
        }
    }
    setPalette(colours);
}

void CColorEdit::changeEvent(QEvent* event)
{
    CEdit::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::StyleChange)
        CtlColor();
}

}  // namespace veltra
