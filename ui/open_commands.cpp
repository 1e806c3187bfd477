// Open BIOS, and the question before typed values are thrown away.
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
    if (!ConfirmDiscardEdits())
        return false;
    if (!LoadAndShow(path))
        return false;
    m_fileName = QFileInfo(path).fileName();
    m_filePath = path;
    UpdateData(false);
    return true;
}

bool CVeltraDlg::HasUnsavedEdits() const
{
    for (const CSettingPage* page : m_pages)
        if (page && page->IsEdited())
            return true;
    return false;
}

// A stray Escape or click must not silently lose typed work; with nothing
// edited there is nothing to ask.
bool CVeltraDlg::ConfirmDiscardEdits()
{
    return !HasUnsavedEdits() || prompts().askYesNo(this, QString::fromLatin1(res::discardEditsQuestion));
}

void CVeltraDlg::reject()
{
    if (ConfirmDiscardEdits())
        CDialog::reject();
}

}  // namespace veltra
