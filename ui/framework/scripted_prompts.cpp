#include "scripted_prompts.h"

#include <QDialog>

namespace veltra {

namespace {

std::optional<QString> takeAnswer(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    const std::optional<QString> answer = answers.front();
    answers.pop_front();
    return answer;
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

bool ScriptedPrompts::askYesNo(QWidget*, const QString& question)
{
    questions.push_back(question);
    if (yesNoAnswers.empty())
        return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
}

std::optional<QString> ScriptedPrompts::askOpenPath(QWidget*, const FileQuestion& question)
{
    ++openQuestions;
    fileQuestions.push_back(question);
    return takeAnswer(openAnswers);
}

std::optional<QString> ScriptedPrompts::askSavePath(QWidget*, const FileQuestion& question)
{
    ++saveQuestions;
    fileQuestions.push_back(question);
    return takeAnswer(saveAnswers);
}

int ScriptedPrompts::runModal(QDialog& dialog)
{
    modalTitles.push_back(dialog.windowTitle());
    if (whenModal)
        return whenModal(dialog);
    if (whileModal)
        whileModal(dialog);
    return modalResult.value_or(dialog.result());
}

}  // namespace veltra
