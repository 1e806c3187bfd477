#include "veltra_app.h"

#include "ui/veltra_dlg.h"

namespace veltra {

CVeltraApp theApp;

bool CVeltraApp::InitInstance()
{
    CVeltraDlg dlg;
    dlg.DoModal();
    return false;
}

}  // namespace veltra
