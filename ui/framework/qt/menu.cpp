// The window's menu. X11 and Wayland leave the frame's menu to the window
// manager, so the menu the framework offers is the one a right click opens.
#include <QAction>
#include <QMenu>

#include "qt_backend.h"
#include "../backend.h"
#include "controls.h"

namespace veltra {

namespace {

QMenu* qmenu(MenuHandle menu)
{
    return static_cast<QMenu*>(menu.native);
}

QAction* actionAt(MenuHandle menu, int position)
{
    const QList<QAction*> actions = qmenu(menu)->actions();
    return position >= 0 && position < actions.size() ? actions[position] : nullptr;
}

}  // namespace

namespace qt {

QMenu* menuOf(const CMenu& menu)
{
    return qmenu(menu.m_hMenu);
}

}  // namespace qt

namespace backend {

MenuHandle systemMenu(WindowHandle window)
{
    auto* dialog = dynamic_cast<qt::DialogWidget*>(qt::widgetOf(window));
    return MenuHandle{dialog ? &dialog->systemMenu() : nullptr};
}

void appendMenuItem(MenuHandle menu, MenuItem kind, unsigned id, const std::string& text)
{
    QMenu* target = qmenu(menu);
    if (kind == MenuItem::Separator) {
        target->addSeparator();
        return;
    }
    QAction* action = target->addAction(QString::fromStdString(text));
    action->setData(id);
    // The menu belongs to the dialog it was made for.
    QObject::connect(action, &QAction::triggered, target, [target, id] {
        WindowEvents::Report(qt::handleOf(target->parentWidget()), event::MenuChosen{id});
    });
}

int menuItemCount(MenuHandle menu)
{
    return static_cast<int>(qmenu(menu)->actions().size());
}

unsigned menuItemId(MenuHandle menu, int position)
{
    const QAction* action = actionAt(menu, position);
    return action ? action->data().toUInt() : 0;
}

std::string menuItemText(MenuHandle menu, int position)
{
    const QAction* action = actionAt(menu, position);
    return action ? action->text().toStdString() : std::string();
}

void trackPopupMenu(MenuHandle menu, CPoint point)
{
    qmenu(menu)->popup(QPoint(point.x, point.y));
}

}  // namespace backend
}  // namespace veltra
