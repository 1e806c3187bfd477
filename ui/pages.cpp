#include "pages.h"

#include "ui/framework/data_exchange.h"
#include "ui/res/templates.h"

namespace veltra {

CFrequencyPage::CFrequencyPage() : CDialog(res::dialogTemplate(res::frequencyPageId)) {}

void CFrequencyPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::gpuClockEditId, m_gpuClock);
    DDX_Text(pDX, res::boostClockEditId, m_boostClock);
    DDX_Text(pDX, res::memClockEditId, m_memClock);
}

CPowerPage::CPowerPage() : CDialog(res::dialogTemplate(res::powerPageId)) {}

void CPowerPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::powerDefaultEditId, m_powerDefault);
    DDX_Text(pDX, res::powerMaxEditId, m_powerMax);
    DDX_Text(pDX, res::powerLimitLoEditId, m_powerLimitLo);
    DDX_Text(pDX, res::powerLimitHiEditId, m_powerLimitHi);
}

CFanPage::CFanPage() : CDialog(res::dialogTemplate(res::fanPageId)) {}

void CFanPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::fanMinEditId, m_fanMin);
    DDX_Text(pDX, res::fanMaxEditId, m_fanMax);
}

CVoltagePage::CVoltagePage() : CDialog(res::dialogTemplate(res::voltagePageId)) {}

void CVoltagePage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, res::voltageEditId, m_voltage);
}

}  // namespace veltra
