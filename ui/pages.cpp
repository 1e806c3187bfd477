// The four pages made from templates: which member holds each of their
// values. The table of fields does the rest.
#include "pages.h"

#include "ui/res/templates.h"

namespace veltra {

CFrequencyPage::CFrequencyPage() : CSettingPage(EditGroup::Frequency, res::dialogTemplate(res::frequencyPageId))
{
    Bind(EditField::GpuClock, m_gpuClock);
    Bind(EditField::BoostClock, m_boostClock);
    Bind(EditField::MemClock, m_memClock);
}

CPowerPage::CPowerPage() : CSettingPage(EditGroup::Power, res::dialogTemplate(res::powerPageId))
{
    Bind(EditField::PowerDefault, m_powerDefault);
    Bind(EditField::PowerMax, m_powerMax);
    Bind(EditField::PowerLimitLo, m_powerLimitLo);
    Bind(EditField::PowerLimitHi, m_powerLimitHi);
}

CFanPage::CFanPage() : CSettingPage(EditGroup::Fan, res::dialogTemplate(res::fanPageId))
{
    Bind(EditField::FanMin, m_fanMin);
    Bind(EditField::FanMax, m_fanMax);
}

CVoltagePage::CVoltagePage() : CSettingPage(EditGroup::Voltage, res::dialogTemplate(res::voltagePageId))
{
    Bind(EditField::Voltage, m_voltage);
}

}  // namespace veltra
