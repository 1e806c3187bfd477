#pragma once

// The backend's own record of each widget it made for the framework: which
// object it reports to, its kind and id. A widget is ours while it has a
// record. Also what the backend's files share among themselves.

#include <QWidget>
#include <optional>

#include "../control_kinds.h"
#include "../keys.h"

class QKeyEvent;

namespace veltra {
class CWnd;
}

namespace veltra::qt {

struct WindowRecord {
    CWnd* object = nullptr;
    ControlKind kind = ControlKind::Dialog;
    int id = -1;
    int imageId = 0;  // the picture a static shows
};

// Makes `widget` one of the framework's windows: objects can be attached to
// it, and its end is reported.
void track(QWidget& widget, ControlKind kind, int id);
// The record of `widget`; null when it is not ours.
WindowRecord* recordOf(const QWidget* widget);
// The nearest widget of ours that is `widget` or holds it.
QWidget* ours(QWidget* widget);
// The same, only within `widget`'s own window: null for a popup menu, a
// message box or a file dialog over one of ours.
QWidget* oursInItsWindow(QWidget* widget);

// Events (events.cpp): reports the user's input in the framework's windows
// from here on: keys, right clicks, the wheel, drags and drops, the focus and
// sizes, each to the window of ours it is for, before that window sees it.
// Once per process, with the application object.
void startReporting();

// Keys (keys.cpp): the event's key; nothing for a key the framework does not
// name.
std::optional<KeyCombination> keysOf(const QKeyEvent& event);

}  // namespace veltra::qt
