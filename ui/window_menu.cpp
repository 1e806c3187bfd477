// The About item: in the window's menu, on a right click outside the edits,
// and on F1.
#include "ui/about_dlg.h"
#include "ui/res/strings.h"
#include "ui/veltra_dlg.h"

namespace veltra {

void CVeltraDlg::InitWindowMenu()
{
    CMenu* sysMenu = GetSystemMenu();
    sysMenu->AppendMenu(MenuItem::Separator);
    sysMenu->AppendMenu(MenuItem::String, aboutCommandId, res::aboutMenuText);
}

void CVeltraDlg::OnSysCommand(unsigned nID, long long lParam)
{
    if ((nID & 0xFFF0) == aboutCommandId) {
        CAboutDlg about(this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CVeltraDlg::OnContextMenu(CWnd*, CPoint point)
{
    GetSystemMenu()->TrackPopupMenu(point);
}

}  // namespace veltra
