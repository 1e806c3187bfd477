#pragma once

#include <string>

#include "control_kinds.h"
#include "window.h"

namespace veltra {

// Static text, or a picture.
class CStatic : public CWnd {
public:
    // Makes a visible static child of `parent` of a kind whose class is
    // Static (CentredLabel, WrappedLabel...) at `rect` (parent pixels) in the
    // parent's font; false for a kind of another class.
    bool Create(ControlKind kind, const std::string& text, const CRect& rect, CWnd* parent, int id);
    // Shows the program's image `imageId` at its own size, centred; 0 shows
    // none.
    void SetBitmap(int imageId);
    // The image shown; 0 for none.
    int GetBitmap() const;
};

// Single-line edit.
class CEdit : public CWnd {
public:
    // Makes a visible edit child of `parent` of a kind whose class is Edit
    // (GridEdit...) at `rect` (parent pixels) in the parent's font; false for
    // a kind of another class.
    bool Create(ControlKind kind, const CRect& rect, CWnd* parent, int id);
    // Selects the characters from `start` to before `end`; an `end` of -1
    // selects to the end.
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
};

// Push button: a click is a command of its dialog, with the button's id.
class CButton : public CWnd {
public:
    // Clicks it as the user does; a disabled button does nothing.
    void Click();
};

}  // namespace veltra
