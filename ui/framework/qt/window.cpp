// What the framework reads and sets on the backend's widgets.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls.h"
#include "qt_backend.h"
#include "registry.h"
#include "../backend.h"

namespace veltra {

namespace {

using qt::handleOf;
using qt::widgetOf;

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

ControlClass classOf(WindowHandle window)
{
    const std::optional<ControlKind> kind = backend::kindOf(window);
    return kind ? traitsOf(*kind).controlClass : ControlClass::Window;
}

qt::TabWidget& tabsOf(WindowHandle tabs)
{
    return *static_cast<qt::TabWidget*>(widgetOf(tabs));
}

}  // namespace

namespace backend {

void destroyWindow(WindowHandle window)
{
    delete widgetOf(window);
}

WindowHandle parent(WindowHandle window)
{
    return handleOf(qt::ours(widgetOf(window)->parentWidget()));
}

bool isTopLevel(WindowHandle window)
{
    return widgetOf(window)->isWindow();
}

std::vector<WindowHandle> children(WindowHandle window)
{
    std::vector<WindowHandle> found;
    for (QWidget* child : widgetOf(window)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (qt::recordOf(child) && !child->isWindow())
            found.push_back(handleOf(child));
    return found;
}

WindowHandle focus()
{
    return handleOf(qt::ours(QApplication::focusWidget()));
}

std::string text(WindowHandle window)
{
    QWidget* widget = widgetOf(window);
    switch (classOf(window)) {
    case ControlClass::Edit:
        return static_cast<QLineEdit*>(widget)->text().toStdString();
    case ControlClass::Static:
        return static_cast<QLabel*>(widget)->text().toStdString();
    case ControlClass::Button:
        return static_cast<QPushButton*>(widget)->text().toStdString();
    default:
        return widget->windowTitle().toStdString();
    }
}

void setText(WindowHandle window, const std::string& text)
{
    QWidget* widget = widgetOf(window);
    switch (classOf(window)) {
    case ControlClass::Edit:
        static_cast<QLineEdit*>(widget)->setText(qtext(text));
        break;
    case ControlClass::Static:
        static_cast<QLabel*>(widget)->setText(qtext(text));
        break;
    case ControlClass::Button:
        static_cast<QPushButton*>(widget)->setText(qtext(text));
        break;
    default:
        widget->setWindowTitle(qtext(text));
    }
}

bool isEnabled(WindowHandle window)
{
    return widgetOf(window)->isEnabled();
}

void setEnabled(WindowHandle window, bool enabled)
{
    widgetOf(window)->setEnabled(enabled);
}

bool isVisible(WindowHandle window)
{
    return widgetOf(window)->isVisible();
}

void setVisible(WindowHandle window, bool visible)
{
    widgetOf(window)->setVisible(visible);
}

void setFocus(WindowHandle window)
{
    widgetOf(window)->setFocus(Qt::OtherFocusReason);
}

CRect clientRect(WindowHandle window)
{
    // A scroll bar takes its width from the client area, as a native one does.
    const QRect rect = widgetOf(window)->rect();
    const int width = rect.width() - qt::scrollBarWidth(*widgetOf(window));
    return {rect.left(), rect.top(), rect.left() + width, rect.top() + rect.height()};
}

CRect windowRect(WindowHandle window)
{
    const QRect place = widgetOf(window)->geometry();
    return {place.left(), place.top(), place.left() + place.width(), place.top() + place.height()};
}

CPoint screenPoint(WindowHandle window, CPoint client)
{
    const QPoint at = widgetOf(window)->mapToGlobal(QPoint(client.x, client.y));
    return {at.x(), at.y()};
}

int textWidth(WindowHandle window, const std::string& text)
{
    return widgetOf(window)->fontMetrics().horizontalAdvance(qtext(text));
}

void moveWindow(WindowHandle window, const CRect& rect)
{
    widgetOf(window)->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

void invalidate(WindowHandle window)
{
    QWidget* widget = widgetOf(window);
    if (auto* edit = dynamic_cast<qt::EditWidget*>(widget))
        edit->applyColors();
    widget->update();
}

void setAccessibleName(WindowHandle window, const std::string& name, WindowHandle label)
{
    widgetOf(window)->setAccessibleName(qtext(name));
    if (auto* text = dynamic_cast<QLabel*>(widgetOf(label)))
        text->setBuddy(widgetOf(window));
}

void acceptFileDrops(WindowHandle window, bool accept)
{
    // Drags over its edits, which take drops of their own, reach the
    // framework first (events.cpp).
    widgetOf(window)->setAcceptDrops(accept);
}

void setSelection(WindowHandle edit, int start, int end)
{
    if (classOf(edit) != ControlClass::Edit)
        return;
    auto* line = static_cast<QLineEdit*>(widgetOf(edit));
    const int length = static_cast<int>(line->text().size());
    const int last = end < 0 || end > length ? length : end;
    line->setSelection(start, last - start);
}

void selection(WindowHandle edit, int& start, int& end)
{
    if (classOf(edit) != ControlClass::Edit) {
        start = end = 0;
        return;
    }
    const auto* line = static_cast<QLineEdit*>(widgetOf(edit));
    if (!line->hasSelectedText()) {
        start = end = line->cursorPosition();
        return;
    }
    start = line->selectionStart();
    end = line->selectionEnd();
}

void click(WindowHandle button)
{
    if (classOf(button) == ControlClass::Button)
        static_cast<QPushButton*>(widgetOf(button))->click();
}

int insertTab(WindowHandle tabs, int index, const std::string& text)
{
    return tabsOf(tabs).insertTab(index, qtext(text));
}

int tabCount(WindowHandle tabs)
{
    return tabsOf(tabs).bar().count();
}

std::string tabText(WindowHandle tabs, int index)
{
    return tabsOf(tabs).bar().tabText(index).toStdString();
}

int currentTab(WindowHandle tabs)
{
    return tabsOf(tabs).bar().currentIndex();
}

void setCurrentTab(WindowHandle tabs, int index)
{
    tabsOf(tabs).setCurrent(index);
}

CRect tabRect(WindowHandle tabs, int index)
{
    QTabBar& bar = tabsOf(tabs).bar();
    const QRect caption = bar.tabRect(index).translated(bar.pos());
    return {caption.left(), caption.top(), caption.left() + caption.width(), caption.top() + caption.height()};
}

}  // namespace backend

namespace qt {

QTabBar* tabBarOf(const CTabCtrl& tabs)
{
    auto* widget = dynamic_cast<TabWidget*>(widgetOf(tabs.GetWindowHandle()));
    return widget ? &widget->bar() : nullptr;
}

}  // namespace qt
}  // namespace veltra
