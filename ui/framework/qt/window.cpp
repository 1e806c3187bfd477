// The backend's windows: which object each reports to, its id, and what the
// framework reads and sets on it.
#include <QApplication>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt_backend.h"
#include "tracking.h"
#include "../backend.h"
#include "widgets.h"

namespace veltra {

namespace {

constexpr const char* idProperty = "veltraControlId";

// The object each of our widgets reports to; a widget of ours is one that
// has an entry, its object null until one is attached.
QHash<const void*, CWnd*>& objects()
{
    static QHash<const void*, CWnd*> map;
    return map;
}

bool isOurs(const QWidget* widget)
{
    return objects().contains(widget);
}

QWidget* ours(QWidget* widget)
{
    while (widget && !isOurs(widget))
        widget = widget->parentWidget();
    return widget;
}

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

namespace qt {

QWidget* widgetOf(WindowHandle window)
{
    return static_cast<QWidget*>(window.native);
}

WindowHandle handleOf(const QWidget* widget)
{
    return WindowHandle{const_cast<QWidget*>(widget)};
}

std::filesystem::path filePath(const QString& localFile)
{
#ifdef _WIN32
    return std::filesystem::path(localFile.toStdWString());
#else
    const QByteArray encoded = QFile::encodeName(localFile);
    return std::filesystem::path(std::string(encoded.constData(), static_cast<std::size_t>(encoded.size())));
#endif
}

void track(QWidget& widget, int id)
{
    objects().insert(&widget, nullptr);
    if (id != noControlId)
        widget.setProperty(idProperty, id);
    // The key is taken now: by the time `destroyed` comes, the widget is gone.
    QObject::connect(&widget, &QObject::destroyed, [key = static_cast<void*>(&widget)] {
        WindowEvents::Destroyed(WindowHandle{key});
        objects().remove(key);
    });
}

}  // namespace qt

namespace backend {

using qt::widgetOf;
using qt::handleOf;

void destroyWindow(WindowHandle window)
{
    delete widgetOf(window);
}

void setObject(WindowHandle window, CWnd* object)
{
    if (auto found = objects().find(window.native); found != objects().end())
        *found = object;
}

CWnd* object(WindowHandle window)
{
    return objects().value(window.native, nullptr);
}

WindowClass classOf(WindowHandle window)
{
    QWidget* widget = widgetOf(window);
    if (dynamic_cast<qt::DialogWidget*>(widget))
        return WindowClass::Dialog;
    if (dynamic_cast<QLineEdit*>(widget))
        return WindowClass::Edit;
    if (dynamic_cast<QLabel*>(widget))
        return WindowClass::Static;
    if (dynamic_cast<QPushButton*>(widget))
        return WindowClass::Button;
    if (dynamic_cast<qt::TabWidget*>(widget))
        return WindowClass::TabControl;
    return WindowClass::Other;
}

int controlId(WindowHandle window)
{
    const QVariant id = widgetOf(window)->property(idProperty);
    return id.isValid() ? id.toInt() : noControlId;
}

WindowHandle parent(WindowHandle window)
{
    return handleOf(ours(widgetOf(window)->parentWidget()));
}

std::vector<WindowHandle> children(WindowHandle window)
{
    std::vector<WindowHandle> found;
    for (QWidget* child : widgetOf(window)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (isOurs(child) && !child->isWindow())
            found.push_back(handleOf(child));
    return found;
}

WindowHandle focus()
{
    return handleOf(ours(QApplication::focusWidget()));
}

std::string text(WindowHandle window)
{
    QWidget* widget = widgetOf(window);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* label = dynamic_cast<QLabel*>(widget))
        return label->text().toStdString();
    if (auto* button = dynamic_cast<QPushButton*>(widget))
        return button->text().toStdString();
    return widget->windowTitle().toStdString();
}

void setText(WindowHandle window, const std::string& text)
{
    QWidget* widget = widgetOf(window);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget))
        edit->setText(qtext(text));
    else if (auto* label = dynamic_cast<QLabel*>(widget))
        label->setText(qtext(text));
    else if (auto* button = dynamic_cast<QPushButton*>(widget))
        button->setText(qtext(text));
    else
        widget->setWindowTitle(qtext(text));
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

// Qt lays lengths out in device-independent pixels and scales them itself.
int dpi(WindowHandle)
{
    return 96;
}

CRect clientRect(WindowHandle window)
{
    // A scroll bar takes its width from the client area, as a native one does.
    const QRect rect = widgetOf(window)->rect();
    const int width = rect.width() - qt::scrollBarWidth(*widgetOf(window));
    return {rect.left(), rect.top(), rect.left() + width, rect.top() + rect.height()};
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
    if (auto* dialog = dynamic_cast<qt::DialogWidget*>(widgetOf(window)))
        dialog->acceptFileDrops(accept);
    else
        widgetOf(window)->setAcceptDrops(accept);
}

void setSelection(WindowHandle edit, int start, int end)
{
    auto* line = dynamic_cast<QLineEdit*>(widgetOf(edit));
    if (!line)
        return;
    const int length = static_cast<int>(line->text().size());
    const int last = end < 0 || end > length ? length : end;
    line->setSelection(start, last - start);
}

void selection(WindowHandle edit, int& start, int& end)
{
    const auto* line = dynamic_cast<QLineEdit*>(widgetOf(edit));
    if (!line || !line->hasSelectedText()) {
        start = end = line ? line->cursorPosition() : 0;
        return;
    }
    start = line->selectionStart();
    end = line->selectionEnd();
}

void click(WindowHandle button)
{
    if (auto* push = dynamic_cast<QPushButton*>(widgetOf(button)))
        push->click();
}

int insertTab(WindowHandle tabs, int index, const std::string& text)
{
    return static_cast<qt::TabWidget*>(widgetOf(tabs))->insertTab(index, qtext(text));
}

int tabCount(WindowHandle tabs)
{
    return static_cast<qt::TabWidget*>(widgetOf(tabs))->bar().count();
}

std::string tabText(WindowHandle tabs, int index)
{
    return static_cast<qt::TabWidget*>(widgetOf(tabs))->bar().tabText(index).toStdString();
}

int currentTab(WindowHandle tabs)
{
    return static_cast<qt::TabWidget*>(widgetOf(tabs))->bar().currentIndex();
}

void setCurrentTab(WindowHandle tabs, int index)
{
    static_cast<qt::TabWidget*>(widgetOf(tabs))->setCurrent(index);
}

}  // namespace backend

namespace qt {

QTabBar* tabBarOf(const CTabCtrl& tabs)
{
    auto* widget = dynamic_cast<TabWidget*>(widgetOf(tabs.GetSafeHwnd()));
    return widget ? &widget->bar() : nullptr;
}

}  // namespace qt
}  // namespace veltra
