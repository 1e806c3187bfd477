#include "controls.h"

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
    setParent(parent);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    // A one-pixel border and no inner padding: the grid cells are small and
    // must still show a whole clock value.
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(dark); padding: 0px; "
                                 "background: palette(base); }"));
    setTextMargins(-1, 0, -1, 0);
    setGeometry(rect);
    setControlId(*this, id);
    show();
    return true;
}

}  // namespace veltra
