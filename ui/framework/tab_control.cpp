#include "tab_control.h"

#include <QChildEvent>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace veltra {

CTabCtrl::CTabCtrl(QWidget* parent) : QWidget(parent)
{
    m_bar = new QTabBar(this);
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    QObject::connect(m_bar, &QTabBar::currentChanged, this, [this](int) {
        if (m_selChange)
            m_selChange();
    });
}

int CTabCtrl::InsertItem(int index, const QString& text)
{
    QSignalBlocker quiet(m_bar);
    const int at = m_bar->insertTab(index, text);
    layoutBar();
    return at;
}

int CTabCtrl::GetItemCount() const
{
    return m_bar->count();
}

int CTabCtrl::GetCurSel() const
{
    return m_bar->currentIndex();
}

int CTabCtrl::SetCurSel(int index)
{
    const int previous = m_bar->currentIndex();
    QSignalBlocker quiet(m_bar);
    m_bar->setCurrentIndex(index);
    return previous;
}

void CTabCtrl::SetSelChangeHandler(std::function<void()> handler)
{
    m_selChange = std::move(handler);
}

void CTabCtrl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_bar->height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_bar->size();
    frame.tabBarRect = m_bar->geometry();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

void CTabCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutBar();
}

void CTabCtrl::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    // Pages are placed just below the tabs; the tabs stay on top of them.
    if (event->added() && m_bar)
        m_bar->raise();
}

void CTabCtrl::layoutBar()
{
    const QSize hint = m_bar->sizeHint();
    m_bar->setGeometry(2, 0, std::min(hint.width(), std::max(0, width() - 4)), hint.height());
    update();
}

}  // namespace veltra
