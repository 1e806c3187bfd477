#include "veltra_app.h"

#include "rom/file.h"
#include "ui/veltra_dlg.h"

namespace veltra {

CVeltraApp theApp;

bool CVeltraApp::InitInstance()
{
    ignoreFileSizeLimitSignal();
    CVeltraDlg dlg;
    dlg.DoModal();
    return false;
}

}  // namespace veltra
