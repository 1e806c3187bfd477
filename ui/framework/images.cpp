#include "images.h"

namespace veltra {

namespace {

ImageLoader& installed()
{
    static ImageLoader loader;
    return loader;
}

}  // namespace

void setImageLoader(ImageLoader loader)
{
    installed() = std::move(loader);
}

QPixmap loadImageResource(int id)
{
    return installed() ? installed()(id) : QPixmap();
}

}  // namespace veltra
