#pragma once

#include <QPixmap>
#include <functional>

namespace veltra {

// Images by resource id belong to the program, not to this layer: the program
// points this hook at them at start-up.
using ImageLoader = std::function<QPixmap(int id)>;

void setImageLoader(ImageLoader loader);
// The image with this id; a null pixmap without a loader or for an unknown id.
QPixmap loadImageResource(int id);

}  // namespace veltra
