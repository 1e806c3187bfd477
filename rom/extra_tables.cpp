// The tables that hold no editable field: the memory type table, which
// gives the memory clock its unit, and the tables of the read-only values.
#include "table_walk.h"

namespace veltra::tables {
namespace {

// Its data holds at +3 the pointer to the memory type table.
constexpr TokenRef memoryTypeToken{"memory type table", 'M', 2, 5};
constexpr std::uint8_t memoryTypeVersion = 0x10;
constexpr std::uint8_t memoryTypeHeader = 7, memoryTypeEntry = 7;

constexpr std::uint32_t clockRangePointerAt = 0x30;
constexpr std::uint8_t clockRangeVersion = 0x11;
// Its header, entry and sub-entry sizes, and sub-entry counts, on every build.
constexpr std::uint8_t clockRangeHeader = 6, clockRangeEntry = 6, clockRangeSub = 6;
constexpr ShapeByte clockRangeSubCount = shape(4, 3, 10);
constexpr std::uint32_t coolerPointerAt = 0x58;
constexpr std::uint8_t coolerVersion = 0x10;
constexpr std::uint8_t coolerHeader = 4, coolerEntry = 22;

// The header of a table a pointer at `pointerAt` leads to, where the
// pointer token is long enough to hold that pointer, it is not 0 and the
// table's first `headerBytes` lie in the file.
std::optional<Header> optionalTable(const Walk& walk, std::uint64_t pointers, std::uint16_t pointerSize,
                                    std::uint32_t pointerAt, std::uint32_t headerBytes)
{
    if (pointerSize < pointerAt + 4)
        return std::nullopt;
    const std::uint32_t pointer = *walk.file().u32(pointers + pointerAt);
    const std::uint64_t start = walk.pointerTarget(pointer);
    if (pointer == 0 || !walk.file().holds(start, headerBytes))
        return std::nullopt;
    return Header{walk.file(), start};
}

}  // namespace

// One entry per memory strap, its type in the low four bits of its first
// byte. The straps of one image agree; the strap the card uses is not in the
// image, so straps that disagree say nothing.
std::optional<MemoryType> memoryType(const Walk& walk)
{
    constexpr std::uint8_t unusedStrap = 0xF, gddr5 = 3;
    if (!walk.hasToken(memoryTypeToken))
        return MemoryType::Unknown;
    const auto data = walk.tokenData(memoryTypeToken);
    if (!data)
        return std::nullopt;
    const std::uint16_t pointer = *walk.file().u16(data->offset + 3);
    if (pointer == 0)
        return MemoryType::Unknown;
    const std::uint64_t t = walk.image().offset + pointer;
    if (!walk.file().holds(t, 4)) {
        refuse(memoryTypeToken.name, Problem::OutsideFile);
        return std::nullopt;
    }
    const Header table{walk.file(), t};
    const std::uint32_t header = table[1], entrySize = table[2], count = table[3];
    if (table[0] != memoryTypeVersion) {
        refuse(memoryTypeToken.name, Problem::Version);
        return std::nullopt;
    }
    if (header != memoryTypeHeader || entrySize != memoryTypeEntry) {
        refuse(memoryTypeToken.name, Problem::Layout);
        return std::nullopt;
    }
    if (!walk.file().holds(t, header + std::uint64_t{count} * entrySize)) {
        refuse(memoryTypeToken.name, Problem::OutsideFile);
        return std::nullopt;
    }
    std::optional<std::uint8_t> type;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t strap = table[header + i * entrySize] & 0xF;
        if (strap == unusedStrap)
            continue;
        if (type && *type != strap)
            return MemoryType::Unknown;
        type = strap;
    }
    if (!type)
        return MemoryType::Unknown;
    return *type == gddr5 ? MemoryType::Gddr5 : MemoryType::Other;
}

// The clock-range table's P0 maximum: the card runs no boost entry above it.
void locateBoostLimit(const Walk& walk, std::uint64_t pointers, std::uint16_t pointerSize, BiosInfo& info)
{
    leaveOut(info.boostLimit);
    info.layout.clockRangeTable = {};
    const std::optional<Header> found = optionalTable(walk, pointers, pointerSize, clockRangePointerAt, 6);
    if (!found)
        return;
    const Header& t = *found;
    const std::uint64_t start = t.start;
    const std::uint32_t header = t[1], entrySize = t[2], subSize = t[3], subCount = t[4], count = t[5];
    const std::uint64_t stride = entrySize + std::uint64_t{subSize} * subCount;
    const std::uint64_t length = header + count * stride;
    if (t[0] != clockRangeVersion || header != clockRangeHeader || entrySize != clockRangeEntry ||
        subSize != clockRangeSub || !clockRangeSubCount.accepts(static_cast<std::uint8_t>(subCount)) ||
        !walk.file().holds(start, length))
        return;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = start + header + i * stride;
        if (pStateOf(*walk.file().u16(at)) == topPState) {
            place(info.boostLimit, at + 4, "clock range table", i);
            info.layout.clockRangeTable = {offset(start), offset(length)};
            return;
        }
    }
}

// The fan cooler table's speed limits, entry 0 +2 and +3.
void locateCoolerFan(const Walk& walk, std::uint64_t pointers, std::uint16_t pointerSize, BiosInfo& info)
{
    leaveOut(info.coolerFanMin);
    leaveOut(info.coolerFanMax);
    info.layout.coolerTable = {};
    const std::optional<Header> found = optionalTable(walk, pointers, pointerSize, coolerPointerAt, 4);
    if (!found)
        return;
    const Header& t = *found;
    const std::uint64_t start = t.start;
    const std::uint32_t header = t[1], entrySize = t[2], count = t[3];
    const std::uint64_t length = header + std::uint64_t{count} * entrySize;
    if (t[0] != coolerVersion || header != coolerHeader || entrySize != coolerEntry || count < 1 ||
        !walk.file().holds(start, length))
        return;
    place(info.coolerFanMin, start + header + 2, "fan cooler table", 0);
    place(info.coolerFanMax, start + header + 3, "fan cooler table", 0);
    info.layout.coolerTable = {offset(start), offset(length)};
}

}  // namespace veltra::tables
