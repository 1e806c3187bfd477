#include "bit_tables.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "message.h"

namespace veltra {
namespace {

constexpr std::uint16_t informationTableVersion = 0x0100;
constexpr std::uint8_t informationHeaderBytes = 12;
constexpr std::uint8_t tokenBytes = 6;

// The date has no token of its own; it sits at the same place in every image.
constexpr std::uint32_t dateTextInImage = 0x38;
// The version string starts with "Version " before the version itself.
constexpr std::uint32_t versionPrefixLength = 8;

enum class Problem { Missing, Version, Layout, OutsideFile, TooSmall };

// Reports what is wrong with one table, named as a user knows it.
bool refuse(std::string_view table, Problem problem)
{
    std::string name(table);
    std::string capitalised = name;
    capitalised[0] = static_cast<char>(capitalised[0] - 'a' + 'A');
    switch (problem) {
    case Problem::Missing:
        reportMessage("Cannot find the " + name + "!");
        break;
    case Problem::Version:
        reportMessage("Unknown " + name + " version!");
        break;
    case Problem::Layout:
        reportMessage("Unknown " + name + " layout!");
        break;
    case Problem::OutsideFile:
        reportMessage(capitalised + " does not fit in the file!");
        break;
    case Problem::TooSmall:
        reportMessage(capitalised + " is too small!");
        break;
    }
    return false;
}

constexpr std::string_view informationTable = "bios information table";

// A token of the information table and the data it points to.
struct TokenRef {
    std::string_view name;
    char id;
    std::uint8_t version;
    std::uint16_t minimumSize;  // the data must reach the last field read from it
};
constexpr TokenRef stringToken{"string table", 'S', 2, 0x11};
constexpr TokenRef pointerToken{"pointer table", 'P', 2, 0x3C};

// A header byte that fixes where entries and fields lie, and the one or two
// values it holds on these boards' builds. A table of any other shape would
// be read at offsets that nothing in the file vouches for.
struct ShapeByte {
    std::uint8_t at = 0;  // 0: none
    std::uint8_t seen = 0, alsoSeen = 0;
};

// One of the six tables the pointer token leads to.
struct TableRef {
    std::string_view name;
    std::uint32_t pointerAt;   // in the pointer token's data
    std::uint8_t version;
    std::uint8_t headerBytes;  // the header must reach the last byte read from it
    std::array<ShapeByte, 4> shape;
};

// Performance table: header, entry, sub-entry sizes and the sub-entry count.
constexpr TableRef memoryClockTable{
    "memory clock table", 0x00, 0x40, 6, {{{1, 29, 30}, {2, 21, 21}, {3, 4, 4}, {4, 9, 9}}}};
// Thermal control table: header and entry sizes.
constexpr TableRef fanTable{"fan table", 0x10, 0x24, 4, {{{1, 4, 4}, {3, 14, 14}}}};
// Voltage map table: header and entry sizes.
constexpr TableRef voltageTable{"voltage table", 0x20, 0x20, 4, {{{1, 12, 12}, {2, 34, 38}}}};
// Power policy table: header and entry sizes.
constexpr TableRef powerTable{"power table", 0x2C, 0x20, 4, {{{1, 13, 13}, {2, 22, 22}}}};
// Voltage-frequency table: header and entry sizes, the entry count (the extra
// entries start after the entries) and the extra entry size.
constexpr TableRef boostTable{"boost table", 0x34, 0x10, 6, {{{1, 6, 6}, {2, 4, 4}, {3, 4, 4}, {4, 5, 5}}}};
// Virtual P-state table: header, base entry and domain entry sizes, and the
// domain count.
constexpr TableRef clockTable{"clock table", 0x38, 0x10, 18, {{{1, 18, 20}, {2, 5, 5}, {3, 2, 2}, {4, 1, 1}}}};

// A table whose header has been checked to lie in the file.
struct Header {
    const FileBytes& file;
    std::uint64_t start;
    std::uint32_t operator[](unsigned at) const { return *file.u8(start + at); }
};

// The walk from the information table to the fields, over one image.
class Walk {
public:
    Walk(const FileBytes& file, const LegacyImage& image, std::uint64_t table)
        : m_file(file), m_image(image), m_table(table)
    {
    }

