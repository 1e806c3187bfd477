// The user's input, reported to the framework as a toolkit reports it; what
// the framework leaves is done here as the system's own controls do it.
#include <algorithm>

#include "../dialog.h"
#include "null_backend.h"
#include "registry.h"

namespace veltra::null {

namespace {

Window*& active()
{
    static Window* window = nullptr;
    return window;
}

bool report(Window& window, const WindowEvent& event)
{
    return WindowEvents::Report(handleOf(&window), event);
}

bool contains(const CRect& rect, CPoint at)
{
    return at.x >= rect.left && at.x < rect.right && at.y >= rect.top && at.y < rect.bottom;
}

// The deepest shown window under `at` (the window's client pixels), the
// latest made on top; `at` becomes that window's.
Window& windowAt(Window& window, CPoint& at)
{
    for (auto child = window.children.rbegin(); child != window.children.rend(); ++child) {
        if (!(*child)->shown || !contains((*child)->rect, at))
            continue;
        at = CPoint{at.x - (*child)->rect.left, at.y - (*child)->rect.top};
        return windowAt(**child, at);
    }
    return window;
}

// The windows Tab reaches in `window`, in tab order: the order they were
// made, a window's own before those inside it.
void collectTabStops(Window& window, std::vector<Window*>& stops)
{
    for (Window* child : window.children) {
        if (!child->shown || !child->enabled)
            continue;
        if (traitsOf(child->kind).tabStop)
            stops.push_back(child);
        collectTabStops(*child, stops);
    }
}

void moveFocus(bool backwards)
{
    Window* from = focused() ? focused() : active();
    if (!from)
        return;
    std::vector<Window*> stops;
    collectTabStops(rootOf(*from), stops);
    if (stops.empty())
        return;
    const auto at = std::find(stops.begin(), stops.end(), focused());
    std::size_t next = 0;
    if (at != stops.end()) {
        const std::size_t here = static_cast<std::size_t>(at - stops.begin());
        next = backwards ? (here + stops.size() - 1) % stops.size() : (here + 1) % stops.size();
    }
    backend::setFocus(handleOf(stops[next]));
}

bool editable(const Window& window)
{
    const ControlTraits& traits = traitsOf(window.kind);
    return traits.controlClass == ControlClass::Edit && !traits.readOnly && window.enabled;
}

void replaceSelection(Window& edit, const std::string& text)
{
    const auto start = static_cast<std::size_t>(std::min(edit.selectionStart, edit.selectionEnd));
    const auto end = static_cast<std::size_t>(std::max(edit.selectionStart, edit.selectionEnd));
    edit.text.replace(start, end - start, text);
    edit.selectionStart = edit.selectionEnd = static_cast<int>(start + text.size());
}

}  // namespace

void activate(WindowHandle dialog)
{
    Window& root = rootOf(*windowOf(dialog));
    root.shown = true;
    active() = &root;
}

void click(WindowHandle window, CPoint at)
{
    Window& target = windowAt(*windowOf(window), at);
    if (!target.enabled || !visible(target))
        return;
    const ControlTraits& traits = traitsOf(target.kind);
    if (traits.controlClass == ControlClass::Edit)
        target.selectionStart = target.selectionEnd = static_cast<int>(target.text.size());
    if (traits.takesInput && focused() != &target)
        backend::setFocus(handleOf(&target));
    if (traits.controlClass == ControlClass::Button) {
        report(target, event::Clicked{});
    } else if (traits.controlClass == ControlClass::TabControl) {
        for (int tab = 0; tab < static_cast<int>(target.tabs.size()); ++tab) {
            if (!contains(backend::tabRect(handleOf(&target), tab), at) || tab == target.currentTab)
                continue;
            target.currentTab = tab;
            report(target, event::TabSelected{});
        }
    }
}

void press(const KeyCombination& keys)
{
    Window* target = focused() ? focused() : active();
    if (!target || report(*target, event::KeyPressed{keys}))
        return;
    if (keys.key == Key::Tab && (keys.modifiers & ~shiftModifier) == noModifier)
        return moveFocus(keys.modifiers == shiftModifier);
    if (traitsOf(target->kind).controlClass != ControlClass::Edit)
        return;
    if (keys == KeyCombination{characterKey('A'), ctrlModifier}) {
        backend::setSelection(handleOf(target), 0, -1);
    } else if (keys == KeyCombination{Key::Delete, noModifier} && editable(*target)) {
        if (target->selectionStart == target->selectionEnd && target->selectionEnd < static_cast<int>(target->text.size()))
            ++target->selectionEnd;
        replaceSelection(*target, {});
    }
}

void type(const std::string& text)
{
    if (Window* target = focused(); target && editable(*target))
        replaceSelection(*target, text);
}

void close(WindowHandle dialog)
{
    if (!report(*windowOf(dialog), event::CloseAsked{}))
        backend::endDialog(dialog, commandCancel);
}

void turnWheel(WindowHandle over, int delta)
{
    report(*windowOf(over), event::WheelTurned{delta});
}

bool drop(WindowHandle over, const std::vector<std::filesystem::path>& files)
{
    Window& target = *windowOf(over);
    return report(target, event::FilesDragged{}) && report(target, event::FilesDropped{files});
}

void moveToDpi(WindowHandle window, int dpi)
{
    Window& root = rootOf(*windowOf(window));
    root.dpi = dpi;
    report(root, event::DpiChanged{});
}

CRect placeOf(WindowHandle window)
{
    return windowOf(window)->rect;
}

bool showsWholeText(WindowHandle label)
{
    const Window& shown = *windowOf(label);
    const int width = shown.rect.Width();
    int lines = 1;
    if (shown.kind == ControlKind::WrappedLabel) {
        // Broken at spaces, as many words to a line as fit.
        int used = 0;
        std::size_t start = 0;
        while (start <= shown.text.size()) {
            const std::size_t space = std::min(shown.text.find(' ', start), shown.text.size());
            const int word = backend::textWidth(label, shown.text.substr(start, space - start));
            const int gap = used > 0 ? characterWidth : 0;
            if (used > 0 && used + gap + word > width) {
                ++lines;
                used = word;
            } else {
                used += gap + word;
            }
            if (word > width)
                return false;
            start = space + 1;
        }
    } else if (backend::textWidth(label, shown.text) > width) {
        return false;
    }
    return lines * lineHeight <= shown.rect.Height();
}

bool showsScrollBar(WindowHandle window)
{
    const Window& shown = *windowOf(window);
    return visible(shown) && shown.bar.has_value();
}

}  // namespace veltra::null
