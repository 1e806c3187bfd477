// Qt lays lengths out in device-independent pixels and scales them to the
// screen itself: every window reports the scale of 100 %, and a window moved
// to another screen hears nothing of it.
#include "../backend.h"

namespace veltra::backend {

int dpi(WindowHandle)
{
    return 96;
}

}  // namespace veltra::backend
