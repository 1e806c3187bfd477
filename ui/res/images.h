#pragma once

#include <QPixmap>

namespace veltra::res {

// Icon 128 and bitmap 133; a null pixmap for any other id. The window hands
// this to the dialog layer's image hook.
QPixmap loadImage(int id);

}  // namespace veltra::res
