#pragma once

#include <string>

#include "window.h"

namespace veltra {

// A row of tabs over a framed pane. The pages are ordinary children placed by
// the owner; the control reports a selection by the user to its dialog as
// OnNotify(id, Notify::SelChange).
class CTabCtrl : public CWnd {
public:
    int InsertItem(int index, const std::string& text);
    int GetItemCount() const;
    std::string GetItemText(int index) const;
    int GetCurSel() const;
    // Where the tab's caption shows, in the control's client pixels; empty
    // for no such tab.
    CRect GetItemRect(int index) const;
    // Selects without notifying, as a program's own selection does; returns
    // the tab selected before.
    int SetCurSel(int index);
};

}  // namespace veltra
