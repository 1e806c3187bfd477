// What the framework reads and sets on a null window.
#include <algorithm>

#include "null_backend.h"
#include "registry.h"

namespace veltra {

namespace {

using null::handleOf;
using null::windowOf;

null::Window& at(WindowHandle window)
{
    return *windowOf(window);
}

// The characters of UTF-8 text.
int characters(const std::string& text)
{
    int count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

}  // namespace

namespace backend {

WindowHandle parent(WindowHandle window)
{
    return handleOf(at(window).parent);
}

bool isTopLevel(WindowHandle window)
{
    return at(window).topLevel;
}

std::vector<WindowHandle> children(WindowHandle window)
{
    std::vector<WindowHandle> found;
    for (const null::Window* child : at(window).children)
        found.push_back(handleOf(child));
    return found;
}

WindowHandle focus()
{
    return handleOf(null::focused());
}

std::string text(WindowHandle window)
{
    return at(window).text;
}

void setText(WindowHandle window, const std::string& text)
{
    null::Window& found = at(window);
    found.text = text;
    found.selectionStart = found.selectionEnd = static_cast<int>(text.size());
}

bool isEnabled(WindowHandle window)
{
    return at(window).enabled;
}

void setEnabled(WindowHandle window, bool enabled)
{
    at(window).enabled = enabled;
}

bool isVisible(WindowHandle window)
{
    return null::visible(at(window));
}

void setVisible(WindowHandle window, bool visible)
{
    at(window).shown = visible;
}

void setFocus(WindowHandle window)
{
    null::focused() = windowOf(window);
    WindowEvents::Report(window, event::FocusTaken{});
}

CRect clientRect(WindowHandle window)
{
    const null::Window& found = at(window);
    const int bar = found.bar ? null::scrollBarWidth : 0;
    return {0, 0, found.rect.Width() - bar, found.rect.Height()};
}

CRect windowRect(WindowHandle window)
{
    return at(window).rect;
}

CPoint screenPoint(WindowHandle window, CPoint client)
{
    for (const null::Window* each = windowOf(window); each; each = each->topLevel ? nullptr : each->parent) {
        client.x += each->rect.left;
        client.y += each->rect.top;
    }
    return client;
}

int textWidth(WindowHandle, const std::string& text)
{
    return characters(text) * null::characterWidth;
}

void moveWindow(WindowHandle window, const CRect& rect)
{
    const bool resized = at(window).rect.Width() != rect.Width() || at(window).rect.Height() != rect.Height();
    at(window).rect = rect;
    if (resized)
        WindowEvents::Report(window, event::Resized{});
}

void invalidate(WindowHandle) {}

void setAccessibleName(WindowHandle window, const std::string& name, WindowHandle)
{
    at(window).accessibleName = name;
}

// The framework decides who takes a drop; nothing is drawn of it here.
void acceptFileDrops(WindowHandle, bool) {}

void setSelection(WindowHandle edit, int start, int end)
{
    null::Window& found = at(edit);
    const int length = static_cast<int>(found.text.size());
    found.selectionEnd = end < 0 || end > length ? length : end;
    found.selectionStart = std::min(std::max(start, 0), found.selectionEnd);
}

void selection(WindowHandle edit, int& start, int& end)
{
    start = at(edit).selectionStart;
    end = at(edit).selectionEnd;
}

void click(WindowHandle button)
{
    WindowEvents::Report(button, event::Clicked{});
}

int insertTab(WindowHandle tabs, int index, const std::string& text)
{
    std::vector<std::string>& captions = at(tabs).tabs;
    const auto where = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(captions.size())));
    captions.insert(captions.begin() + static_cast<std::ptrdiff_t>(where), text);
    if (at(tabs).currentTab < 0)
        at(tabs).currentTab = 0;
    return static_cast<int>(where);
}

int tabCount(WindowHandle tabs)
{
    return static_cast<int>(at(tabs).tabs.size());
}

std::string tabText(WindowHandle tabs, int index)
{
    const std::vector<std::string>& captions = at(tabs).tabs;
    return index >= 0 && index < static_cast<int>(captions.size()) ? captions[static_cast<std::size_t>(index)]
                                                                     : std::string();
}

int currentTab(WindowHandle tabs)
{
    return at(tabs).currentTab;
}

void setCurrentTab(WindowHandle tabs, int index)
{
    at(tabs).currentTab = index;
}

// Captions side by side from the control's left, each its text and a margin.
CRect tabRect(WindowHandle tabs, int index)
{
    constexpr int margin = 6;
    int left = 2;
    const std::vector<std::string>& captions = at(tabs).tabs;
    for (int i = 0; i < index; ++i)
        left += textWidth(tabs, captions[static_cast<std::size_t>(i)]) + 2 * margin;
    const int width = textWidth(tabs, tabText(tabs, index)) + 2 * margin;
    return {left, 0, left + width, null::lineHeight + 2 * margin};
}

}  // namespace backend
}  // namespace veltra
