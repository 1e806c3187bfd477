#include "about_dlg.h"

#include "res/templates.h"

namespace veltra {

CAboutDlg::CAboutDlg() : CDialog(res::dialogTemplate(res::aboutDialogId)) {}

}  // namespace veltra
