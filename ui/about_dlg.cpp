#include "about_dlg.h"

#include "ui/res/templates.h"

namespace veltra {

CAboutDlg::CAboutDlg() : CDialog(res::dialogTemplate(res::aboutDialogId)) {}

}  // namespace veltra
