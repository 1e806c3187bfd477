#pragma once

#include <cstdint>

#include "bios_info.h"
#include "image.h"

namespace veltra {

// The two's complement of the 8-bit sum of `length` bytes. False, with `out`
// untouched, when data is null or length is not positive.
bool computeChecksum(const std::uint8_t* data, std::int32_t length, std::uint8_t& out);

// Where the summed range starts when the image's own structure does not say.
constexpr std::uint32_t checksumRangeStart = builtInImageOffset;

// computeChecksum over image bytes [startOffset, endOffset). False when the
// range is empty or leaves the image.
bool computeImageChecksum(const RomImage& image, std::uint32_t startOffset, std::uint32_t endOffset,
                          std::uint8_t& out);

// The same from checksumRangeStart.
inline bool computeImageChecksum(const RomImage& image, std::uint32_t endOffset, std::uint8_t& out)
{
    return computeImageChecksum(image, checksumRangeStart, endOffset, out);
}

}  // namespace veltra
