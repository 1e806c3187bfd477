#include "bit_tables.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "board.h"
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

// An index byte that names no entry.
constexpr std::uint32_t noEntry = 0xFF;
// P-states are named in bits 5-8 of an entry's first word; 15 is P0, the
// state the card runs its boost clocks in.
constexpr std::uint32_t topPState = 15;
std::uint32_t pStateOf(std::uint16_t word)
{
    return (word >> 5) & 0xF;
}

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
// Its data holds at +3 the pointer to the memory type table.
constexpr TokenRef memoryTypeToken{"memory type table", 'M', 2, 5};

// A header byte that fixes where entries and fields lie, and the values it
// holds on the builds of this generation. A table of any other shape would
// be read at offsets that nothing in the file vouches for.
struct ShapeByte {
    std::uint8_t at = 0;  // 0: none
    std::array<std::uint8_t, 6> values{};
    std::size_t count = 0;

    bool accepts(std::uint8_t value) const
    {
        return std::find(values.begin(), values.begin() + count, value) != values.begin() + count;
    }
};

template <typename... Values>
constexpr ShapeByte shape(std::uint8_t at, Values... values)
{
    return {at, {static_cast<std::uint8_t>(values)...}, sizeof...(values)};
}

// A header size (+1) and entry size (+2) that belong together. Where a
// table comes in more than one size, each alone could be bent into the
// other's and still be accepted; the pair of them cannot.
struct SizePair {
    std::uint8_t header = 0, entry = 0;  // 0: none
};

// One of the tables the pointer token leads to.
struct TableRef {
    std::string_view name;
    std::uint32_t pointerAt;  // in the pointer token's data
    std::array<std::uint8_t, 2> versions;  // a second version of 0: none
    std::uint8_t headerBytes;  // the header must reach the last byte read from it
    std::array<ShapeByte, 5> shape;
    std::array<SizePair, 4> sizes{};  // none: the shape bytes alone decide

    bool acceptsSizes(std::uint8_t header, std::uint8_t entry) const
    {
        if (sizes[0].header == 0)
            return true;
        for (const SizePair& pair : sizes)
            if (pair.header != 0 && pair.header == header && pair.entry == entry)
                return true;
        return false;
    }
};

// Performance table: header, entry, sub-entry sizes, the sub-entry count
// and the entry count (4 on every build: more would be scanned in bytes
// past the table for the memory clock's P-state).
constexpr TableRef memoryClockTable{"memory clock table", 0x00, {0x40, 0}, 6,
                                    {shape(1, 29, 30), shape(2, 21, 25, 26), shape(3, 4), shape(4, 9), shape(5, 4)}};
// Thermal control table: header and entry sizes, and the entry count.
constexpr TableRef fanTable{"fan table", 0x10, {0x24, 0}, 4, {shape(1, 4), shape(2, 3), shape(3, 14)}};
// Voltage map table: header and entry sizes; the header names the two
// entries of the maximum voltage at +7 and +8.
constexpr TableRef voltageTable{
    "voltage table", 0x20, {0x20, 0}, 9, {shape(1, 12, 13), shape(2, 34, 38)}, {{{12, 34}, {12, 38}, {13, 34}}}};
// Power policy table: header and entry sizes. Version 0x10 (GK107) has no
// entries at all.
constexpr TableRef powerTable{"power table", 0x2C, {0x20, 0x10}, 4, {shape(1, 13, 31, 29), shape(2, 22, 34, 35, 24)},
                              {{{13, 22}, {13, 34}, {31, 35}, {29, 24}}}};
constexpr std::uint8_t powerTableWithoutEntries = 0x10;
// Voltage-frequency table: header and entry sizes, the entry count and the
// extra entry size; the extra entries follow the entries.
constexpr TableRef boostTable{"boost table", 0x34, {0x10, 0}, 6,
                              {shape(1, 6, 7), shape(2, 4, 8), shape(3, 2, 3, 4), shape(4, 5)}, {{{6, 4}, {7, 8}}}};
