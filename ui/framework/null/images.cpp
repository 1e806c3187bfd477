// A null window's images are their ids: nothing is drawn.
#include "registry.h"

namespace veltra::backend {

void setBitmap(WindowHandle picture, int imageId)
{
    null::windowOf(picture)->imageId = imageId;
}

int bitmap(WindowHandle picture)
{
    return null::windowOf(picture)->imageId;
}

void setIcon(WindowHandle dialog, int imageId)
{
    null::windowOf(dialog)->imageId = imageId;
}

}  // namespace veltra::backend
