#pragma once

#include "ui/framework/dialog.h"

namespace veltra {

// The About box: icon, name and version, OK. It belongs to the window that
// opens it.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent);
};

}  // namespace veltra