// Virtual P-state table: header, base entry and domain entry sizes, and the
// domain count. Its header names the boost entry at +16, the base clock's at
// +17.
constexpr TableRef clockTable{
    "clock table", 0x38, {0x10, 0}, 18, {shape(1, 18, 19, 20, 21, 22, 23), shape(2, 5), shape(3, 2), shape(4, 0, 1)}};

// The tables of the read-only values: a table that is not there, or not as
// these builds make it, only leaves its value out.
constexpr std::uint32_t clockRangePointerAt = 0x30;
constexpr std::uint8_t clockRangeVersion = 0x11;
// Its header, entry and sub-entry sizes, and sub-entry counts, on every build.
constexpr std::uint8_t clockRangeHeader = 6, clockRangeEntry = 6, clockRangeSub = 6;
constexpr ShapeByte clockRangeSubCount = shape(4, 3, 10);
constexpr std::uint32_t coolerPointerAt = 0x58;
constexpr std::uint8_t coolerVersion = 0x10;
constexpr std::uint8_t coolerHeader = 4, coolerEntry = 22;
constexpr std::uint8_t memoryTypeVersion = 0x10;
constexpr std::uint8_t memoryTypeHeader = 7, memoryTypeEntry = 7;

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

    // Whether the information table has a token of this id.
    bool hasToken(const TokenRef& ref) const { return findToken(ref).has_value(); }

    // Where a token's data lies, checked to lie in the file.
    struct TokenData {
        std::uint64_t offset;
        std::uint16_t size;
    };
    std::optional<TokenData> tokenData(const TokenRef& ref) const
    {
        const std::optional<std::uint64_t> token = findToken(ref);
        if (!token)
            return fail(ref.name, Problem::Missing);
        const std::uint16_t size = *m_file.u16(*token + 2);
        const std::uint64_t data = m_image.offset + std::uint64_t{*m_file.u16(*token + 4)};
        if (*m_file.u8(*token + 1) != ref.version)
            return fail(ref.name, Problem::Version);
        if (size < ref.minimumSize)
            return fail(ref.name, Problem::TooSmall);
        if (!m_file.holds(data, size))
            return fail(ref.name, Problem::OutsideFile);
        return TokenData{data, size};
    }

    // The file offset a table pointer of the pointer token leads to.
    std::uint64_t pointerTarget(std::uint32_t pointer) const
    {
        // Data placed after the UEFI image is addressed as if that image
        // were not there.
        return m_image.offset + std::uint64_t{pointer} + (pointer >= m_image.pciLength ? m_image.uefiLength : 0);
    }

    // Opens the table that the pointer data at `pointers` names for `ref`.
    std::optional<Header> open(std::uint64_t pointers, const TableRef& ref) const
    {
        const std::uint32_t pointer = *m_file.u32(pointers + ref.pointerAt);
        if (pointer == 0)
            return fail(ref.name, Problem::Missing);
        const std::uint64_t start = pointerTarget(pointer);
        if (!m_file.holds(start, ref.headerBytes))
            return fail(ref.name, Problem::OutsideFile);
        const Header table{m_file, start};
        if (std::find(ref.versions.begin(), ref.versions.end(), table[0]) == ref.versions.end() || table[0] == 0)
            return fail(ref.name, Problem::Version);
        for (const ShapeByte& byte : ref.shape)
            if (byte.at != 0 && !byte.accepts(static_cast<std::uint8_t>(table[byte.at])))
                return fail(ref.name, Problem::Layout);
        if (!ref.acceptsSizes(static_cast<std::uint8_t>(table[1]), static_cast<std::uint8_t>(table[2])))
            return fail(ref.name, Problem::Layout);
        return table;
    }

    // Whether the table's `length` bytes lie in the file; if so, records
    // where the table lies.
    bool holds(std::string_view name, const Header& table, std::uint64_t length, TableExtent& extent) const
    {
        if (!m_file.holds(table.start, length))
            return refuse(name, Problem::OutsideFile);
        extent = {static_cast<std::uint32_t>(table.start), static_cast<std::uint32_t>(length)};
        return true;
    }

    const FileBytes& file() const { return m_file; }
    const LegacyImage& image() const { return m_image; }

