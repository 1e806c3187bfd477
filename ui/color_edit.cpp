#include "color_edit.h"

namespace veltra {

CColorEdit::CColorEdit() : m_crText{0, 0, 0}, m_crBack{255, 255, 255} {}

CColorEdit::~CColorEdit() = default;

void CColorEdit::SetBackColor(Color color)
{
    m_crBack = color;
    m_brBack = color;
    Invalidate();
}

std::optional<ControlColors> CColorEdit::CtlColor()
{
    if (!m_brBack)
        return std::nullopt;
    return ControlColors{m_crText, *m_brBack};
}

}  // namespace veltra
