// The window's menu: the system menu of its frame, which a right click opens
// too.
#include "win32.h"

#include <unordered_map>

#include "registry.h"
#include "win32_backend.h"

namespace veltra {

namespace {

HMENU hmenu(MenuHandle menu)
{
    return static_cast<HMENU>(menu.native);
}

// The window each system menu belongs to, where its items are reported.
std::unordered_map<HMENU, HWND>& owners()
{
    static std::unordered_map<HMENU, HWND> map;
    return map;
}

}  // namespace

namespace backend {

MenuHandle systemMenu(WindowHandle window)
{
    const HWND hwnd = win32::hwndOf(window);
    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (menu)
        owners()[menu] = hwnd;
    return MenuHandle{menu};
}

void appendMenuItem(MenuHandle menu, MenuItem kind, unsigned id, const std::string& text)
{
    if (kind == MenuItem::Separator)
        AppendMenuW(hmenu(menu), MF_SEPARATOR, 0, nullptr);
    else
        AppendMenuW(hmenu(menu), MF_STRING, id, win32::wide(text).c_str());
}

int menuItemCount(MenuHandle menu)
{
    return GetMenuItemCount(hmenu(menu));
}

unsigned menuItemId(MenuHandle menu, int position)
{
    const UINT id = GetMenuItemID(hmenu(menu), position);
    return id == static_cast<UINT>(-1) ? 0 : id;
}

std::string menuItemText(MenuHandle menu, int position)
{
    wchar_t text[256] = {};
    GetMenuStringW(hmenu(menu), static_cast<UINT>(position), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    return win32::utf8(text);
}

void trackPopupMenu(MenuHandle menu, CPoint point)
{
    const auto owner = owners().find(hmenu(menu));
    if (owner != owners().end())
        win32::postTrackMenu(owner->second, hmenu(menu), point);
}

}  // namespace backend
}  // namespace veltra
