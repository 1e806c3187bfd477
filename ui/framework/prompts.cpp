#include "prompts.h"

#include "backend.h"

namespace veltra {

namespace {
Prompts* replaced = nullptr;
}

Prompts& prompts()
{
    return replaced ? *replaced : backend::dialogPrompts();
}

void setPrompts(Prompts* replacement)
{
    replaced = replacement;
}

}  // namespace veltra
