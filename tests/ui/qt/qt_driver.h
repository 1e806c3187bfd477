#pragma once

#include <QLineEdit>
#include <QList>
#include <QPoint>
#include <QUrl>
#include <optional>

#include "tests/ui/driver.h"
#include "ui/framework/qt/qt_backend.h"

// Input only Qt's tests give: drags of any link, and right clicks.
namespace veltra::testing {

// A drag of `urls` from another program, delivered through the window as the
// platform delivers it, over `target` at `where` (its centre when unset);
// whether the window took the drag, and then the drop.
bool dropUrls(CDialog& window, CWnd& target, const QList<QUrl>& urls, std::optional<QPoint> where = std::nullopt);
// A right click on `widget` at `at` (its own pixels), through its window.
void rightClick(QWidget& widget, QPoint at);

inline QWidget& widget(const CWnd& window)
{
    return *qt::widgetOf(window);
}

inline QLineEdit& lineEdit(const CWnd& edit)
{
    return *qt::widgetOf<QLineEdit>(edit);
}

}  // namespace veltra::testing
