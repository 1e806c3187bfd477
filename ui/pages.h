#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "rom/board.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"

namespace veltra {

// The five setting pages. Each holds one group of values as text; nothing is
// checked or converted while the user types.

class CFrequencyPage : public CDialog {
public:
    CFrequencyPage();

    QString m_gpuClock;
    QString m_boostClock;
    QString m_memClock;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CBoostPage : public CDialog {
public:
    CBoostPage();

    std::array<CStatic, boostEntryCount> m_labels;
    std::array<CEdit, boostEntryCount> m_edits;

protected:
    bool OnInitDialog() override;
};

class CPowerPage : public CDialog {
public:
    CPowerPage();

    std::uint32_t m_powerDefault = 0;
    std::uint32_t m_powerMax = 0;
    std::uint32_t m_powerLimitLo = 0;
    std::uint32_t m_powerLimitHi = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CFanPage : public CDialog {
public:
    CFanPage();

    std::uint32_t m_fanMin = 0;
    std::uint32_t m_fanMax = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CVoltagePage : public CDialog {
public:
    CVoltagePage();

    QString m_voltage;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

}  // namespace veltra
