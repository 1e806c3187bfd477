#include "ui/res/templates.h"

namespace veltra::res {

const DialogTemplate& dialogTemplate(int id)
{
    static constexpr const DialogTemplate* all[] = {&aboutDialog, &mainDialog, &frequencyPage, &fanPage,
                                                    &boostPage,   &powerPage,  &voltagePage};
    for (const DialogTemplate* t : all)
        if (t->id == id)
            return *t;
    return mainDialog;
}

}  // namespace veltra::res
