#include "about_dlg.h"

#include "ui/res/templates.h"

namespace veltra {

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(res::dialogTemplate(res::aboutDialogId), pParent) {}

}  // namespace veltra
