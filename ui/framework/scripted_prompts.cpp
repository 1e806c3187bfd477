#include "scripted_prompts.h"

#include <QDialog>

namespace veltra {

namespace {

std::optional<QString> takeAnswer(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    const QString path = answers.front().value_or(QString());
    const bool chosen = answers.front().has_value();
    answers.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

}  // namespace

ScriptedPrompts::ScriptedPrompts()
{
    setPrompts(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    setPrompts(nullptr);
}

void ScriptedPrompts::showMessage(QWidget*, const QString& text)
{
    messages.push_back(text);
}

std::optional<QString> ScriptedPrompts::askOpenPath(QWidget*)
{
    ++openQuestions;
    return takeAnswer(openAnswers);
}

std::optional<QString> ScriptedPrompts::askSavePath(QWidget*)
{
    ++saveQuestions;
    return takeAnswer(saveAnswers);
}

int ScriptedPrompts::runModal(QDialog& dialog)
{
    modalTitles.push_back(dialog.windowTitle());
    if (whileModal)
        whileModal(dialog);
    return modalResult.value_or(dialog.result());
}

}  // namespace veltra
