#pragma once

#include <optional>

#include "ui/framework/controls.h"

namespace veltra {

// An edit whose background colour its owner sets at run time; the window's
// checksum field. Until the first SetBackColor it looks like any edit.
class CColorEdit : public CEdit {
public:
    CColorEdit();
    ~CColorEdit() override;

    void SetBackColor(Color color);

    Color TextColor() const { return m_crText; }
    // The colour of the background brush, or nothing before the first
    // SetBackColor.
    const std::optional<Color>& BackColor() const { return m_brBack; }

    // Black text on the background colour; the system's colours before the
    // first SetBackColor.
    std::optional<ControlColors> CtlColor() override;

private:
    Color m_crText;
    Color m_crBack;
    std::optional<Color> m_brBack;
};

}  // namespace veltra
