#include "kepler_image.h"

#include <cstdio>
#include <stdexcept>

namespace veltra::testing {

namespace {

// A table header as every table here starts: version, header size, entry
// size, entry count.
struct TableHeader {
    std::uint32_t start, header, entrySize, count;

    std::uint32_t entry(std::uint32_t i) const { return start + header + i * entrySize; }
};

TableHeader headerAt(const std::vector<std::uint8_t>& bytes, std::uint32_t start)
{
    return {start, bytes.at(start + 1), bytes.at(start + 2), bytes.at(start + 3)};
}

constexpr std::uint8_t noEntry = 0xFF;
constexpr unsigned topPState = 15;  // P0

// The voltage-frequency entry of P0: its P-state in bits 5-8 of its first word.
std::uint32_t p0LadderEntry(const StructuredImage& image)
{
    const TableHeader t = headerAt(image.bytes, image.tables.voltageFrequency);
    for (std::uint32_t i = 0; i < t.count; ++i)
        if (((getU16(image.bytes, t.entry(i)) >> 5) & 0xF) == topPState) return t.entry(i);
    throw std::logic_error("the image has no P0 voltage-frequency entry");
}

// Where the BIT's P token keeps its data size.
std::uint32_t pTokenSizeAt(const StructuredImage& image)
{
    const std::uint32_t headerSize = image.bytes.at(image.bit + 8), tokenSize = image.bytes.at(image.bit + 9);
    const std::uint32_t tokens = image.bytes.at(image.bit + 10);
    for (std::uint32_t i = 0; i < tokens; ++i) {
        const std::uint32_t at = image.bit + headerSize + i * tokenSize;
        if (image.bytes.at(at) == 'P') return at + 2;
    }
    throw std::logic_error("the image has no P token");
}

}  // namespace

StructuredImage keplerImage(std::uint16_t deviceId)
{
    StructuredSpec spec;
    spec.values.board = BoardModel::Gtx680;
    spec.values.deviceId = deviceId;
    return buildStructuredImage(spec);
}

void bend(StructuredImage& image, Bend what)
{
    std::vector<std::uint8_t>& bytes = image.bytes;
    switch (what) {
    case Bend::NoPower:
        bytes.at(image.tables.powerPolicy + 9) = noEntry;
        bytes.at(image.tables.powerPolicy + 10) = noEntry;
        break;
    case Bend::NoVoltage:
        bytes.at(image.tables.voltageMap + 7) = noEntry;
        break;
    case Bend::NoBoostClock:
        bytes.at(image.tables.virtualPState + 16) = noEntry;
        break;
    case Bend::NoFan: {
        const TableHeader t = headerAt(bytes, image.tables.thermal);
        for (std::uint32_t i = 0; i < t.count; ++i)
            if (bytes.at(t.entry(i)) == 0x22) bytes.at(t.entry(i)) = 0x23;
        break;
    }
    }
    fixImageChecksum(image);
}

void setLadderEnd(StructuredImage& image, std::uint8_t highest)
{
    image.bytes.at(p0LadderEntry(image) + 3) = highest;
    fixImageChecksum(image);
}

std::uint32_t ladderEntryOffset(const StructuredImage& image, std::uint32_t k)
{
    // Extra entries of 5 bytes follow the entries; the ladder leaves out
    // the lowest entry of P0's range.
    const TableHeader t = headerAt(image.bytes, image.tables.voltageFrequency);
    const std::uint32_t first = image.bytes.at(p0LadderEntry(image) + 2) + 1u;
    return t.entry(t.count) + 5 * (first + k);
}

std::string boostName(std::size_t k)
{
    char name[16];
    std::snprintf(name, sizeof name, "boost-%02zu", k + 1);
    return name;
}

ReadOnlyPlaces addReadOnlyTables(StructuredImage& image, std::uint16_t limitWord, std::uint8_t fanMin,
                                 std::uint8_t fanMax)
{
    std::vector<std::uint8_t>& bytes = image.bytes;
    // Past every table the builder lays out, in the legacy image's filler.
    const std::uint32_t clockRange = image.imageLength - 0x200, cooler = clockRange + 0x10;
    for (std::uint32_t end : {image.tableEnds.performance, image.tableEnds.thermal, image.tableEnds.voltageMap,
                              image.tableEnds.voltageFrequency, image.tableEnds.virtualPState})
        if (end > image.imageOffset + clockRange) throw std::logic_error("no room for the read-only tables");

    // The cooler table's pointer lies past the shortest P tokens.
    const std::uint32_t sizeAt = pTokenSizeAt(image);
    for (std::uint32_t slot = getU16(bytes, sizeAt); slot < 0x5C; slot += 4) putU32(bytes, image.pData + slot, 0);
    putU16(bytes, sizeAt, 0x5C);
    putU32(bytes, image.pData + 0x30, clockRange);
    putU32(bytes, image.pData + 0x58, cooler);

    const std::uint32_t r = image.imageOffset + clockRange;
    const std::uint8_t rangeHeader[] = {0x11, 6, 6, 0, 0, 1};
    for (std::uint32_t i = 0; i < sizeof rangeHeader; ++i) bytes.at(r + i) = rangeHeader[i];
    putU16(bytes, r + 6, topPState << 5);
    putU16(bytes, r + 8, 600);  // its minimum, 300 MHz
    putU16(bytes, r + 10, limitWord);

    const std::uint32_t c = image.imageOffset + cooler;
    const std::uint8_t coolerTable[] = {0x10, 4, 4, 1, 0, 0, fanMin, fanMax};
    for (std::uint32_t i = 0; i < sizeof coolerTable; ++i) bytes.at(c + i) = coolerTable[i];
    fixImageChecksum(image);
    return {r + 10, c + 6, c + 7};
}

void fixImageChecksum(StructuredImage& image)
{
    const std::uint32_t checksumAt = image.imageOffset + image.imageLength - 1;
    std::uint8_t sum = 0;
    for (std::uint32_t i = image.imageOffset; i < checksumAt; ++i) sum = static_cast<std::uint8_t>(sum + image.bytes[i]);
    image.bytes.at(checksumAt) = static_cast<std::uint8_t>(0x100 - sum);
}

}  // namespace veltra::testing