private:
    std::uint32_t header(unsigned at) const { return *m_file.u8(m_table + at); }
    std::optional<std::uint64_t> findToken(const TokenRef& ref) const
    {
        for (std::uint32_t i = 0; i < m_tokenCount; ++i) {
            const std::uint64_t token = m_table + m_headerSize + std::uint64_t{i} * m_tokenSize;
            if (*m_file.u8(token) == static_cast<std::uint8_t>(ref.id))
                return token;
        }
        return std::nullopt;
    }
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
    return static_cast<std::uint32_t>(at);  // checked to lie in the file, which is at most 1 MiB
}

// Sets where a field lies and which table entry holds it.
template <typename T>
void place(FieldLoc<T>& field, std::uint64_t at, std::string_view table, std::uint32_t entry)
{
    field.offset = offset(at);
    field.present = true;
    field.origin = {table.data(), entry};
}

template <typename T>
void leaveOut(FieldLoc<T>& field)
{
    field = absentField<T>();
}

bool locateTexts(const Walk& walk, BiosInfo& info)
{
    const auto strings = walk.tokenData(stringToken);
    if (!strings)
        return false;
    const std::uint64_t image = walk.image().offset;
    const std::uint64_t version = image + *walk.file().u16(strings->offset + 0x03) + versionPrefixLength;
    const std::uint64_t board = image + *walk.file().u16(strings->offset + 0x0F);
    if (!walk.file().holds(version, versionTextLength) || !walk.file().holds(board, boardTextLength))
        return refuse(stringToken.name, Problem::OutsideFile);
    info.versionText.offset = offset(version);
    info.boardText.offset = offset(board);
    info.dateText.offset = offset(image + dateTextInImage);
    return true;
}

// Virtual P-state table: entries of a base part and domain parts; a clock
// is the word of domain 0, right after the base part. The header names the
// entry of the base clock (+17) and of the boost clock (+16); a board whose
// two indexes name one entry runs one clock. Both are P0 clocks, and an
// entry opens with its P-state (15 for P0, 0xFF unused). An index that names
// no entry, or no P0 entry, or a table without entries or clock domain,
// leaves its clock out.
bool locateClocks(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, clockTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], baseSize = (*t)[2], domainSize = (*t)[3], domains = (*t)[4],
                        count = (*t)[5], boostEntry = (*t)[16], defaultEntry = (*t)[17];
    const std::uint64_t stride = baseSize + domainSize * domains;
    if (!walk.holds(clockTable.name, *t, header + count * stride, info.layout.clockTable))
        return false;
    const auto entryAt = [&](std::uint32_t entry) { return t->start + header + entry * stride; };
    const auto names = [&](std::uint32_t entry) {
        return domains > 0 && entry != noEntry && entry < count && *walk.file().u8(entryAt(entry)) == topPState;
    };
    const auto clockOf = [&](std::uint32_t entry) { return entryAt(entry) + baseSize; };
    leaveOut(info.gpuClock);
    leaveOut(info.boostClock);
    if (names(defaultEntry))
        place(info.gpuClock, clockOf(defaultEntry), clockTable.name, defaultEntry);
    if (names(boostEntry) && boostEntry != defaultEntry)
        place(info.boostClock, clockOf(boostEntry), clockTable.name, boostEntry);
    return true;
}

// Memory type table, reached through the 'M' token: one entry per memory
// strap, its type in the low four bits of its first byte. The straps of one
// image agree; the strap the card uses is not in the image, so straps that
// disagree say nothing. None when the image does not say.
enum class MemoryType { Unknown, Gddr5, Other };
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

