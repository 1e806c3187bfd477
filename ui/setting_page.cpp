#include <QLineEdit>

#include "ui/pages.h"

namespace veltra {

void CSettingPage::Show(const PageValues& values)
{
    ShowValues(values);
    m_shownTexts = Texts();
}

bool CSettingPage::IsEdited() const
{
    return !m_shownTexts.isEmpty() && Texts() != m_shownTexts;
}

QStringList CSettingPage::Texts() const
{
    QStringList texts;
    for (const QLineEdit* edit : findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        texts << edit->text();
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
