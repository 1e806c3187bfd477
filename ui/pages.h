#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "rom/rules.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"

namespace veltra {

struct PageField;

// A setting page: one group of the values, shown as text and read back at a
// commit. Nothing is checked or converted while the user types. A value the
// image lacks has its edit disabled and empty, is neither exchanged nor read,
// and the page's line names it.
class CSettingPage : public CDialog {
public:
    CSettingPage(EditGroup group, const DialogTemplate& dialogTemplate);

    // The group whose values and rules belong to this page.
    EditGroup Group() const { return m_group; }
    // Shows the page's part of `values` and what `info` lacks of it; these
    // texts are the unedited ones.
    void Show(const PageValues& values, const BiosInfo& info);
    // Reads the page's part of `values`. False when the page's exchange could
    // not read a value: it has said so, and FailedControl() is that edit.
    virtual bool ReadValues(PageValues& values);
    // The edit of `field` (of the ladder's `entry`); null when the page has
    // none.
    virtual CWnd* EditOf(EditField field, std::size_t entry) const;
    // Whether any text differs from what Show last put there; false before
    // anything was shown.
    bool IsEdited() const;

protected:
    // Exchanges `member` with its field's edit while the image has the field.
    void Bind(EditField field, std::string& member);
    void Bind(EditField field, std::uint32_t& member);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    virtual void ShowValues(const PageValues& values, const BiosInfo& info);
    // Shows `line` where the page says what the image lacks; an empty line
    // hides it.
    virtual void ShowLackingLine(const std::string& line);

private:
    struct Bound {
        const PageField* field;
        std::string* text;
        std::uint32_t* number;
        bool present = true;
    };

    // The texts of the page's edits, in their order.
    std::vector<std::string> Texts() const;

    EditGroup m_group;
    std::vector<Bound> m_bound;
    std::vector<std::string> m_shownTexts;
};

class CFrequencyPage : public CSettingPage {
public:
    CFrequencyPage();

    std::string m_gpuClock;
    std::string m_boostClock;
    std::string m_memClock;
};

// The boost ladder: one captioned edit per entry, as many as the image has,
// five to a row; the page scrolls when the rows are more than it holds.
class CBoostPage : public CSettingPage {
public:
    CBoostPage();

    bool ReadValues(PageValues& values) override;
    CWnd* EditOf(EditField field, std::size_t entry) const override;
    // Places the grid and the line again from their pixels at 96 dpi, at the
    // page's display scale, scrolled to the top.
    void LayoutGrid();

    // Cell k's caption and edit, k from 0.
    std::deque<CStatic> m_labels;
    std::deque<CEdit> m_edits;

protected:
    bool OnInitDialog() override;
    void ShowValues(const PageValues& values, const BiosInfo& info) override;
    void ShowLackingLine(const std::string& line) override;

private:
    // Adds or removes cells at the end; the cells kept keep their texts.
    void SetEntryCount(std::size_t count);
    CRect Scaled(const CRect& at96) const;
    CRect LineRect() const;

    // Made the first time an image lacks the ladder.
    CStatic m_lackingLine;
};

class CPowerPage : public CSettingPage {
public:
    CPowerPage();

    std::uint32_t m_powerDefault = 0;
    std::uint32_t m_powerMax = 0;
    std::uint32_t m_powerLimitLo = 0;
    std::uint32_t m_powerLimitHi = 0;
};

class CFanPage : public CSettingPage {
public:
    CFanPage();

    std::uint32_t m_fanMin = 0;
    std::uint32_t m_fanMax = 0;
};

class CVoltagePage : public CSettingPage {
public:
    CVoltagePage();

    std::string m_voltage;
};

}  // namespace veltra