// Performance table: each entry opens with its P-state id; the memory clock
// is the word in sub-entry 3. The board's own memory clock is in the entry
// of P-state 0x0D, else 0x0E, else P0 (0x0F); the P0 entry holds a copy.
// Bits 14-15 of the word are flags. The three boards' builds all set 0x4000:
// a word of theirs without it is not a memory clock, and the table was
// misread.
bool locateMemoryClock(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, memoryClockTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], subSize = (*t)[3], subCount = (*t)[4],
                        count = (*t)[5];
    constexpr std::uint32_t clockSubEntry = 3;
    constexpr std::uint8_t statesInOrder[] = {0x0D, 0x0E, 0x0F};
    constexpr std::uint8_t copyState = 0x0F;
    constexpr std::uint16_t clockFlag = 0x4000;
    const std::uint64_t stride = entrySize + std::uint64_t{subCount} * subSize;
    if (!walk.holds(memoryClockTable.name, *t, header + count * stride, info.layout.memoryClockTable))
        return false;
    const auto entry = [&](std::uint32_t i) { return t->start + header + i * stride; };
    const auto entryOf = [&](std::uint8_t state) -> std::optional<std::uint32_t> {
        for (std::uint32_t i = 0; i < count; ++i)
            if (*walk.file().u8(entry(i)) == state)
                return i;
        return std::nullopt;
    };
    std::optional<std::uint32_t> clock;
    for (const std::uint8_t state : statesInOrder)
        if (!clock)
            clock = entryOf(state);
    if (!clock)
        return refuse(memoryClockTable.name, Problem::TooSmall);
    std::optional<std::uint32_t> copy = entryOf(copyState);
    if (copy == clock)
        copy.reset();
    const auto wordOf = [&](std::uint32_t i) { return entry(i) + entrySize + clockSubEntry * subSize; };
    if (hasBuiltInRules(info))
        for (const std::optional<std::uint32_t>& i : {clock, copy})
            if (i && !(*walk.file().u16(wordOf(*i)) & clockFlag))
                return refuse(memoryClockTable.name, Problem::Layout);

    const std::optional<MemoryType> type = memoryType(walk);
    if (!type)
        return false;
    if (*type == MemoryType::Unknown) {
        // Without the memory type the word's unit is unknown.
        leaveOut(static_cast<FieldLoc<float>&>(info.memClock));
        info.memClock.secondOffset = 0;
        info.memClock.secondOrigin = {};
        return true;
    }
    place(info.memClock, wordOf(*clock), memoryClockTable.name, *clock);
    info.memClock.coding = *type == MemoryType::Gddr5 ? MemClockCoding::HalfMhz : MemClockCoding::Mhz;
    info.memClock.secondOffset = copy ? offset(wordOf(*copy)) : 0;
    info.memClock.secondOrigin = copy ? FieldOrigin{memoryClockTable.name.data(), *copy} : FieldOrigin{};
    return true;
}

// Voltage-frequency table: each entry names a P-state and, at +2 and +3, the
// lowest and highest extra entry of its range; the extra entries follow the
// entries, a clock word at +0 of each. The boost ladder is P0's range
// without its lowest entry, the floor it shares with the lower P-states. No
// P0 entry: no ladder.
bool locateBoostTable(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, boostTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], count = (*t)[3], extraSize = (*t)[4],
                        extraCount = (*t)[5];
    const std::uint64_t extras = header + std::uint64_t{count} * entrySize;
    if (!walk.holds(boostTable.name, *t, extras + std::uint64_t{extraCount} * extraSize, info.layout.boostTable))
        return false;
    info.boostTable.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t entry = t->start + header + std::uint64_t{i} * entrySize;
        if (pStateOf(*walk.file().u16(entry)) != topPState)
            continue;
        const std::uint32_t lowest = *walk.file().u8(entry + 2), highest = *walk.file().u8(entry + 3);
        if (highest < lowest || highest - lowest > maxBoostEntryCount)
            return refuse(boostTable.name, Problem::Layout);
        if (highest >= extraCount)
            return refuse(boostTable.name, Problem::TooSmall);
        for (std::uint32_t k = lowest + 1; k <= highest; ++k) {
            FieldLoc<float>& step = info.boostTable.emplace_back();
            place(step, t->start + extras + std::uint64_t{k} * extraSize, boostTable.name, k);
        }
        // P0 is the last state named; the entries after it are unused (no
        // P-state, an empty range). An entry count too large reads the first
        // extra entries as entries, and the ladder from where they were.
        for (std::uint32_t after = i + 1; after < count; ++after) {
            const std::uint64_t unused = t->start + header + std::uint64_t{after} * entrySize;
            if (pStateOf(*walk.file().u16(unused)) != 0 || *walk.file().u16(unused + 2) != 0)
                return refuse(boostTable.name, Problem::Layout);
        }
        break;
    }
    return true;
}

