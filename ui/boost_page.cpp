#include "pages.h"
#include "ui/framework/text.h"
#include "ui/res/templates.h"

namespace veltra {

namespace {

constexpr int gridColumns = 5;

// Entry k's caption and edit, in the page's pixels at 96 dpi.
struct BoostCell {
    CRect caption;
    CRect edit;
};

BoostCell cellAt96(int k)
{
    const int x = 20 + 75 * (k % gridColumns);
    const int y = 28 + 21 * (k / gridColumns);
    return {CRect{x - 15, y - 16, x, y}, CRect{x + 5, y - 18, x + 55, y}};
}

}  // namespace

CBoostPage::CBoostPage() : CSettingPage(res::dialogTemplate(res::boostPageId)) {}

// The grid is laid out in the page's pixels, not in dialog units: 9 rows of
// 5 cells, each a caption and its edit, at the display's scale. They are made
// cell by cell, so the page's children, and a screen reader with them, run
// caption 01, its edit, caption 02, its edit, and so on.
bool CBoostPage::OnInitDialog()
{
    for (int k = 0; k < static_cast<int>(boostEntryCount); ++k) {
        const std::string caption = formatText("%2.2d", k + 1);
        const BoostCell cell = cellAt96(k);

        CStatic& label = m_labels[static_cast<std::size_t>(k)];
        label.Create(caption, TextAlign::Center, Scaled(cell.caption), this, noControlId);

        CEdit& edit = m_edits[static_cast<std::size_t>(k)];
        edit.Create(false, Scaled(cell.edit), this, res::firstBoostEditId + k);
        edit.SetAccessibleName("Boost " + caption, &label);
    }
    return true;
}

void CBoostPage::LayOutGrid()
{
    for (int k = 0; k < static_cast<int>(boostEntryCount); ++k) {
        const BoostCell cell = cellAt96(k);
        m_labels[static_cast<std::size_t>(k)].MoveWindow(Scaled(cell.caption));
        m_edits[static_cast<std::size_t>(k)].MoveWindow(Scaled(cell.edit));
    }
}

CRect CBoostPage::Scaled(const CRect& at96) const
{
    return {ScaleForDpi(at96.left), ScaleForDpi(at96.top), ScaleForDpi(at96.right), ScaleForDpi(at96.bottom)};
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
