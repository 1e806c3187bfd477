// A page whose content is taller than the page: its own scroll bar moves
// its children, as a native dialog's does, so that they stay the page's
// children (found by id, in tab order) wherever they are scrolled to.
#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "qt_backend.h"
#include "../backend.h"
#include "widgets.h"

namespace veltra {

namespace qt {

namespace {

class PageScroller : public QObject {
public:
    explicit PageScroller(QWidget& page) : QObject(&page), m_page(page)
    {
        page.installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && m_page.isAncestorOf(now))
                bringIntoView(*now);
        });
    }

    void setContentHeight(int pixels)
    {
        if (m_bar)
            m_bar->setValue(0);
        m_contentHeight = pixels;
        updateRange();
    }

    // The bar's width while it shows; 0 when it does not.
    int barWidth() const { return m_bar && !m_bar->isHidden() ? m_bar->width() : 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_page)
            return false;
        if (event->type() == QEvent::Resize)
            updateRange();
        // A wheel turned over a child the child does not use comes here too.
        if (event->type() == QEvent::Wheel && barWidth() > 0) {
            const int turned = static_cast<QWheelEvent*>(event)->angleDelta().y();
            const int lines = QApplication::wheelScrollLines() * m_bar->singleStep();
            m_bar->setValue(m_bar->value() - turned * lines / QWheelEvent::DefaultDeltasPerStep);
            event->accept();
            return true;
        }
        return false;
    }

private:
    // The bar is made only once the content overflows: until then the page
    // has no child the toolkit did not make for the program.
    void updateRange()
    {
        const int overflow = m_contentHeight - m_page.height();
        if (overflow <= 0) {
            if (m_bar) {
                m_bar->setValue(0);
                m_bar->hide();
            }
            return;
        }
        if (!m_bar) {
            m_bar = new QScrollBar(Qt::Vertical, &m_page);
            m_bar->setFocusPolicy(Qt::NoFocus);
            connect(m_bar, &QScrollBar::valueChanged, this, [this](int value) { scrollTo(value); });
        }
        const int width = m_page.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_bar);
        m_bar->setGeometry(m_page.width() - width, 0, width, m_page.height());
        m_bar->setRange(0, overflow);
        m_bar->setPageStep(m_page.height());
        m_bar->setSingleStep(m_page.fontMetrics().height());
        m_bar->raise();
        m_bar->show();
    }

    void scrollTo(int position)
    {
        const int by = m_position - position;
        m_position = position;
        for (QWidget* child : m_page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child != m_bar && !child->isWindow())
                child->move(child->x(), child->y() + by);
    }

    void bringIntoView(const QWidget& focused)
    {
        if (barWidth() == 0)
            return;
        const QRect shown(focused.mapTo(&m_page, QPoint(0, 0)), focused.size());
        if (shown.top() < 0)
            m_bar->setValue(m_bar->value() + shown.top());
        else if (shown.bottom() >= m_page.height())
            m_bar->setValue(m_bar->value() + shown.bottom() + 1 - m_page.height());
    }

    QWidget& m_page;
    QScrollBar* m_bar = nullptr;
    int m_contentHeight = 0;
    int m_position = 0;
};

// Found by its C++ type: it has no meta-object of its own to be found by.
PageScroller* scrollerOf(const QWidget& page)
{
    for (QObject* child : page.children())
        if (auto* scroller = dynamic_cast<PageScroller*>(child))
            return scroller;
    return nullptr;
}

}  // namespace

int scrollBarWidth(const QWidget& window)
{
    const PageScroller* scroller = scrollerOf(window);
    return scroller ? scroller->barWidth() : 0;
}

}  // namespace qt

namespace backend {

void setScrollHeight(WindowHandle window, int pixels)
{
    QWidget& page = *qt::widgetOf(window);
    qt::PageScroller* scroller = qt::scrollerOf(page);
    if (!scroller) {
        if (pixels <= 0)
            return;
        scroller = new qt::PageScroller(page);
    }
    scroller->setContentHeight(pixels);
}

}  // namespace backend
}  // namespace veltra
