// A null window is shown at 100 % until the driver moves it (moveToDpi):
// then its window of its own reports the new scale. Its font stays, as Qt's.
#include "registry.h"

namespace veltra::backend {

int dpi(WindowHandle window)
{
    null::Window* found = null::windowOf(window);
    return found ? null::rootOf(*found).dpi : 96;
}

}  // namespace veltra::backend
