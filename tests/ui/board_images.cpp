#include "tests/ui/board_images.h"

namespace veltra::testing {

namespace {

// A table opens with its version, header size, entry size and entry count.
std::uint32_t entryAt(const StructuredImage& image, std::uint32_t table, std::uint32_t i)
{
    return table + image.bytes[table + 1] + i * image.bytes[table + 2];
}

// P-states are bits 5-8 of a voltage-frequency entry's first word; 15 is P0.
constexpr unsigned pStateOf(std::uint16_t word)
{
    return (word >> 5) & 0xF;
}

template <typename Visit>
void eachP0Entry(StructuredImage& image, Visit visit)
{
    const std::uint32_t table = image.tables.voltageFrequency;
    for (std::uint32_t i = 0; i < image.bytes[table + 3]; ++i)
        if (pStateOf(getU16(image.bytes, entryAt(image, table, i))) == 15)
            visit(entryAt(image, table, i));
}

}  // namespace

StructuredImage otherBoardImage(const std::vector<TableBend>& bends)
{
    StructuredSpec spec;
    spec.values.deviceId = 0x1184;
    StructuredImage image = buildStructuredImage(spec);
    for (const TableBend& bend : bends)
        bend(image);
    const std::uint32_t checksumAt = image.imageOffset + image.imageLength - 1;
    std::uint8_t sum = 0;
    for (std::uint32_t i = image.imageOffset; i < checksumAt; ++i)
        sum = static_cast<std::uint8_t>(sum + image.bytes[i]);
    image.bytes[checksumAt] = static_cast<std::uint8_t>(0x100 - sum);
    return image;
}

TableBend ladderRange(std::uint8_t lowest, std::uint8_t highest)
{
    return [=](StructuredImage& image) {
        eachP0Entry(image, [&](std::uint32_t entry) {
            image.bytes[entry + 2] = lowest;
            image.bytes[entry + 3] = highest;
        });
    };
}

TableBend noLadder()
{
    return [](StructuredImage& image) {
        eachP0Entry(image, [&](std::uint32_t entry) {
            putU16(image.bytes, entry, static_cast<std::uint16_t>((getU16(image.bytes, entry) & ~0x1E0u) | 14u << 5));
        });
    };
}

TableBend headerByte(std::uint32_t TableStarts::*table, std::uint32_t at, std::uint8_t value)
{
    return [=](StructuredImage& image) { image.bytes[image.tables.*table + at] = value; };
}

TableBend noFanEntry()
{
    return [](StructuredImage& image) {
        const std::uint32_t table = image.tables.thermal;
        for (std::uint32_t i = 0; i < image.bytes[table + 3]; ++i)
            if (image.bytes[entryAt(image, table, i)] == 0x22)
                image.bytes[entryAt(image, table, i)] = 0x23;
    };
}

std::uint16_t ladderWord(const StructuredImage& image, std::size_t k)
{
    // The extra entries follow the entries; the ladder leaves out P0's lowest.
    const std::uint32_t table = image.tables.voltageFrequency;
    const std::uint32_t extras = entryAt(image, table, image.bytes[table + 3]);
    std::uint32_t lowest = 0;
    for (std::uint32_t i = 0; i < image.bytes[table + 3]; ++i)
        if (pStateOf(getU16(image.bytes, entryAt(image, table, i))) == 15) {
            lowest = image.bytes[entryAt(image, table, i) + 2];
            break;
        }
    const std::uint32_t extraSize = image.bytes[table + 4];
    return getU16(image.bytes, extras + (lowest + 1 + static_cast<std::uint32_t>(k)) * extraSize);
}

}  // namespace veltra::testing