    bool openInformationTable()
    {
        if (!m_file.holds(m_table, informationHeaderBytes))
            return refuse(informationTable, Problem::OutsideFile);
        if (*m_file.u16(m_table + 6) != informationTableVersion)
            return refuse(informationTable, Problem::Version);
        m_headerSize = header(8);
        m_tokenSize = header(9);
        m_tokenCount = header(10);
        if (m_headerSize != informationHeaderBytes || m_tokenSize != tokenBytes)
            return refuse(informationTable, Problem::Layout);
        if (!m_file.holds(m_table, m_headerSize + std::uint64_t{m_tokenCount} * m_tokenSize))
            return refuse(informationTable, Problem::OutsideFile);
        return true;
    }

    // The file offset of a token's data, checked to lie in the file.
    std::optional<std::uint64_t> tokenData(const TokenRef& ref) const
    {
        for (std::uint32_t i = 0; i < m_tokenCount; ++i) {
            const std::uint64_t token = m_table + m_headerSize + std::uint64_t{i} * m_tokenSize;
            if (*m_file.u8(token) != static_cast<std::uint8_t>(ref.id))
                continue;
            const std::uint16_t size = *m_file.u16(token + 2);
            const std::uint64_t data = m_image.offset + std::uint64_t{*m_file.u16(token + 4)};
            if (*m_file.u8(token + 1) != ref.version)
                return fail(ref.name, Problem::Version);
            if (size < ref.minimumSize)
                return fail(ref.name, Problem::TooSmall);
            if (!m_file.holds(data, size))
                return fail(ref.name, Problem::OutsideFile);
            return data;
        }
        return fail(ref.name, Problem::Missing);
    }

    // Opens the table that the pointer data at `pointers` names for `ref`.
    std::optional<Header> open(std::uint64_t pointers, const TableRef& ref) const
    {
        const std::uint32_t pointer = *m_file.u32(pointers + ref.pointerAt);
        if (pointer == 0)
            return fail(ref.name, Problem::Missing);
        // Data placed after the UEFI image is addressed as if that image
        // were not there.
        const std::uint64_t start =
            m_image.offset + std::uint64_t{pointer} + (pointer >= m_image.pciLength ? m_image.uefiLength : 0);
        if (!m_file.holds(start, ref.headerBytes))
            return fail(ref.name, Problem::OutsideFile);
        const Header table{m_file, start};
        if (table[0] != ref.version)
            return fail(ref.name, Problem::Version);
        for (const ShapeByte& byte : ref.shape)
            if (byte.at != 0 && table[byte.at] != byte.seen && table[byte.at] != byte.alsoSeen)
                return fail(ref.name, Problem::Layout);
        return table;
    }

    // Whether the table's `length` bytes lie in the file; if so, records
    // where the table lies.
    bool holds(const TableRef& ref, const Header& table, std::uint64_t length, TableExtent& extent) const
    {
        if (!m_file.holds(table.start, length))
            return refuse(ref.name, Problem::OutsideFile);
        extent = {static_cast<std::uint32_t>(table.start), static_cast<std::uint32_t>(length)};
        return true;
    }

    const FileBytes& file() const { return m_file; }
    const LegacyImage& image() const { return m_image; }

private:
    std::uint32_t header(unsigned at) const { return *m_file.u8(m_table + at); }
    static std::nullopt_t fail(std::string_view name, Problem problem)
    {
        refuse(name, problem);
        return std::nullopt;
    }

