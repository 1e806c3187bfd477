// The user's input in the framework's windows, reported before the widget it
// is for sees it: what the framework uses up goes no further.
#include "registry.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QWheelEvent>

#include "qt_backend.h"
#include "../backend.h"

namespace veltra::qt {

namespace {

bool report(QWidget* target, const WindowEvent& event)
{
    return WindowEvents::Report(handleOf(target), event);
}

// A drag that carries files, and only files on this machine.
bool carriesLocalFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return false;
    for (const QUrl& url : data->urls())
        if (!url.isLocalFile())
            return false;
    return true;
}

// A key reaches the focus widget first, and its parents after it when it
// ignores the key: the framework hears it once, there.
bool firstReceiverOfKey(const QWidget* watched)
{
    const QWidget* focus = QApplication::focusWidget();
    return focus ? watched == focus : watched->isWindow();
}

bool drag(QWidget* target, QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    if (!carriesLocalFiles(drop->mimeData()) || !report(target, event::FilesDragged{}))
        return false;
    drop->acceptProposedAction();
    if (event->type() != QEvent::Drop)
        return true;
    // Copied: the drag's data belongs to the drag, which may end while a
    // message box runs.
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : drop->mimeData()->urls())
        files.push_back(filePath(url.toLocalFile()));
    report(target, event::FilesDropped{files});
    return true;
}

class Reporter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* target = oursInItsWindow(widget);
        if (!target)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress: {
            const std::optional<KeyCombination> keys = keysOf(*static_cast<QKeyEvent*>(event));
            return keys && firstReceiverOfKey(widget) && report(target, event::KeyPressed{*keys});
        }
        case QEvent::ContextMenu: {
            // A scrolling page's bar keeps its own menu, as the system's does.
            if (qobject_cast<QScrollBar*>(widget))
                return false;
            const auto* asked = static_cast<QContextMenuEvent*>(event);
            std::optional<CPoint> at;
            if (asked->reason() == QContextMenuEvent::Mouse)
                at = CPoint{asked->globalPos().x(), asked->globalPos().y()};
            return report(target, event::ContextMenuAsked{at});
        }
        case QEvent::Wheel:
            // A widget that does not use the wheel passes it to its parent,
            // which reports it again: the answer is the same.
            return report(target, event::WheelTurned{static_cast<QWheelEvent*>(event)->angleDelta().y()});
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return drag(target, event);
        case QEvent::Resize:
            if (target == widget)
                report(target, event::Resized{});
            return false;
        default:
            return false;
        }
    }
};

}  // namespace

void startReporting()
{
    static Reporter reporter;
    qApp->installEventFilter(&reporter);
    QObject::connect(qApp, &QApplication::focusChanged, &reporter, [](QWidget*, QWidget* now) {
        if (QWidget* target = oursInItsWindow(now))
            report(target, event::FocusTaken{});
    });
}

}  // namespace veltra::qt