// Power policy table: the header names the entry of the limits (+9) and of
// the default and maximum (+10), each pair as milliwatt dwords at +6 and
// +10. An index of 0xFF, or a version 0x10 table, has no such entry.
bool locatePower(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, powerTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], count = (*t)[3];
    if (!walk.holds(powerTable.name, *t, header + std::uint64_t{count} * entrySize, info.layout.powerTable))
        return false;
    for (FieldLoc<std::uint32_t>* power : {&info.powerLimitLo, &info.powerLimitHi, &info.powerDefault, &info.powerMax})
        leaveOut(*power);
    if ((*t)[0] == powerTableWithoutEntries)
        return true;
    constexpr std::uint32_t limitsIndexAt = 9, defaultsIndexAt = 10;
    const auto pair = [&](std::uint32_t indexAt, FieldLoc<std::uint32_t>& low, FieldLoc<std::uint32_t>& high) {
        const std::uint32_t entry = indexAt < header ? (*t)[indexAt] : noEntry;
        if (entry == noEntry)
            return true;
        if (entry >= count)
            return refuse(powerTable.name, Problem::TooSmall);
        const std::uint64_t at = t->start + header + std::uint64_t{entry} * entrySize;
        place(low, at + 6, powerTable.name, entry);
        place(high, at + 10, powerTable.name, entry);
        return true;
    };
    return pair(limitsIndexAt, info.powerLimitLo, info.powerLimitHi) &&
           pair(defaultsIndexAt, info.powerDefault, info.powerMax);
}

// Thermal control table: the fan's minimum and maximum percent are bytes +1
// and +2 of the entry whose id is 0x22.
bool locateFan(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, fanTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], count = (*t)[3];
    constexpr std::uint8_t fanEntryId = 0x22;
    if (!walk.holds(fanTable.name, *t, header + std::uint64_t{count} * entrySize, info.layout.fanTable))
        return false;
    leaveOut(info.fanMin);
    leaveOut(info.fanMax);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = t->start + header + std::uint64_t{i} * entrySize;
        if (*walk.file().u8(at) == fanEntryId) {
            place(info.fanMin, at + 1, fanTable.name, i);
            place(info.fanMax, at + 2, fanTable.name, i);
            break;
        }
    }
    return true;
}

// Voltage map table: the header names two entries (+8 and +7) that each
// hold the maximum voltage three times, in microvolts at +2 and +6 and in
// tenths of that at +10. That holds only for an entry of mode 0 whose
// further coefficients are zero; any other entry is a formula of the chip's
// quality and temperature, not a voltage. The three boards' builds always
// have both entries, and a disagreement there is refused when decoded; on
// other boards a voltage the map does not hold is left out.
bool locateVoltage(const Walk& walk, std::uint64_t pointers, BiosInfo& info)
{
    const std::optional<Header> t = walk.open(pointers, voltageTable);
    if (!t)
        return false;
    const std::uint32_t header = (*t)[1], entrySize = (*t)[2], count = (*t)[3], first = (*t)[8], second = (*t)[7];
    if (!walk.holds(voltageTable.name, *t, header + std::uint64_t{count} * entrySize, info.layout.voltageTable))
        return false;
    const bool builtInRules = hasBuiltInRules(info);
    const auto entry = [&](std::uint32_t i) { return t->start + header + std::uint64_t{i} * entrySize; };
    // No chip of the generation runs above 2 V: a larger fixed voltage is an
    // entry read at a place the header does not vouch for (a header size of
    // 12 taken for 13 still gives six slots that agree, 256 times too large).
    constexpr std::uint32_t highestMicrovolts = 2000000;
    const auto fixed = [&](std::uint32_t i) {
        if (*walk.file().u8(entry(i)) != 0 || *walk.file().u32(entry(i) + 2) > highestMicrovolts)
            return false;
        for (std::uint32_t at = 14; at + 4 <= entrySize; at += 4)
            if (*walk.file().u32(entry(i) + at) != 0)
                return false;
        return true;
    };
    for (auto& slot : info.voltage)
        leaveOut(slot);
    if (first == noEntry || first >= count || second == noEntry || second >= count) {
        if (builtInRules)
            return refuse(voltageTable.name, Problem::TooSmall);
        return true;
    }
    if (!builtInRules && !(fixed(first) && fixed(second)))
        return true;
    // Slots 0-3 hold millivolts x 1000, slots 4-5 millivolts x 10000.
    constexpr std::uint32_t slotAt[voltageSlotCount] = {2, 6, 2, 6, 10, 10};
    const std::uint32_t slotEntry[voltageSlotCount] = {first, first, second, second, first, second};
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        place(info.voltage[slot], entry(slotEntry[slot]) + slotAt[slot], voltageTable.name, slotEntry[slot]);
    return true;
}

