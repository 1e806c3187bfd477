#include <cstring>

#include "image.h"

namespace veltra {
namespace {

// Sums bytes eight at a time: the even and the odd bytes of each 64-bit word
// go into four 16-bit lanes, which are folded into the total before any of
// them can overflow (128 words add at most 128 x 2 x 255 = 65280 to a lane).
std::uint32_t byteSum(const std::uint8_t* data, std::size_t length)
{
    constexpr std::uint64_t lowBytes = 0x00FF00FF00FF00FFull;
    constexpr std::size_t wordsPerFold = 128;
    std::uint32_t total = 0;
    std::size_t at = 0;
    while (length - at >= 8) {
        std::uint64_t lanes = 0;
        for (std::size_t n = 0; n < wordsPerFold && length - at >= 8; ++n, at += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + at, sizeof word);
            lanes += (word & lowBytes) + ((word >> 8) & lowBytes);
        }
        total += static_cast<std::uint32_t>((lanes & 0xFFFF) + ((lanes >> 16) & 0xFFFF) + ((lanes >> 32) & 0xFFFF) +
                                            (lanes >> 48));
    }
    for (; at < length; ++at)
        total += data[at];
    return total;
}

}  // namespace

bool computeChecksum(const std::uint8_t* data, std::int32_t length, std::uint8_t& out)
{
    if (data == nullptr || length <= 0)
        return false;
    out = static_cast<std::uint8_t>(0x100 - (byteSum(data, static_cast<std::size_t>(length)) & 0xFF));
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
