// Which windows exist, which object each reports to, and their ends.
#include "registry.h"

#include <algorithm>
#include <unordered_map>

namespace veltra {

namespace {

std::unordered_map<const null::Window*, std::unique_ptr<null::Window>>& windows()
{
    static std::unordered_map<const null::Window*, std::unique_ptr<null::Window>> made;
    return made;
}

// Its children end first, as on a real system; then the object hears of it.
void destroy(null::Window* window)
{
    while (!window->children.empty())
        destroy(window->children.back());
    // Windows of its own that it owns end with it.
    std::vector<null::Window*> owned;
    for (const auto& [key, each] : windows())
        if (each->topLevel && each->parent == window)
            owned.push_back(each.get());
    for (null::Window* each : owned)
        destroy(each);
    if (null::focused() == window)
        null::focused() = nullptr;
    WindowEvents::Report(null::handleOf(window), event::Destroyed{});
    if (window->parent && !window->topLevel) {
        auto& siblings = window->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    windows().erase(window);
}

}  // namespace

namespace null {

Window* windowOf(WindowHandle window)
{
    const auto found = windows().find(static_cast<const Window*>(window.native));
    return found == windows().end() ? nullptr : found->second.get();
}

WindowHandle handleOf(const Window* window)
{
    return WindowHandle{const_cast<Window*>(window)};
}

Window& makeWindow(ControlKind kind, Window* parent, bool topLevel, int id)
{
    auto made = std::make_unique<Window>();
    Window& window = *made;
    window.kind = kind;
    window.id = id;
    window.parent = parent;
    window.topLevel = topLevel || !parent;
    if (parent && !window.topLevel)
        parent->children.push_back(&window);
    windows().emplace(&window, std::move(made));
    return window;
}

Window& rootOf(Window& window)
{
    Window* root = &window;
    while (!root->topLevel)
        root = root->parent;
    return *root;
}

Window*& focused()
{
    static Window* window = nullptr;
    return window;
}

bool visible(const Window& window)
{
    for (const Window* each = &window; each; each = each->topLevel ? nullptr : each->parent)
        if (!each->shown)
            return false;
    return true;
}

}  // namespace null

namespace backend {

void destroyWindow(WindowHandle window)
{
    if (null::Window* found = null::windowOf(window))
        destroy(found);
}

void setObject(WindowHandle window, CWnd* object)
{
    if (null::Window* found = null::windowOf(window))
        found->object = object;
}

CWnd* object(WindowHandle window)
{
    const null::Window* found = null::windowOf(window);
    return found ? found->object : nullptr;
}

std::optional<ControlKind> kindOf(WindowHandle window)
{
    const null::Window* found = null::windowOf(window);
    return found ? std::optional<ControlKind>(found->kind) : std::nullopt;
}

int controlId(WindowHandle window)
{
    const null::Window* found = null::windowOf(window);
    return found ? found->id : noControlId;
}

}  // namespace backend
}  // namespace veltra
