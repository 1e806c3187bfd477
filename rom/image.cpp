#include "image.h"

#include <algorithm>

namespace veltra {

std::uint16_t RomImage::readU16(std::uint32_t offset) const
{
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t RomImage::readU32(std::uint32_t offset) const
{
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

void RomImage::writeU16(std::uint32_t offset, std::uint16_t value)
{
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    written(offset + 2);
}

void RomImage::writeU32(std::uint32_t offset, std::uint32_t value)
{
    for (std::uint32_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    written(offset + 4);
}

std::uint8_t* RomImage::receive(std::uint32_t length)
{
    if (length > bytes.size())
        bytes.resize(length, 0);
    written(length);
    return bytes.data();
}

void RomImage::received(std::uint32_t length)
{
    if (m_zeroFrom > length)
        std::fill(bytes.begin() + length, bytes.begin() + m_zeroFrom, std::uint8_t{0});
    m_zeroFrom = length;
    loadedLength = length;
}

void RomImage::copyFrom(const RomImage& other)
{
    // Only the bytes either buffer may hold other than zero: a buffer grown
    // by a whole-flash file once must not make every later copy that long.
    const std::uint32_t used = other.m_zeroFrom;
    if (bytes.size() < used)
        bytes.resize(used, 0);
    std::copy_n(other.bytes.begin(), used, bytes.begin());
    if (m_zeroFrom > used)
        std::fill(bytes.begin() + used, bytes.begin() + m_zeroFrom, std::uint8_t{0});
    loadedLength = other.loadedLength;
    m_zeroFrom = used;
}

RomImage& romImage()
{
    static RomImage image;
    return image;
}

}  // namespace veltra
