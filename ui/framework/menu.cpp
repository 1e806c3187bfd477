#include "menu.h"

#include "backend.h"

namespace veltra {

bool CMenu::AppendMenu(MenuItem kind, unsigned id, const std::string& text)
{
    if (!m_hMenu)
        return false;
    backend::appendMenuItem(m_hMenu, kind, id, text);
    return true;
}

int CMenu::GetMenuItemCount() const
{
    return m_hMenu ? backend::menuItemCount(m_hMenu) : 0;
}

unsigned CMenu::GetMenuItemID(int position) const
{
    return m_hMenu ? backend::menuItemId(m_hMenu, position) : 0;
}

std::string CMenu::GetMenuString(int position) const
{
    return m_hMenu ? backend::menuItemText(m_hMenu, position) : std::string();
}

void CMenu::TrackPopupMenu(CPoint point)
{
    if (m_hMenu)
        backend::trackPopupMenu(m_hMenu, point);
}

}  // namespace veltra
