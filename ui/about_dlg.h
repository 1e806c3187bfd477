#pragma once

#include "ui/framework/dialog.h"

namespace veltra {

// The About box: icon, name and version, OK.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};

}  // namespace veltra