    const FileBytes& m_file;
    const LegacyImage& m_image;
    std::uint64_t m_table;
    std::uint32_t m_headerSize = 0;
    std::uint32_t m_tokenSize = 0;
    std::uint32_t m_tokenCount = 0;
};

std::uint32_t offset(std::uint64_t at)
{
    return static_cast<std::uint32_t>(at);  // checked to lie in the file, which is at most 200 KiB
}

bool locateTexts(const Walk& walk, BiosInfo& info)
{
    const std::optional<std::uint64_t> strings = walk.tokenData(stringToken);
    if (!strings)
        return false;
    const std::uint64_t image = walk.image().offset;
    const std::uint64_t version = image + *walk.file().u16(*strings + 0x03) + versionPrefixLength;
    const std::uint64_t board = image + *walk.file().u16(*strings + 0x0F);
    if (!walk.file().holds(version, versionTextLength) || !walk.file().holds(board, boardTextLength))
        return refuse(stringToken.name, Problem::OutsideFile);
    info.versionText.offset = offset(version);
    info.boardText.offset = offset(board);
    info.dateText.offset = offset(image + dateTextInImage);
    return true;
}

// Virtual P-state table: entries of a base part and domain parts; each clock
// is the word right after the base part, the boost clock in entry 0, the
// default clock in the entry the header names.
bool locateClocks(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, clockTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], baseSize = (*t)[2], domainSize = (*t)[3], domains = (*t)[4],
                        count = (*t)[5], defaultEntry = (*t)[17];
    const std::uint64_t stride = baseSize + domainSize * domains;
    if (defaultEntry >= count)
        return refuse(clockTable.name, Problem::TooSmall);
    if (!walk.holds(clockTable, *t, header + count * stride, info.layout.clockTable))
        return false;
    const std::uint64_t entries = t->start + header;
    info.boostClock.offset = offset(entries + baseSize);
    info.gpuClock.offset = offset(entries + defaultEntry * stride + baseSize);
    return true;
}

// Performance table: the memory clock is the word in sub-entry 3 of the
// entry of P-state 0x0D; the entry of P-state 0x0F holds a second copy at
// the same place. Either alone is the one copy. Each word carries the flag
// 0x4000: a word without it is not a memory clock, and the table was misread.
bool locateMemoryClock(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, memoryClockTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], subSize = (*t)[3], subCount = (*t)[4],
                        count = (*t)[5];
    constexpr std::uint32_t clockSubEntry = 3;
    constexpr std::uint8_t clockState = 0x0D, secondCopyState = 0x0F;
    constexpr std::uint16_t clockFlag = 0x4000;
    const std::uint64_t stride = entrySize + std::uint64_t{subCount} * subSize;
    if (!walk.holds(memoryClockTable, *t, header + count * stride, info.layout.memoryClockTable))
        return false;
    const auto entry = [&](std::uint32_t i) { return t->start + header + i * stride; };
    std::optional<std::uint64_t> clock, secondCopy;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t state = *walk.file().u8(entry(i));
        const std::uint64_t word = entry(i) + entrySize + clockSubEntry * subSize;
        if (state == clockState && !clock)
            clock = word;
        else if (state == secondCopyState && !secondCopy)
            secondCopy = word;
    }
    if (!clock && !secondCopy)
        return refuse(memoryClockTable.name, Problem::TooSmall);
    for (const std::optional<std::uint64_t>& word : {clock, secondCopy})
        if (word && !(*walk.file().u16(*word) & clockFlag))
            return refuse(memoryClockTable.name, Problem::Layout);
    info.memClock.offset = offset(clock ? *clock : *secondCopy);
    info.memClock.secondOffset = clock && secondCopy ? offset(*secondCopy) : 0;
    return true;
}

// Voltage-frequency table: the 45 boost clocks are the words of extra
// entries 2 to 46; the extra entries follow the ordinary ones.
bool locateBoostTable(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, boostTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], count = (*t)[3], extraSize = (*t)[4],
                        extraCount = (*t)[5];
    constexpr std::uint32_t firstBoostEntry = 2;
    if (extraCount < firstBoostEntry + boostEntryCount)
        return refuse(boostTable.name, Problem::TooSmall);
    const std::uint64_t extras = header + std::uint64_t{count} * entrySize;
    if (!walk.holds(boostTable, *t, extras + std::uint64_t{extraCount} * extraSize, info.layout.boostTable))
        return false;
    const std::uint64_t first = t->start + extras + firstBoostEntry * extraSize;
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        info.boostTable[k].offset = offset(first + k * extraSize);
    return true;
}

// Power policy table: entry 7 holds the limits, entry 8 the default and the
// maximum, each pair as dwords at +6 and +10.
bool locatePower(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, powerTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], count = (*t)[3];
    constexpr std::uint32_t limitsEntry = 7, defaultEntry = 8;
    if (count <= defaultEntry)
        return refuse(powerTable.name, Problem::TooSmall);
    if (!walk.holds(powerTable, *t, header + std::uint64_t{count} * entrySize, info.layout.powerTable))
        return false;
    const auto entry = [&](std::uint32_t i) { return t->start + header + std::uint64_t{i} * entrySize; };
    info.powerLimitLo.offset = offset(entry(limitsEntry) + 6);
    info.powerLimitHi.offset = offset(entry(limitsEntry) + 10);
    info.powerDefault.offset = offset(entry(defaultEntry) + 6);
    info.powerMax.offset = offset(entry(defaultEntry) + 10);
    return true;
}

