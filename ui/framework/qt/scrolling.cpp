// A page's own scroll bar, made once its content overflows, and its
// children moved as a native dialog's are, so that they stay the page's
// children (found by id, in tab order) wherever they are scrolled to.
#include <QApplication>
#include <QScrollBar>
#include <QStyle>

#include "controls.h"
#include "qt_backend.h"
#include "../backend.h"

namespace veltra {

namespace {

// The bar is the page's only child not made for the program; found by its
// class, it is never reported as one of ours.
QScrollBar* barOf(const QWidget& page)
{
    return page.findChild<QScrollBar*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

namespace qt {

int scrollBarWidth(const QWidget& window)
{
    const QScrollBar* bar = barOf(window);
    return bar && !bar->isHidden() ? bar->width() : 0;
}

}  // namespace qt

namespace backend {

void setScrollBar(WindowHandle window, const std::optional<ScrollBar>& shown)
{
    QWidget& page = *qt::widgetOf(window);
    QScrollBar* bar = barOf(page);
    if (!shown) {
        if (bar)
            bar->hide();
        return;
    }
    if (!bar) {
        bar = new QScrollBar(Qt::Vertical, &page);
        bar->setFocusPolicy(Qt::NoFocus);
        QObject::connect(bar, &QScrollBar::valueChanged, bar, [window](int value) {
            WindowEvents::Report(window, event::ScrollBarMoved{ScrollStep::To, value});
        });
    }
    const QSignalBlocker quiet(bar);
    const int width = page.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    bar->setGeometry(page.width() - width, 0, width, page.height());
    bar->setRange(0, shown->range - shown->page);
    bar->setPageStep(shown->page);
    bar->setSingleStep(shown->line);
    bar->setValue(shown->position);
    bar->raise();
    bar->show();
}

void scrollChildren(WindowHandle window, int pixels)
{
    QWidget& page = *qt::widgetOf(window);
    for (QWidget* child : page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<QScrollBar*>(child) && !child->isWindow())
            child->move(child->x(), child->y() + pixels);
}

int wheelScrollLines()
{
    return QApplication::wheelScrollLines();
}

}  // namespace backend
}  // namespace veltra
