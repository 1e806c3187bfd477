#include "dialog_template.h"

namespace veltra {

const ControlTemplate* labelBeside(const DialogTemplate& dialog, const ControlTemplate& edit)
{
    const ControlTemplate* best = nullptr;
    for (const ControlTemplate& c : dialog.controls) {
        if (!traitsOf(c.kind).lineLabel || c.x >= edit.x)
            continue;
        const int middle2 = 2 * c.y + c.height;
        if (middle2 < 2 * edit.y || middle2 > 2 * (edit.y + edit.height))
            continue;
        if (!best || c.x > best->x)
            best = &c;
    }
    return best;
}

std::string spokenText(const char* text)
{
    std::string spoken;
    for (const char* c = text; *c; ++c)
        if (*c != '&')
            spoken += *c;
    return spoken;
}

}  // namespace veltra
