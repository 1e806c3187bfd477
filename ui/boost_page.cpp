#include "pages.h"
#include "ui/res/templates.h"

namespace veltra {

namespace {
constexpr int gridColumns = 5;
}

// The controls are made without a parent and join the page cell by cell in
// OnInitDialog, so the page's children, and a screen reader with them, run
// caption 01, its edit, caption 02, its edit, and so on.
CBoostPage::CBoostPage()
    : CSettingPage(res::dialogTemplate(res::boostPageId)),
      m_labels(makeChildControls<CStatic>(nullptr, std::make_index_sequence<boostEntryCount>())),
      m_edits(makeChildControls<CEdit>(nullptr, std::make_index_sequence<boostEntryCount>()))
{
}

// The grid is laid out in the page's pixels, not in dialog units: 9 rows of
// 5 cells, each a caption and its edit.
bool CBoostPage::OnInitDialog()
{
    for (int k = 0; k < static_cast<int>(boostEntryCount); ++k) {
        const int row = k / gridColumns;
        const int column = k % gridColumns;
        const int x = 20 + 75 * column;
        const int y = 28 + 21 * row;
        const QString caption = QString::asprintf("%2.2d", k + 1);

        CStatic& label = m_labels[static_cast<std::size_t>(k)];
        label.Create(caption, Qt::AlignHCenter | Qt::AlignTop, QRect(QPoint(x - 15, y - 16), QPoint(x - 1, y - 1)),
                     this, noControlId);
        // The page's font; a child already inherits it unless told otherwise.
        if (label.font() != label.parentWidget()->font())
            label.setFont(label.parentWidget()->font());

        CEdit& edit = m_edits[static_cast<std::size_t>(k)];
        edit.Create(false, QRect(QPoint(x + 5, y - 18), QPoint(x + 54, y - 1)), this, res::firstBoostEditId + k);
        if (edit.font() != edit.parentWidget()->font())
            edit.setFont(edit.parentWidget()->font());
        edit.setAccessibleName(QStringLiteral("Boost ") + caption);
        label.setBuddy(&edit);
    }
    return true;
}

void CBoostPage::ShowValues(const PageValues& values)
{
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        m_edits[k].setText(QString::fromStdString(values.boostTable[k]));
}

bool CBoostPage::ReadValues(PageValues& values)
{
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        values.boostTable[k] = m_edits[k].text().toStdString();
    return true;
}

QWidget* CBoostPage::EditBreaking(std::size_t rank, const PageValues&)
{
    return rank < boostEntryCount ? &m_edits[rank] : nullptr;
}

}  // namespace veltra