// The clock-range table's P0 maximum: the card runs no boost entry above it.
void locateBoostLimit(const Walk& walk, std::uint64_t pointers, std::uint16_t pointerSize, BiosInfo& info)
{
    leaveOut(info.boostLimit);
    info.layout.clockRangeTable = {};
    if (pointerSize < clockRangePointerAt + 4)
        return;
    const std::uint32_t pointer = *walk.file().u32(pointers + clockRangePointerAt);
    const std::uint64_t start = walk.pointerTarget(pointer);
    if (pointer == 0 || !walk.file().holds(start, 6))
        return;
    const Header t{walk.file(), start};
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
    if (pointerSize < coolerPointerAt + 4)
        return;
    const std::uint32_t pointer = *walk.file().u32(pointers + coolerPointerAt);
    const std::uint64_t start = walk.pointerTarget(pointer);
    if (pointer == 0 || !walk.file().holds(start, 4))
        return;
    const Header t{walk.file(), start};
    const std::uint32_t header = t[1], entrySize = t[2], count = t[3];
    const std::uint64_t length = header + std::uint64_t{count} * entrySize;
    if (t[0] != coolerVersion || header != coolerHeader || entrySize != coolerEntry || count < 1 ||
        !walk.file().holds(start, length))
        return;
    place(info.coolerFanMin, start + header + 2, "fan cooler table", 0);
    place(info.coolerFanMax, start + header + 3, "fan cooler table", 0);
    info.layout.coolerTable = {offset(start), offset(length)};
}

// Tables that point into each other would have a save write one field over
// another, or over the checksum byte: no two fields that a save writes may
// share a byte. A field written to more than one place (the voltage's slots,
// where the map's two indexes name one entry) may repeat itself.
bool fieldsApart(const BiosInfo& info)
{
    struct Span {
        std::uint32_t offset, width;
        int field;
        bool operator<(const Span& other) const { return offset < other.offset; }
    };
    std::vector<Span> spans;
    int field = 0;
    const auto add = [&](const auto& loc, std::uint32_t width) {
        if (loc.present)
            spans.push_back({loc.offset, width, field});
        ++field;
    };
    add(info.fanMin, 1);
    add(info.fanMax, 1);
    add(info.gpuClock, 2);
    add(info.boostClock, 2);
    add(info.memClock, 2);
    // The second copy of the memory clock may be the first itself.
    if (info.memClock.present && info.memClock.secondOffset != 0)
        spans.push_back({info.memClock.secondOffset, 2, field - 1});
    for (const auto* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
        add(*power, 4);
    for (const auto& entry : info.boostTable)
        add(entry, 2);
    for (const auto& slot : info.voltage) {
        if (slot.present)
            spans.push_back({slot.offset, 4, field});
    }
    ++field;
    spans.push_back({info.checksumWriteOffset, 1, field});
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        const Span &before = spans[i - 1], &next = spans[i];
        const bool repeats = before.field == next.field && before.offset == next.offset && before.width == next.width;
        if (!repeats && before.offset + before.width > next.offset)
            return false;
    }
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
    const auto pointers = walk.tokenData(pointerToken);
    if (!pointers)
        return false;
    for (const auto step : {locateClocks, locateMemoryClock, locateBoostTable, locatePower, locateFan, locateVoltage})
        if (!step(walk, pointers->offset, located))
            return false;
    locateBoostLimit(walk, pointers->offset, pointers->size, located);
    locateCoolerFan(walk, pointers->offset, pointers->size, located);

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
