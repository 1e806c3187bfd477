#include "image.h"

namespace veltra {

bool computeChecksum(const std::uint8_t* data, std::int32_t length, std::uint8_t& out)
{
    if (data == nullptr || length <= 0)
        return false;
    std::uint8_t sum = 0;
    for (std::int32_t i = 0; i < length; ++i)
        sum = static_cast<std::uint8_t>(sum + data[i]);
    out = static_cast<std::uint8_t>(0x100 - sum);
    return true;
}

bool computeImageChecksum(const RomImage& image, std::uint32_t endOffset, std::uint8_t& out)
{
    if (endOffset <= checksumRangeStart || endOffset > RomImage::capacity)
        return false;
    return computeChecksum(image.bytes.data() + checksumRangeStart,
                           static_cast<std::int32_t>(endOffset - checksumRangeStart), out);
}

}  // namespace veltra
