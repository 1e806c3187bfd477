#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "rom/rules.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"

namespace veltra {

// A setting page: one group of the values, shown as text and read back at a
// commit. Nothing is checked or converted while the user types.
class CSettingPage : public CDialog {
public:
    using CDialog::CDialog;

    // The group whose values and rules belong to this page.
    virtual EditGroup Group() const = 0;
    // Shows the page's part of `values`; these texts are the unedited ones.
    void Show(const PageValues& values);
    // Reads the page's part of `values`. False when the page's exchange could
    // not read a value: it has said so, and FailedControl() is that edit.
    virtual bool ReadValues(PageValues& values) = 0;
    // The edit of the value that broke the page's rule number `rank` (0 is
    // the page's first rule), as `values` held it.
    virtual CWnd* EditBreaking(std::size_t rank, const PageValues& values) = 0;
    // Whether any text differs from what Show last put there; false before
    // anything was shown.
    bool IsEdited() const;

protected:
    virtual void ShowValues(const PageValues& values) = 0;

private:
    // The texts of the page's edits, in their order.
    std::vector<std::string> Texts() const;

    std::vector<std::string> m_shownTexts;
};

class CFrequencyPage : public CSettingPage {
public:
    CFrequencyPage();

    EditGroup Group() const override { return EditGroup::Frequency; }
    bool ReadValues(PageValues& values) override;
    CWnd* EditBreaking(std::size_t rank, const PageValues& values) override;

    std::string m_gpuClock;
    std::string m_boostClock;
    std::string m_memClock;

protected:
    void ShowValues(const PageValues& values) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CBoostPage : public CSettingPage {
public:
    CBoostPage();

    EditGroup Group() const override { return EditGroup::Boost; }
    bool ReadValues(PageValues& values) override;
    CWnd* EditBreaking(std::size_t rank, const PageValues& values) override;
    // Places the grid again at the display's scale.
    void LayOutGrid();

    std::array<CStatic, boostEntryCount> m_labels;
    std::array<CEdit, boostEntryCount> m_edits;

protected:
    void ShowValues(const PageValues& values) override;
    bool OnInitDialog() override;

private:
    // A rectangle given in pixels at 96 dpi, at the display's scale.
    CRect Scaled(const CRect& at96) const;
};

class CPowerPage : public CSettingPage {
public:
    CPowerPage();

    EditGroup Group() const override { return EditGroup::Power; }
    bool ReadValues(PageValues& values) override;
    CWnd* EditBreaking(std::size_t rank, const PageValues& values) override;

    std::uint32_t m_powerDefault = 0;
    std::uint32_t m_powerMax = 0;
    std::uint32_t m_powerLimitLo = 0;
    std::uint32_t m_powerLimitHi = 0;

protected:
    void ShowValues(const PageValues& values) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CFanPage : public CSettingPage {
public:
    CFanPage();

    EditGroup Group() const override { return EditGroup::Fan; }
    bool ReadValues(PageValues& values) override;
    CWnd* EditBreaking(std::size_t rank, const PageValues& values) override;

    std::uint32_t m_fanMin = 0;
    std::uint32_t m_fanMax = 0;

protected:
    void ShowValues(const PageValues& values) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CVoltagePage : public CSettingPage {
public:
    CVoltagePage();

    EditGroup Group() const override { return EditGroup::Voltage; }
    bool ReadValues(PageValues& values) override;
    CWnd* EditBreaking(std::size_t rank, const PageValues& values) override;

    std::string m_voltage;

protected:
    void ShowValues(const PageValues& values) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The position of `rule` among the rules of its page: 0 for the page's first.
std::size_t rankInPage(const SaveRule& rule);

}  // namespace veltra
