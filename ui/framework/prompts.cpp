#include "prompts.h"

#include "backend.h"
#include "dialog.h"

namespace veltra {

namespace {

Prompts* replaced = nullptr;

// A box stands over the window its owner lies in.
WindowHandle windowOf(const CWnd* owner)
{
    WindowHandle window = owner ? owner->GetWindowHandle() : WindowHandle{};
    while (window && !backend::isTopLevel(window))
        window = backend::parent(window);
    return window;
}

class DialogPrompts : public Prompts {
public:
    void showMessage(CWnd* owner, const std::string& text) override
    {
        backend::showMessageBox(windowOf(owner), text);
    }

    bool askYesNo(CWnd* owner, const std::string& question) override
    {
        return backend::askYesNo(windowOf(owner), question);
    }

    std::optional<std::filesystem::path> askOpenPath(CWnd* owner, const FileQuestion& question) override
    {
        return backend::askFilePath(windowOf(owner), question, false);
    }

    std::optional<std::filesystem::path> askSavePath(CWnd* owner, const FileQuestion& question) override
    {
        return backend::askFilePath(windowOf(owner), question, true);
    }

    int runModal(CDialog& dialog) override { return backend::runModal(dialog.GetWindowHandle()); }
};

}  // namespace

Prompts& dialogPrompts()
{
    static DialogPrompts real;
    return real;
}

Prompts& prompts()
{
    return replaced ? *replaced : dialogPrompts();
}

void setPrompts(Prompts* replacement)
{
    replaced = replacement;
}

}  // namespace veltra
