#include "ui/pages.h"

namespace veltra {

void CSettingPage::Show(const PageValues& values)
{
    ShowValues(values);
    m_shownTexts = Texts();
}

bool CSettingPage::IsEdited() const
{
    return !m_shownTexts.empty() && Texts() != m_shownTexts;
}

std::vector<std::string> CSettingPage::Texts() const
{
    std::vector<std::string> texts;
    for (const CWnd* child : Children())
        if (dynamic_cast<const CEdit*>(child))
            texts.push_back(child->GetWindowText());
    return texts;
}

std::size_t rankInPage(const SaveRule& rule)
{
    std::size_t rank = 0;
    for (const SaveRule* earlier = &rule; earlier != saveRules.data() && (earlier - 1)->group == rule.group; --earlier)
        ++rank;
    return rank;
}

}  // namespace veltra
