#pragma once

#include <QString>
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

    void showMessage(QWidget* owner, const QString& text) override;
    bool askYesNo(QWidget* owner, const QString& question) override;
    std::optional<QString> askOpenPath(QWidget* owner, const FileQuestion& question) override;
    std::optional<QString> askSavePath(QWidget* owner, const FileQuestion& question) override;
    int runModal(QDialog& dialog) override;

    std::vector<QString> messages;
    std::vector<QString> questions;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    int openQuestions = 0;
    int saveQuestions = 0;
    // What every file dialog would have shown, in order.
    std::vector<FileQuestion> fileQuestions;
    // Titles of the dialogs run modally, in order.
    std::vector<QString> modalTitles;
    // Stands in for a modal dialog's own loop: it may show the dialog, work
    // it and return how it ended. Unset, the dialog ends at once.
    std::function<int(QDialog&)> whenModal;
    // What runModal reports; the dialog's own result when unset.
    std::optional<int> modalResult;
    // What the user does while a dialog is modal; nothing when unset.
    std::function<void(QDialog&)> whileModal;
};

}  // namespace veltra
