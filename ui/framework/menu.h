#pragma once

#include <string>

#include "types.h"

namespace veltra {

// A window's menu. Choosing an item sends its id to the window as a system
// command (OnSysCommand).
class CMenu {
public:
    explicit CMenu(MenuHandle menu) : m_hMenu(menu) {}

    bool AppendMenu(MenuItem kind, unsigned id = 0, const std::string& text = {});
    int GetMenuItemCount() const;
    // 0 for a separator.
    unsigned GetMenuItemID(int position) const;
    // Empty for a separator.
    std::string GetMenuString(int position) const;
    // Opens the menu at `point`, in screen pixels, and returns at once.
    void TrackPopupMenu(CPoint point);

    MenuHandle m_hMenu;
};

}  // namespace veltra
