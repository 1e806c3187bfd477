// Open BIOS, from its dialog or with a file from outside.
#include <QFileInfo>

#include "ui/res/strings.h"
#include "ui/veltra_dlg.h"

namespace veltra {

void CVeltraDlg::OnOpenBios()
{
    const std::optional<QString> path = prompts().askOpenPath(this, romFileQuestion(res::openDialogTitle));
    if (!path)
        return;
    OpenFile(*path);
}

bool CVeltraDlg::OpenFile(const QString& path)
{
    if (!LoadAndShow(path))
        return false;
    m_fileName = QFileInfo(path).fileName();
    m_filePath = path;
    UpdateData(false);
    return true;
}

}  // namespace veltra
