#pragma once

#include <QWidget>

namespace veltra::qt {

// Makes `widget` one of the framework's windows, with control id `id`:
// objects can be attached to it, and its end is reported.
void track(QWidget& widget, int id);

}  // namespace veltra::qt
