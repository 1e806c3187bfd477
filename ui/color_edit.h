#pragma once

#include <QBrush>
#include <QColor>
#include <optional>

#include "ui/framework/controls.h"

namespace veltra {

// An edit whose background colour its owner sets at run time; the window's
// checksum field. Until the first SetBackColor it looks like any edit.
class CColorEdit : public CEdit {
public:
    CColorEdit();
    ~CColorEdit() override;

    void SetBackColor(const QColor& color);

    const QColor& TextColor() const { return m_crText; }
    // The background brush, or nothing before the first SetBackColor.
    const std::optional<QBrush>& BackBrush() const { return m_brBack; }

protected:
    // Applies the colours; runs again when the application's palette changes.
    void CtlColor();
    void changeEvent(QEvent* event) override;

private:
    QColor m_crText;
    QColor m_crBack;
    std::optional<QBrush> m_brBack;
};

}  // namespace veltra
