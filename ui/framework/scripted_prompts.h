#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "prompts.h"

namespace veltra {

// Prompts for tests and tools: records every message and modal dialog and
// answers file questions from queues. An empty queue answers Cancel. It
// replaces the process's prompts while it lives.
class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    void showMessage(QWidget* owner, const QString& text) override;
    std::optional<QString> askOpenPath(QWidget* owner) override;
    std::optional<QString> askSavePath(QWidget* owner) override;
    int runModal(QDialog& dialog) override;

    std::vector<QString> messages;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    int openQuestions = 0;
    int saveQuestions = 0;
    // Titles of the dialogs run modally, in order.
    std::vector<QString> modalTitles;
    // What runModal reports; the dialog's own result when unset.
    std::optional<int> modalResult;
    // What the user does while a dialog is modal; nothing when unset.
    std::function<void(QDialog&)> whileModal;
};

}  // namespace veltra
