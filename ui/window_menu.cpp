// The About item: in the window's menu, on a right click outside the edits,
// and on F1; and the keys of the three file commands.
#include <QContextMenuEvent>
#include <QMenu>

#include "ui/about_dlg.h"
#include "ui/res/strings.h"
#include "ui/veltra_dlg.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace veltra {

void CVeltraDlg::InitWindowMenu()
{
#ifdef Q_OS_WIN
    if (HMENU sysMenu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        AppendMenuW(sysMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(sysMenu, MF_STRING, aboutCommandId, reinterpret_cast<const wchar_t*>(
                                                            QString::fromLatin1(res::aboutMenuText).utf16()));
    }
#endif
    // X11 and Wayland leave the window menu to the window manager, so the
    // item also lives in the window's own context menu.
    m_sysMenu = new QMenu(this);
    m_sysMenu->addSeparator();
    QAction* about = m_sysMenu->addAction(QString::fromLatin1(res::aboutMenuText));
    QObject::connect(about, &QAction::triggered, this, [this] { OnSysCommand(aboutCommandId, 0); });
}

void CVeltraDlg::OnSysCommand(unsigned nID, long long)
{
    if ((nID & 0xFFF0) == aboutCommandId) {
        CAboutDlg about(this);
        about.DoModal();
    }
}

void CVeltraDlg::OnCommand(int id)
{
    if (id == res::aboutCommandId) {
        OnSysCommand(static_cast<unsigned>(id), 0);
        return;
    }
    CDialog::OnCommand(id);
}

// Edits keep their own menu; a right click anywhere else, pages included,
// reaches this one.
void CVeltraDlg::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(0, 0));
    m_sysMenu->popup(at);
    event->accept();
}

#ifdef Q_OS_WIN
bool CVeltraDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == aboutCommandId) {
        OnSysCommand(static_cast<unsigned>(msg->wParam), static_cast<long long>(msg->lParam));
        *result = 0;
        return true;
    }
    return CDialog::nativeEvent(eventType, message, result);
}
#endif

}  // namespace veltra
