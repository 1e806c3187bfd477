// The two save commands and the commit of the pages' values.
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "ui/framework/prompts.h"
#include "ui/framework/text.h"
#include "ui/res/strings.h"
#include "ui/veltra_dlg.h"

namespace veltra {

void CVeltraDlg::OnSaveBios()
{
    if (!CommitEdits())
        return;
    // Minutes may have passed since the load: another program's change to
    // the file is refused rather than overwritten.
    if (!saveRomFile(m_filePath, m_info, m_loadedFrom))
        return;
    LoadAndShow(m_filePath);
}

void CVeltraDlg::OnSaveBiosAs()
{
    // The values are checked only once a target has been chosen.
    const std::optional<std::filesystem::path> path = prompts().askSavePath(this, romFileQuestion(res::saveDialogTitle));
    if (!path)
        return;
    if (!CommitEdits())
        return;
    if (!saveRomFile(*path, m_info))
        return;
    if (!LoadAndShow(*path))
        return;
    m_filePath = *path;
    m_fileName = pathText(path->filename());
    UpdateData(false);
}

bool CVeltraDlg::CommitEdits()
{
    // Each page is read when the rules reach it, so a failing rule leaves the
    // later pages unread. A value a page cannot read ends the commit there:
    // saving the number it held before would write what nobody typed.
    PageValues values;
    CSettingPage* unread = nullptr;
    const auto readPage = [this, &unread](EditGroup group, PageValues& out) {
        CSettingPage& page = PageOf(group);
        if (!page.ReadValues(out))
            unread = &page;
        return unread == nullptr;
    };
    const SaveRule* failed = commitPageValues(values, m_info, readPage);
    if (unread)
        GotoPageEdit(*unread, unread->FailedControl());
    else if (failed)
        GotoPageEdit(PageOf(failed->group),
                     PageOf(failed->group).EditOf(failed->breaking(values, failed->entry), failed->entry));
    return failed == nullptr;
}

}  // namespace veltra
