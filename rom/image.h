#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace veltra {

// Which file a load read, and in which state: a save can then tell whether
// the file at a path is still the one that was loaded.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
    // The same file, whatever has happened to its contents since.
    bool sameFileAs(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
};

// The bytes of one BIOS image file. The program has exactly one image that it
// edits (romImage()); loads and saves stage their work on scratch images of
// the same type and only then replace it.
struct RomImage {
    // The longest file a load takes: whole-flash dumps of these boards run
    // to 256 KiB.
    static constexpr std::uint32_t capacity = 1024 * 1024;
    // The bytes an image spans at least, zero past its file: the built-in
    // locations all lie below, so a short file reads as zeros there.
    static constexpr std::uint32_t minimumSpan = 204800;  // 0x32000

    RomImage() : bytes(minimumSpan, 0) {}

    // minimumSpan bytes, or as many as the longest file this buffer
    // received: the cost of a load follows its file, not the capacity. A
    // vector, so that a finished load can swap its scratch image in without
    // copying it.
    std::vector<std::uint8_t> bytes;
    // Length of the file at the last load; a save writes exactly this many.
    std::uint32_t loadedLength = 0;
    // The file the bytes came from, or were last saved to.
    std::optional<FileIdentity> source;

    // Little-endian, unaligned. Offsets come from a layout: the built-in
    // tables, which all lie below 65536, or the image's own tables, which
    // were checked to lie inside the file.
    std::uint8_t readU8(std::uint32_t offset) const { return bytes[offset]; }
    std::uint16_t readU16(std::uint32_t offset) const;
    std::uint32_t readU32(std::uint32_t offset) const;
    void writeU8(std::uint32_t offset, std::uint8_t value)
    {
        bytes[offset] = value;
        written(offset + 1);
    }
    void writeU16(std::uint32_t offset, std::uint16_t value);
    void writeU32(std::uint32_t offset, std::uint32_t value);

    // A load in two steps: the start of `bytes`, to receive a file of
    // `length` bytes (at most `capacity`), then, once it holds them, the
    // image as a load leaves it: loadedLength set and every byte past the
    // file zero. Only what an earlier use of this buffer may have written is
    // cleared, not the whole buffer at every load.
    std::uint8_t* receive(std::uint32_t length);
    void received(std::uint32_t length);

    // The bytes and length of `other`, as they are.
    void copyFrom(const RomImage& other);

private:
    void written(std::uint32_t end)
    {
        if (end > m_zeroFrom)
            m_zeroFrom = end;
    }

    // Every byte from here to the end of `bytes` is zero.
    std::uint32_t m_zeroFrom = 0;
};

// The one image of the program, zero-filled with loadedLength 0 at start-up.
RomImage& romImage();

}  // namespace veltra
