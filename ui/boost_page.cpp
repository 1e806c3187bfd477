#include "pages.h"
#include "ui/framework/text.h"
#include "ui/res/templates.h"

namespace veltra {

namespace {
constexpr int gridColumns = 5;
}

CBoostPage::CBoostPage() : CSettingPage(res::dialogTemplate(res::boostPageId)) {}

// The grid is laid out in the page's pixels, not in dialog units: 9 rows of
// 5 cells, each a caption and its edit. They are made cell by cell, so the
// page's children, and a screen reader with them, run caption 01, its edit,
// caption 02, its edit, and so on.
bool CBoostPage::OnInitDialog()
{
    for (int k = 0; k < static_cast<int>(boostEntryCount); ++k) {
        const int row = k / gridColumns;
        const int column = k % gridColumns;
        const int x = 20 + 75 * column;
        const int y = 28 + 21 * row;
        const std::string caption = formatText("%2.2d", k + 1);

        CStatic& label = m_labels[static_cast<std::size_t>(k)];
        label.Create(caption, TextAlign::Center, CRect{x - 15, y - 16, x, y}, this, noControlId);

        CEdit& edit = m_edits[static_cast<std::size_t>(k)];
        edit.Create(false, CRect{x + 5, y - 18, x + 55, y}, this, res::firstBoostEditId + k);
        edit.SetAccessibleName("Boost " + caption, &label);
    }
    return true;
}

void CBoostPage::ShowValues(const PageValues& values)
{
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        m_edits[k].SetWindowText(values.boostTable[k]);
}

bool CBoostPage::ReadValues(PageValues& values)
{
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        values.boostTable[k] = m_edits[k].GetWindowText();
    return true;
}

CWnd* CBoostPage::EditBreaking(std::size_t rank, const PageValues&)
{
    return rank < boostEntryCount ? &m_edits[rank] : nullptr;
}

}  // namespace veltra