// Thermal control table: the fan's minimum and maximum percent are the first
// two bytes of entry 2.
bool locateFan(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, fanTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[3];
    constexpr std::uint32_t fanEntry = 2;
    if (!walk.holds(fanTable, *t, header + std::uint64_t{fanEntry + 1} * entrySize, info.layout.fanTable))
        return false;
    const std::uint64_t at = t->start + header + std::uint64_t{fanEntry} * entrySize;
    info.fanMin.offset = offset(at);
    info.fanMax.offset = offset(at + 1);
    return true;
}

// Voltage map table: entries 0 and 1 each hold the maximum voltage three
// times, in microvolts at +2 and +6 and in tenths of that at +10.
bool locateVoltage(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, voltageTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], count = (*t)[3];
    if (count < 2)
        return refuse(voltageTable.name, Problem::TooSmall);
    if (!walk.holds(voltageTable, *t, header + std::uint64_t{count} * entrySize, info.layout.voltageTable))
        return false;
    const std::uint64_t first = t->start + header;
    const std::uint64_t second = first + entrySize;
    // Slots 0-3 hold millivolts x 1000, slots 4-5 millivolts x 10000.
    const std::uint64_t slots[voltageSlotCount] = {first + 2, first + 6, second + 2, second + 6, first + 10, second + 10};
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        info.voltage[slot].offset = offset(slots[slot]);
    return true;
}

// Tables that point into each other would have a save write one field over
// another, or over the checksum byte: no two may share a byte.
bool fieldsApart(const BiosInfo& info)
{
    using Span = std::pair<std::uint32_t, std::uint32_t>;  // offset, width
    std::array<Span, 11 + boostEntryCount + voltageSlotCount> spans{};
    std::size_t count = 0;
    for (const Span& span : {Span{info.fanMin.offset, 1}, Span{info.fanMax.offset, 1}, Span{info.gpuClock.offset, 2},
                            Span{info.boostClock.offset, 2}, Span{info.memClock.offset, 2},
                            Span{info.powerDefault.offset, 4}, Span{info.powerMax.offset, 4},
                            Span{info.powerLimitLo.offset, 4}, Span{info.powerLimitHi.offset, 4},
                            Span{info.checksumWriteOffset, 1}})
        spans[count++] = span;
    // The second copy of the memory clock may be the first itself.
    if (info.memClock.secondOffset != info.memClock.offset)
        spans[count++] = {info.memClock.secondOffset, 2};
    for (const auto& entry : info.boostTable)
        spans[count++] = {entry.offset, 2};
    for (const auto& slot : info.voltage)
        spans[count++] = {slot.offset, 4};
    std::sort(spans.begin(), spans.begin() + count);
    for (std::size_t i = 1; i < count; ++i)
        if (spans[i - 1].first + spans[i - 1].second > spans[i].first)
            return false;
    return true;
}

}  // namespace

std::optional<std::uint32_t> findInformationTable(const FileBytes& file, const LegacyImage& image)
{
    return file.find(informationTableSignature, image.offset, image.offset + image.length);
}

bool locateFromImageTables(const FileBytes& file, const LegacyImage& image, std::uint32_t table, BiosInfo& info)
{
    Walk walk(file, image, table);
    if (!walk.openInformationTable())
        return false;
    BiosInfo located = info;
    if (!locateTexts(walk, located))
        return false;
    const std::optional<std::uint64_t> pointers = walk.tokenData(pointerToken);
    if (!pointers)
        return false;
    for (const auto step : {locateClocks, locateMemoryClock, locateBoostTable, locatePower, locateFan, locateVoltage})
        if (!step(walk, *pointers, located))
            return false;

    located.checksumReadOffset = image.offset + image.length - 1;
    located.checksumWriteOffset = located.checksumReadOffset;
    located.layout.source = LayoutSource::ImageTables;
    located.layout.imageOffset = image.offset;
    located.layout.checksumStartOffset = image.offset;
    if (!fieldsApart(located)) {
        reportMessage("Bios tables overlap!");
        return false;
    }
    info = located;
    return true;
}

}  // namespace veltra
