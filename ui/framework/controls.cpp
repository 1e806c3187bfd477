#include "controls.h"

#include <QPainter>

#include "dialog_template.h"

namespace veltra {

namespace {
constexpr const char* idProperty = "veltraControlId";
}

void setControlId(QWidget& control, int id)
{
    control.setProperty(idProperty, id);
}

int controlId(const QWidget& control)
{
    const QVariant id = control.property(idProperty);
    return id.isValid() ? id.toInt() : noControlId;
}

bool CStatic::Create(const QString& text, Qt::Alignment alignment, const QRect& rect, QWidget* parent, int id)
{
    if (parentWidget() != parent)
        setParent(parent);
    setText(text);
    setAlignment(alignment);
    setGeometry(rect);
    if (id != noControlId)
        setControlId(*this, id);
    show();
    return true;
}

bool CEdit::Create(bool tabStop, const QRect& rect, QWidget* parent, int id)
{
    if (parentWidget() != parent)
        setParent(parent);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    // A one-pixel border instead of the style's frame: a control made at run
    // time is often small and must still show its whole text.
    setFrame(false);
    m_thinBorder = true;
    setGeometry(rect);
    setControlId(*this, id);
    show();
    return true;
}

void CEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (!m_thinBorder)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace veltra
