#pragma once

#include <optional>

#include "types.h"
#include "window_events.h"

namespace veltra {

class CDialog;

// A dialog whose content is taller than its window: how far it is scrolled,
// and the rules of its bar, the mouse wheel and the focus. The backend only
// shows the bar and moves the children.
class ScrollView {
public:
    explicit ScrollView(const CDialog& dialog) : m_dialog(dialog) {}

    // The content is `pixels` tall from the window's top; scrolls back to
    // the top first. Taller than the window, it scrolls.
    void setContentHeight(int pixels);
    // The window's height changed: the bar's page follows it, and content
    // that now fits comes back into place.
    void fit();
    bool scrolls() const;

    // Each notch (delta 120) scrolls the lines the user set, or a page.
    void turnWheel(int delta);
    void moveBar(ScrollStep step, int position);
    // A control that took the focus at `shown` (window pixels) is scrolled
    // whole into view.
    void bringIntoView(const CRect& shown);

private:
    int viewHeight() const;
    int lastPosition() const;
    int lineHeight() const;
    void scrollTo(int position);
    void showBar();

    const CDialog& m_dialog;
    int m_content = 0;
    int m_position = 0;
    std::optional<ScrollBar> m_bar;  // as the backend shows it
};

}  // namespace veltra
