#include "bit_tables.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "board.h"
#include "message.h"
#include "table_walk.h"

namespace veltra {
namespace {

using namespace tables;

// The date has no token of its own; it sits at the same place in every image.
constexpr std::uint32_t dateTextInImage = 0x38;
// The version string starts with "Version " before the version itself.
constexpr std::uint32_t versionPrefixLength = 8;

constexpr TokenRef stringToken{"string table", 'S', 2, 0x11};
constexpr TokenRef pointerToken{"pointer table", 'P', 2, 0x3C};

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
