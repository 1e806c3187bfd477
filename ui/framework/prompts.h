#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace veltra {

class CDialog;
class CWnd;

// What a file dialog is titled and offers. The program fills it in; this
// layer knows no file type of its own.
struct FileQuestion {
    std::string title;
    std::string filter;         // one filter, "Name(*.ext)"
    std::string defaultSuffix;  // added to a name typed without one
};

// Every modal question the window asks goes through this interface, so that
// tests can answer it without a modal loop. Texts are UTF-8.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A warning with one OK button, titled with the application's name;
    // returns when it has been dismissed.
    virtual void showMessage(CWnd* owner, const std::string& text) = 0;
    // A question with Yes and No; true for Yes. No is the default answer, and
    // Escape or closing the box gives it.
    virtual bool askYesNo(CWnd* owner, const std::string& question) = 0;
    // The full path of an existing file, or nothing when cancelled.
    virtual std::optional<std::filesystem::path> askOpenPath(CWnd* owner, const FileQuestion& question) = 0;
    // The full path to save to, or nothing when cancelled. Replacing an
    // existing file is confirmed first.
    virtual std::optional<std::filesystem::path> askSavePath(CWnd* owner, const FileQuestion& question) = 0;
    // Runs a dialog modally and returns how it ended.
    virtual int runModal(CDialog& dialog) = 0;
};

// The system's own message boxes and file dialogs, through the backend, and
// the dialog's own modal loop.
Prompts& dialogPrompts();
// The process's prompts: dialogPrompts() unless replaced.
Prompts& prompts();
// Replaces the prompts; null puts the real dialogs back.
void setPrompts(Prompts* replacement);

inline void showMessage(CWnd* owner, const std::string& text)
{
    prompts().showMessage(owner, text);
}

}  // namespace veltra
