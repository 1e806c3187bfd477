#include "scripted_prompts.h"

#include "dialog.h"

namespace veltra {

namespace {

std::optional<std::filesystem::path> takeAnswer(std::deque<std::optional<std::filesystem::path>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    std::optional<std::filesystem::path> answer = std::move(answers.front());
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

void ScriptedPrompts::showMessage(CWnd*, const std::string& text)
{
    messages.push_back(text);
}

bool ScriptedPrompts::askYesNo(CWnd*, const std::string& question)
{
    questions.push_back(question);
    if (yesNoAnswers.empty())
        return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
}

std::optional<std::filesystem::path> ScriptedPrompts::askOpenPath(CWnd*, const FileQuestion& question)
{
    ++openQuestions;
    fileQuestions.push_back(question);
    return takeAnswer(openAnswers);
}

std::optional<std::filesystem::path> ScriptedPrompts::askSavePath(CWnd*, const FileQuestion& question)
{
    ++saveQuestions;
    fileQuestions.push_back(question);
    return takeAnswer(saveAnswers);
}

int ScriptedPrompts::runModal(CDialog& dialog)
{
    modalTitles.push_back(dialog.GetWindowText());
    if (whenModal)
        return whenModal(dialog);
    if (whileModal)
        whileModal(dialog);
    return modalResult.value_or(dialog.ModalResult());
}

}  // namespace veltra
