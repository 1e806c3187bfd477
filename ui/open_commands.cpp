// Open BIOS, files dropped on the window, and the question before typed
// values are thrown away.
#include "ui/framework/text.h"
#include "ui/res/strings.h"
#include "ui/veltra_dlg.h"

namespace veltra {

void CVeltraDlg::OnOpenBios()
{
    const std::optional<std::filesystem::path> path = prompts().askOpenPath(this, romFileQuestion(res::openDialogTitle));
    if (!path)
        return;
    OpenFile(*path);
}

void CVeltraDlg::OnDropFiles(const std::vector<std::filesystem::path>& files)
{
    if (files.size() != 1) {
        showMessage(this, res::oneFileAtATimeMessage);
        return;
    }
    OpenFile(files.front());
}

bool CVeltraDlg::OpenFile(const std::filesystem::path& path)
{
    if (!ConfirmDiscardEdits())
        return false;
    if (!LoadAndShow(path))
        return false;
    m_fileName = pathText(path.filename());
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
    return !HasUnsavedEdits() || prompts().askYesNo(this, res::discardEditsQuestion);
}

void CVeltraDlg::OnCancel()
{
    if (ConfirmDiscardEdits())
        CDialog::OnCancel();
}

}  // namespace veltra
