// No user drives a null dialog: a modal one ends at once, as a dialog
// cancelled, unless it ended before.
#include "../dialog.h"
#include "registry.h"

namespace veltra::backend {

void endDialog(WindowHandle dialog, int result)
{
    if (null::Window* found = null::windowOf(dialog)) {
        found->modalResult = result;
        found->shown = false;
    }
}

int runModal(WindowHandle dialog)
{
    null::Window* found = null::windowOf(dialog);
    return found && found->modalResult ? *found->modalResult : commandCancel;
}

}  // namespace veltra::backend
