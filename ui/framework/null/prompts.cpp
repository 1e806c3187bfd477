// The null backend has no message boxes or file dialogs of its own: a test
// answers them with ScriptedPrompts. One that reaches here would wait for a
// user who is not there, so it ends the run, saying why.
#include <cstdio>
#include <cstdlib>

#include "../backend.h"

namespace veltra::backend {

namespace {

[[noreturn]] void noUserToAsk(const char* what)
{
    std::fprintf(stderr, "The null backend cannot show %s: answer it with ScriptedPrompts.\n", what);
    std::abort();
}

}  // namespace

void showMessageBox(WindowHandle, const std::string&)
{
    noUserToAsk("a message box");
}

bool askYesNo(WindowHandle, const std::string&)
{
    noUserToAsk("a question");
}

std::optional<std::filesystem::path> askFilePath(WindowHandle, const FileQuestion&, bool)
{
    noUserToAsk("a file dialog");
}

}  // namespace veltra::backend
