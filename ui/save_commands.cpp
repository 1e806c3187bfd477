// The two save commands and the commit of the pages' values.
#include <QFileInfo>

#include "res/resource_ids.h"
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "ui/framework/prompts.h"
#include "ui/veltra_dlg.h"

namespace veltra {

void CVeltraDlg::OnSaveBios()
{
    if (!CommitEdits())
        return;
    // Minutes may have passed since the load: another program's change to
    // the file is refused rather than overwritten.
    if (!saveRomFile(toFilePath(m_filePath), m_info, m_loadedFrom))
        return;
    LoadAndShow(m_filePath);
}

void CVeltraDlg::OnSaveBiosAs()
{
    // The values are checked only once a target has been chosen.
    const std::optional<QString> path = prompts().askSavePath(this);
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
    const auto readPage = [this](EditGroup group, PageValues& out) {
        switch (group) {
        case EditGroup::Frequency:
            m_frequencyPage.UpdateData(true);
            out.gpuClock = m_frequencyPage.m_gpuClock.toStdString();
            out.boostClock = m_frequencyPage.m_boostClock.toStdString();
            out.memClock = m_frequencyPage.m_memClock.toStdString();
            break;
        case EditGroup::Boost:
            for (std::size_t k = 0; k < boostEntryCount; ++k)
                out.boostTable[k] = m_boostPage.m_edits[k].text().toStdString();
            break;
        case EditGroup::Power:
            m_powerPage.UpdateData(true);
            out.powerDefault = m_powerPage.m_powerDefault;
            out.powerMax = m_powerPage.m_powerMax;
            out.powerLimitLo = m_powerPage.m_powerLimitLo;
            out.powerLimitHi = m_powerPage.m_powerLimitHi;
            break;
        case EditGroup::Fan:
            m_fanPage.UpdateData(true);
            out.fanMin = m_fanPage.m_fanMin;
            out.fanMax = m_fanPage.m_fanMax;
            break;
        case EditGroup::Voltage:
            m_voltagePage.UpdateData(true);
            out.voltage = m_voltagePage.m_voltage.toStdString();
            break;
        }
    };
    return commitPageValues(values, m_info, readPage) == nullptr;
}

}  // namespace veltra
