#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "prompts.h"

namespace veltra {

// Prompts for tests and tools: records every message, question and modal
// dialog and answers from queues. An empty path queue answers Cancel, an
// empty yes/no queue No. It replaces the process's prompts while it lives.
class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    void showMessage(CWnd* owner, const std::string& text) override;
    bool askYesNo(CWnd* owner, const std::string& question) override;
    std::optional<std::filesystem::path> askOpenPath(CWnd* owner, const FileQuestion& question) override;
    std::optional<std::filesystem::path> askSavePath(CWnd* owner, const FileQuestion& question) override;
    int runModal(CDialog& dialog) override;

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::filesystem::path>> openAnswers;
    std::deque<std::optional<std::filesystem::path>> saveAnswers;
    int openQuestions = 0;
    int saveQuestions = 0;
    // What every file dialog would have shown, in order.
    std::vector<FileQuestion> fileQuestions;
    // Captions of the dialogs run modally, in order.
    std::vector<std::string> modalTitles;
    // Stands in for a modal dialog's own loop: it may show the dialog, work
    // it and return how it ended. Unset, the dialog ends at once.
    std::function<int(CDialog&)> whenModal;
    // What runModal reports; the dialog's own result when unset.
    std::optional<int> modalResult;
    // What the user does while a dialog is modal; nothing when unset.
    std::function<void(CDialog&)> whileModal;
};

}  // namespace veltra
