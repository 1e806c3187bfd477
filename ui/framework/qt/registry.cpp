// Which object each of our widgets reports to, its kind and its id.
#include "registry.h"

#include <QHash>

#include "qt_backend.h"
#include "../backend.h"

namespace veltra {

namespace {

QHash<const void*, qt::WindowRecord>& records()
{
    static QHash<const void*, qt::WindowRecord> map;
    return map;
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

void track(QWidget& widget, ControlKind kind, int id)
{
    records().insert(&widget, WindowRecord{nullptr, kind, id, 0});
    // The key is taken now: by the time `destroyed` comes, the widget is gone.
    QObject::connect(&widget, &QObject::destroyed, [key = static_cast<void*>(&widget)] {
        WindowEvents::Report(WindowHandle{key}, event::Destroyed{});
        records().remove(key);
    });
}

WindowRecord* recordOf(const QWidget* widget)
{
    const auto found = records().find(widget);
    return found == records().end() ? nullptr : &*found;
}

QWidget* ours(QWidget* widget)
{
    while (widget && !recordOf(widget))
        widget = widget->parentWidget();
    return widget;
}

QWidget* oursInItsWindow(QWidget* widget)
{
    QWidget* found = ours(widget);
    return found && widget && found->window() == widget->window() ? found : nullptr;
}

}  // namespace qt

namespace backend {

void setObject(WindowHandle window, CWnd* object)
{
    if (qt::WindowRecord* record = qt::recordOf(qt::widgetOf(window)))
        record->object = object;
}

CWnd* object(WindowHandle window)
{
    const qt::WindowRecord* record = qt::recordOf(qt::widgetOf(window));
    return record ? record->object : nullptr;
}

std::optional<ControlKind> kindOf(WindowHandle window)
{
    const qt::WindowRecord* record = qt::recordOf(qt::widgetOf(window));
    return record ? std::optional<ControlKind>(record->kind) : std::nullopt;
}

int controlId(WindowHandle window)
{
    const qt::WindowRecord* record = qt::recordOf(qt::widgetOf(window));
    return record ? record->id : noControlId;
}

}  // namespace backend
}  // namespace veltra
