// The four pages made from templates. Each shows and reads its own part of
// the page values and knows which of its edits each of its rules checks.
#include "pages.h"

#include "ui/framework/data_exchange.h"
#include "ui/res/templates.h"

namespace veltra {

CFrequencyPage::CFrequencyPage() : CSettingPage(res::dialogTemplate(res::frequencyPageId)) {}

void CFrequencyPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::gpuClockEditId, m_gpuClock);
    DDX_Text(pDX, res::boostClockEditId, m_boostClock);
    DDX_Text(pDX, res::memClockEditId, m_memClock);
}

void CFrequencyPage::ShowValues(const PageValues& values)
{
    m_gpuClock = values.gpuClock;
    m_boostClock = values.boostClock;
    m_memClock = values.memClock;
    UpdateData(false);
}

bool CFrequencyPage::ReadValues(PageValues& values)
{
    UpdateData(true);
    values.gpuClock = m_gpuClock;
    values.boostClock = m_boostClock;
    values.memClock = m_memClock;
    return true;
}

CWnd* CFrequencyPage::EditBreaking(std::size_t rank, const PageValues&)
{
    constexpr int inRuleOrder[] = {res::gpuClockEditId, res::boostClockEditId, res::memClockEditId};
    return rank < std::size(inRuleOrder) ? GetDlgItem(inRuleOrder[rank]) : nullptr;
}

CPowerPage::CPowerPage() : CSettingPage(res::dialogTemplate(res::powerPageId)) {}

void CPowerPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::powerDefaultEditId, m_powerDefault);
    DDX_Text(pDX, res::powerMaxEditId, m_powerMax);
    DDX_Text(pDX, res::powerLimitLoEditId, m_powerLimitLo);
    DDX_Text(pDX, res::powerLimitHiEditId, m_powerLimitHi);
}

void CPowerPage::ShowValues(const PageValues& values)
{
    m_powerDefault = values.powerDefault;
    m_powerMax = values.powerMax;
    m_powerLimitLo = values.powerLimitLo;
    m_powerLimitHi = values.powerLimitHi;
    UpdateData(false);
}

bool CPowerPage::ReadValues(PageValues& values)
{
    const bool read = UpdateData(true);
    values.powerDefault = m_powerDefault;
    values.powerMax = m_powerMax;
    values.powerLimitLo = m_powerLimitLo;
    values.powerLimitHi = m_powerLimitHi;
    return read;
}

// The ordering rules lead to their first value; the 500 W rule to the first
// value above it.
CWnd* CPowerPage::EditBreaking(std::size_t rank, const PageValues& values)
{
    if (rank == 0)
        return GetDlgItem(res::powerDefaultEditId);
    if (rank == 1)
        return GetDlgItem(res::powerLimitLoEditId);
    const std::pair<std::uint32_t, int> inOrder[] = {{values.powerDefault, res::powerDefaultEditId},
                                                     {values.powerMax, res::powerMaxEditId},
                                                     {values.powerLimitLo, res::powerLimitLoEditId},
                                                     {values.powerLimitHi, res::powerLimitHiEditId}};
    for (const auto& [watts, id] : inOrder)
        if (watts > 500)
            return GetDlgItem(id);
    return nullptr;
}

CFanPage::CFanPage() : CSettingPage(res::dialogTemplate(res::fanPageId)) {}

void CFanPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::fanMinEditId, m_fanMin);
    DDX_Text(pDX, res::fanMaxEditId, m_fanMax);
}

void CFanPage::ShowValues(const PageValues& values)
{
    m_fanMin = values.fanMin;
    m_fanMax = values.fanMax;
    UpdateData(false);
}

bool CFanPage::ReadValues(PageValues& values)
{
    const bool read = UpdateData(true);
    values.fanMin = m_fanMin;
    values.fanMax = m_fanMax;
    return read;
}

CWnd* CFanPage::EditBreaking(std::size_t rank, const PageValues& values)
{
    const bool minimumBreaks = rank == 0 || values.fanMin < 10;
    return GetDlgItem(minimumBreaks ? res::fanMinEditId : res::fanMaxEditId);
}

CVoltagePage::CVoltagePage() : CSettingPage(res::dialogTemplate(res::voltagePageId)) {}

void CVoltagePage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::voltageEditId, m_voltage);
}

void CVoltagePage::ShowValues(const PageValues& values)
{
    m_voltage = values.voltage;
    UpdateData(false);
}

bool CVoltagePage::ReadValues(PageValues& values)
{
    UpdateData(true);
    values.voltage = m_voltage;
    return true;
}

CWnd* CVoltagePage::EditBreaking(std::size_t, const PageValues&)
{
    return GetDlgItem(res::voltageEditId);
}

}  // namespace veltra
