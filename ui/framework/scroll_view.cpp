#include "scroll_view.h"

#include <algorithm>

#include "backend.h"
#include "dialog.h"

namespace veltra {

namespace {

constexpr int wheelNotch = 120;

}  // namespace

int ScrollView::viewHeight() const
{
    return m_dialog.GetClientRect().Height();
}

int ScrollView::lastPosition() const
{
    return std::max(m_content - viewHeight(), 0);
}

// A line of the dialog's font as it now is, also after a change of scale.
int ScrollView::lineHeight() const
{
    return std::max(m_dialog.Units().toPixelsY(8), 1);
}

bool ScrollView::scrolls() const
{
    return m_content > viewHeight();
}

void ScrollView::setContentHeight(int pixels)
{
    scrollTo(0);
    m_content = std::max(pixels, 0);
    fit();
}

void ScrollView::fit()
{
    scrollTo(m_position);
}

void ScrollView::scrollTo(int position)
{
    const int to = std::clamp(position, 0, lastPosition());
    if (to != m_position) {
        const int by = m_position - to;
        m_position = to;
        backend::scrollChildren(m_dialog.GetWindowHandle(), by);
    }
    showBar();
}

// Only a change reaches the backend: showing or hiding a bar resizes the
// client area, which comes back here.
void ScrollView::showBar()
{
    std::optional<ScrollBar> wanted;
    if (scrolls())
        wanted = ScrollBar{m_content, viewHeight(), m_position, lineHeight()};
    if (wanted == m_bar)
        return;
    m_bar = wanted;
    backend::setScrollBar(m_dialog.GetWindowHandle(), wanted);
}

void ScrollView::turnWheel(int delta)
{
    const int lines = backend::wheelScrollLines();
    const int step = lines > 0 ? lines * lineHeight() : viewHeight();
    scrollTo(m_position - delta * step / wheelNotch);
}

void ScrollView::moveBar(ScrollStep step, int position)
{
    switch (step) {
    case ScrollStep::LineUp:
        return scrollTo(m_position - lineHeight());
    case ScrollStep::LineDown:
        return scrollTo(m_position + lineHeight());
    case ScrollStep::PageUp:
        return scrollTo(m_position - viewHeight());
    case ScrollStep::PageDown:
        return scrollTo(m_position + viewHeight());
    case ScrollStep::Top:
        return scrollTo(0);
    case ScrollStep::Bottom:
        return scrollTo(lastPosition());
    case ScrollStep::To:
        return scrollTo(position);
    }
}

void ScrollView::bringIntoView(const CRect& shown)
{
    if (!scrolls())
        return;
    if (shown.top < 0)
        scrollTo(m_position + shown.top);
    else if (shown.bottom > viewHeight())
        scrollTo(m_position + shown.bottom - viewHeight());
}

}  // namespace veltra
