// A null window's menu: its items as records. Opening it shows nothing; no
// user chooses from it.
#include "registry.h"

namespace veltra {

namespace {

std::vector<null::MenuEntry>& entries(MenuHandle menu)
{
    return static_cast<null::Window*>(menu.native)->menu;
}

const null::MenuEntry* entryAt(MenuHandle menu, int position)
{
    const std::vector<null::MenuEntry>& items = entries(menu);
    return position >= 0 && position < static_cast<int>(items.size()) ? &items[static_cast<std::size_t>(position)]
                                                                       : nullptr;
}

}  // namespace

namespace backend {

MenuHandle systemMenu(WindowHandle window)
{
    return MenuHandle{null::windowOf(window)};
}

void appendMenuItem(MenuHandle menu, MenuItem kind, unsigned id, const std::string& text)
{
    entries(menu).push_back(kind == MenuItem::Separator ? null::MenuEntry{kind, 0, {}} : null::MenuEntry{kind, id, text});
}

int menuItemCount(MenuHandle menu)
{
    return static_cast<int>(entries(menu).size());
}

unsigned menuItemId(MenuHandle menu, int position)
{
    const null::MenuEntry* entry = entryAt(menu, position);
    return entry ? entry->id : 0;
}

std::string menuItemText(MenuHandle menu, int position)
{
    const null::MenuEntry* entry = entryAt(menu, position);
    return entry ? entry->text : std::string();
}

void trackPopupMenu(MenuHandle, CPoint) {}

}  // namespace backend
}  // namespace veltra
