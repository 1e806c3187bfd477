#pragma once

#include <cstdint>
#include <vector>

namespace veltra {

// The bytes of one BIOS image file. The program has exactly one image that it
// edits (romImage()); loads and saves stage their work on scratch images of
// the same type and only then replace it.
struct RomImage {
    static constexpr std::uint32_t capacity = 204800;  // 0x32000

    RomImage() : bytes(capacity, 0) {}

    // Always `capacity` bytes. A vector, so that a finished load can swap its
    // scratch image in without copying 200 KiB.
    std::vector<std::uint8_t> bytes;
    // Length of the file at the last load; a save writes exactly this many.
    std::uint32_t loadedLength = 0;

    // Little-endian, unaligned. Offsets come from the board tables, which
    // all lie below 65536.
    std::uint8_t readU8(std::uint32_t offset) const { return bytes[offset]; }
    std::uint16_t readU16(std::uint32_t offset) const;
    std::uint32_t readU32(std::uint32_t offset) const;
    void writeU8(std::uint32_t offset, std::uint8_t value) { bytes[offset] = value; }
    void writeU16(std::uint32_t offset, std::uint16_t value);
    void writeU32(std::uint32_t offset, std::uint32_t value);
};

// The one image of the program, zero-filled with loadedLength 0 at start-up.
RomImage& romImage();

// The two's complement of the 8-bit sum of `length` bytes. False, with `out`
// untouched, when data is null or length is not positive.
bool computeChecksum(const std::uint8_t* data, std::int32_t length, std::uint8_t& out);

// computeChecksum over image bytes [1024, endOffset). False when endOffset is
// 1024 or less.
constexpr std::uint32_t checksumRangeStart = 1024;
bool computeImageChecksum(const RomImage& image, std::uint32_t endOffset, std::uint8_t& out);

}  // namespace veltra
