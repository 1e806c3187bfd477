#include "pages.h"
#include "ui/framework/text.h"
#include "ui/page_fields.h"
#include "ui/res/templates.h"

namespace veltra {

namespace {

// The grid in pixels at 96 dpi: rows of 5 cells, each a caption and its
// edit, cell (row r, column c) anchored at x = 20 + 75c, y = 28 + 21r.
constexpr int gridColumns = 5;
// What the page shows before any image: the three boards' ladder.
constexpr std::size_t emptyGridCells = boostEntryCount;

int anchorX(std::size_t k)
{
    return 20 + 75 * static_cast<int>(k % gridColumns);
}

int anchorY(std::size_t k)
{
    return 28 + 21 * static_cast<int>(k / gridColumns);
}

CRect captionRect(std::size_t k)
{
    return {anchorX(k) - 15, anchorY(k) - 16, anchorX(k), anchorY(k)};
}

CRect editRect(std::size_t k)
{
    return {anchorX(k) + 5, anchorY(k) - 18, anchorX(k) + 55, anchorY(k)};
}

}  // namespace

CBoostPage::CBoostPage() : CSettingPage(EditGroup::Boost, res::dialogTemplate(res::boostPageId)) {}

bool CBoostPage::OnInitDialog()
{
    CSettingPage::OnInitDialog();
    SetEntryCount(emptyGridCells);
    return true;
}

CRect CBoostPage::Scaled(const CRect& at96) const
{
    return {ScaleForDpi(at96.left), ScaleForDpi(at96.top), ScaleForDpi(at96.right), ScaleForDpi(at96.bottom)};
}

// Where the first row would be, across the page: seen first, covering nothing.
CRect CBoostPage::LineRect() const
{
    const CRect top = Scaled({5, 10, 5, 42});
    return {top.left, top.top, GetClientRect().right - top.left, top.bottom};
}

// Cells are made caption first, then its edit, so the page's children, and
// a screen reader with them, run caption 01, its edit, caption 02, its
// edit, and so on.
void CBoostPage::SetEntryCount(std::size_t count)
{
    if (count == m_edits.size())
        return;
    SetScrollHeight(0);
    // A focused cell that goes leaves the keyboard on the nearest one left,
    // or on the tabs, rather than nowhere.
    const CWnd* focused = CWnd::GetFocus();
    bool focusGoes = false;
    while (m_edits.size() > count) {
        focusGoes = focusGoes || focused == &m_edits.back();
        m_edits.pop_back();
        m_labels.pop_back();
    }
    while (m_edits.size() < count) {
        const std::size_t k = m_edits.size();
        const std::string caption = formatText("%2.2d", static_cast<int>(k + 1));
        CStatic& label = m_labels.emplace_back();
        label.Create(ControlKind::CentredLabel, caption, Scaled(captionRect(k)), this, noControlId);
        CEdit& edit = m_edits.emplace_back();
        edit.Create(ControlKind::GridEdit, Scaled(editRect(k)), this, res::firstBoostEditId + static_cast<int>(k));
        edit.SetAccessibleName("Boost " + caption, &label);
    }
    LayoutGrid();
    if (focusGoes && !m_edits.empty())
        GotoDlgCtrl(&m_edits.back());
    else if (focusGoes && GetParent())
        GetParent()->SetFocus();
}

void CBoostPage::LayoutGrid()
{
    SetScrollHeight(0);
    for (std::size_t k = 0; k < m_edits.size(); ++k) {
        m_labels[k].MoveWindow(Scaled(captionRect(k)));
        m_edits[k].MoveWindow(Scaled(editRect(k)));
    }
    if (m_lackingLine.GetWindowHandle())
        m_lackingLine.MoveWindow(LineRect());
    // The content ends with the last row: the three boards' 45 entries fill
    // the page to within a few pixels at every scale, and a margin below
    // them would bring up a bar for those pixels alone.
    if (!m_edits.empty())
        SetScrollHeight(ScaleForDpi(anchorY(m_edits.size() - 1)));
}

void CBoostPage::ShowValues(const PageValues& values, const BiosInfo& info)
{
    SetEntryCount(std::min(info.boostTable.size(), maxBoostEntryCount));
    for (std::size_t k = 0; k < m_edits.size(); ++k)
        m_edits[k].SetWindowText(values.boostTable[k]);
    ShowLackingLine(m_edits.empty() ? lackingLine({pageFieldOf(EditField::BoostEntry).name}) : std::string());
}

void CBoostPage::ShowLackingLine(const std::string& line)
{
    if (line.empty() && !m_lackingLine.GetWindowHandle())
        return;
    if (!m_lackingLine.GetWindowHandle())
        m_lackingLine.Create(ControlKind::WrappedLabel, line, LineRect(), this, res::lackingLineId);
    m_lackingLine.SetWindowText(line);
    m_lackingLine.ShowWindow(!line.empty());
}

bool CBoostPage::ReadValues(PageValues& values)
{
    for (std::size_t k = 0; k < m_edits.size(); ++k)
        values.boostTable[k] = m_edits[k].GetWindowText();
    return true;
}

CWnd* CBoostPage::EditOf(EditField field, std::size_t entry) const
{
    if (field != EditField::BoostEntry || entry >= m_edits.size())
        return nullptr;
    return GetDlgItem(res::firstBoostEditId + static_cast<int>(entry));
}

}  // namespace veltra
