// The two save commands and the commit of the pages' values.
#include <QFileInfo>

#include "ui/res/strings.h"
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "ui/framework/prompts.h"
#include "ui/veltra_dlg.h"

namespace veltra {

void CVeltraDlg::OnSaveBios()
{
    if (!CommitEdits())
        return;
    if (!saveRomFile(toFilePath(m_filePath), m_info))
        return;
    LoadAndShow(m_filePath);
}

void CVeltraDlg::OnSaveBiosAs()
{
    // The values are checked only once a target has been chosen.
    const std::optional<QString> path = prompts().askSavePath(this, romFileQuestion(res::saveDialogTitle));
    if (!path)
        return;
    if (!CommitEdits())
        return;
    if (!saveRomFile(toFilePath(*path), m_info))
        return;
    if (!LoadAndShow(*path))
        return;
    m_filePath = *path;
    m_fileName = QFileInfo(*path).fileName();
    UpdateData(false);
}

bool CVeltraDlg::CommitEdits()
{
    // Each page is read when the rules reach it, so a failing rule leaves the
    // later pages unread. The result of a page's exchange is not examined: a
    // value it could not read keeps its earlier one and is checked as such.
    PageValues values;
    const auto readPage = [this](EditGroup group, PageValues& out) { PageOf(group).ReadValues(out); };
    return commitPageValues(values, m_info, readPage) == nullptr;
}

}  // namespace veltra
