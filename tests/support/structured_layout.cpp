#include "tests/support/structured_layout.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace veltra::testing {
namespace structured {
namespace {

constexpr std::uint8_t statesWithMemClock[] = {0x0D, 0x0E, 0x0F};
constexpr std::uint8_t memClockCopyState = 0x0F;

bool names(std::uint8_t index, std::uint32_t count)
{
    return index != noEntry && index < count;
}

std::optional<std::uint32_t> entryOfState(const TableContents& c, std::uint8_t state)
{
    const auto found = std::find(c.performanceStates.begin(), c.performanceStates.end(), state);
    if (found == c.performanceStates.end())
        return std::nullopt;
    return static_cast<std::uint32_t>(found - c.performanceStates.begin());
}

std::uint32_t vpsClock(const TableShapes& s, std::uint32_t entry)
{
    return s.virtualPStateHeader + entry * vpsStride + vpsBase;
}
std::uint32_t perfMemClock(const TableShapes& s, std::uint32_t entry)
{
    return s.performanceHeader + entry * perfStride(s) + s.performanceEntrySize + perfMemSub * perfSub;
}
std::uint32_t powerAt(const TableShapes& s, std::uint32_t entry, std::uint32_t field)
{
    return s.powerHeader + entry * s.powerEntrySize + field;
}
// Slots 0-3 microvolts (first entry +2, +6, second entry +2, +6), slots 4-5
// ten times that (first entry +10, second entry +10).
std::uint32_t voltageSlot(const TableShapes& s, const TableContents& c, std::size_t slot)
{
    constexpr std::array<bool, 6> second = {false, false, true, true, false, true};
    constexpr std::array<std::uint32_t, 6> place = {2, 6, 2, 6, 10, 10};
    const std::uint8_t entry = second[slot] ? c.voltageSecondEntry : c.voltageFirstEntry;
    return s.voltageMapHeader + entry * std::uint32_t{s.voltageMapEntrySize} + place[slot];
}

struct Extent {
    const char* name;
    std::uint32_t start, size;
};

constexpr std::size_t powerPolicyExtent = 3;

std::array<Extent, 8> extentsOf(const TableStarts& t, const TableStarts& lengths)
{
    return {{
        {"performance", t.performance, lengths.performance},
        {"thermal", t.thermal, lengths.thermal},
        {"voltage map", t.voltageMap, lengths.voltageMap},
        {"power policy", t.powerPolicy, lengths.powerPolicy},
        {"voltage-frequency", t.voltageFrequency, lengths.voltageFrequency},
        {"virtual P-state", t.virtualPState, lengths.virtualPState},
        {"clock range", t.clockRange, lengths.clockRange},
        {"fan cooler", t.cooler, lengths.cooler},
    }};
}

}  // namespace

std::uint32_t vfEntrySize(const TableShapes& s)
{
    return s.voltageFrequencyHeader == 7 ? 8 : 4;
}

std::uint32_t perfStride(const TableShapes& s)
{
    return s.performanceEntrySize + perfSub * perfSubs;
}

std::uint32_t vfExtraAt(const TableShapes& s, const TableContents& c, std::uint32_t i)
{
    const auto entries = static_cast<std::uint32_t>(c.voltageFrequencyEntries.size());
    return s.voltageFrequencyHeader + entries * vfEntrySize(s) + i * vfExtra;
}

const VfRange* p0Range(const TableContents& c)
{
    for (const VfRange& range : c.voltageFrequencyEntries)
        if (range.pState == pState0)
            return &range;
    return nullptr;
}

std::optional<std::uint32_t> memClockEntry(const TableContents& c)
{
    for (const std::uint8_t state : statesWithMemClock)
        if (const auto entry = entryOfState(c, state))
            return entry;
    return std::nullopt;
}

std::optional<std::uint32_t> memClockCopyEntry(const TableContents& c)
{
    const auto copy = entryOfState(c, memClockCopyState);
    return copy == memClockEntry(c) ? std::nullopt : copy;
}

std::uint32_t pDataAt(const TableShapes& s)
{
    return s.pTokenSize <= sData - pData ? pData : longPData;
}

std::uint32_t tablesFrom(const TableShapes& s)
{
    return pDataAt(s) == pData ? headerAreaEnd : (longPData + s.pTokenSize + 15) / 16 * 16;
}

TableStarts tableLengths(const TableShapes& s, const TableContents& c, bool clockRange, bool cooler)
{
    return {
        .performance = s.performanceHeader + perfEntries * perfStride(s),
        .thermal = thermalHeader + thermalEntries * thermalEntrySize,
        .voltageMap = s.voltageMapHeader + std::uint32_t{s.voltageMapEntries} * s.voltageMapEntrySize,
        .powerPolicy = s.powerHeader + std::uint32_t{s.powerEntries} * s.powerEntrySize,
        .voltageFrequency = vfExtraAt(s, c, s.voltageFrequencyExtras),
        .virtualPState = s.virtualPStateHeader + std::uint32_t{s.virtualPStateEntries} * vpsStride,
        .clockRange = clockRange ? rangeHeader + rangeEntries * rangeStride : 0,
        .cooler = cooler ? coolerHeader + coolerEntries * coolerEntry : 0,
    };
}

StructuredFields placeFields(const TableStarts& t, const TableShapes& s, const TableContents& c)
{
    StructuredFields f{};
    BoardOffsets& at = f.at;
    if (names(c.baseClockEntry, s.virtualPStateEntries))
        at.gpuClock = t.virtualPState + vpsClock(s, c.baseClockEntry);
    if (names(c.boostClockEntry, s.virtualPStateEntries) && c.boostClockEntry != c.baseClockEntry)
        at.boostClock = t.virtualPState + vpsClock(s, c.boostClockEntry);
    if (const auto entry = memClockEntry(c))
        at.memClock = t.performance + perfMemClock(s, *entry);
    if (const auto copy = memClockCopyEntry(c))
        at.memClockSecond = t.performance + perfMemClock(s, *copy);
    if (const VfRange* range = p0Range(c))
        for (std::uint32_t k = range->lowest + 1u; k <= range->highest; ++k)
            f.ladder.push_back(t.voltageFrequency + vfExtraAt(s, c, k));
    at.boostTableFirst = f.ladder.empty() ? 0 : f.ladder.front();
    for (std::size_t k = 0; k < f.boostTable.size(); ++k)
        f.boostTable[k] = k < f.ladder.size() ? f.ladder[k] : 0;
    if (s.powerVersion == 0x20 && names(c.powerLimitsEntry, s.powerEntries)) {
        at.powerLimitLo = t.powerPolicy + powerAt(s, c.powerLimitsEntry, 6);
        at.powerLimitHi = t.powerPolicy + powerAt(s, c.powerLimitsEntry, 10);
    }
    if (s.powerVersion == 0x20 && names(c.powerDefaultsEntry, s.powerEntries)) {
        at.powerDefault = t.powerPolicy + powerAt(s, c.powerDefaultsEntry, 6);
        at.powerMax = t.powerPolicy + powerAt(s, c.powerDefaultsEntry, 10);
    }
    if (c.fanEntry) {
        at.fanMin = t.thermal + thermalHeader + *c.fanEntry * thermalEntrySize + 1;
        at.fanMax = at.fanMin + 1;
    }
    for (std::size_t slot = 0; slot < at.voltage.size(); ++slot) {
        const std::uint8_t entry = slot == 2 || slot == 3 || slot == 5 ? c.voltageSecondEntry : c.voltageFirstEntry;
        at.voltage[slot] = names(entry, s.voltageMapEntries) ? t.voltageMap + voltageSlot(s, c, slot) : 0;
    }
    if (t.clockRange != 0)
        f.boostLimit = t.clockRange + rangeHeader + (rangeEntries - 1) * rangeStride + 4;
    if (t.cooler != 0) {
        f.coolerFanMin = t.cooler + coolerHeader + 2;
        f.coolerFanMax = t.cooler + coolerHeader + 3;
    }
    return f;
}

void checkShapes(const TableShapes& s, const TableContents& c)
{
    const VfRange* range = p0Range(c);
    const bool fits = s.pTokenSize >= pVirtualPState + 4 && s.performanceHeader >= 6 &&
                      s.virtualPStateHeader >= vpsBaseClockIndexAt + 1 && s.voltageMapHeader > vmapFirstIndexAt &&
                      s.voltageMapEntrySize >= vmapFurtherCoefficients + 4 && s.voltageMapEntries >= 2 &&
                      s.performanceEntrySize >= 1 && (s.voltageFrequencyHeader == 6 || s.voltageFrequencyHeader == 7) &&
                      s.powerHeader > powerDefaultsIndexAt && s.powerEntrySize >= 14 &&
                      !c.voltageFrequencyEntries.empty() && (!range || range->highest < s.voltageFrequencyExtras) &&
                      (!c.fanEntry || *c.fanEntry < thermalEntries) && memClockEntry(c).has_value();
    if (!fits)
        throw std::logic_error("table shapes this builder cannot fill");
}

void checkLayout(const TableStarts& t, const TableStarts& lengths, std::uint32_t from, std::uint32_t legacyLength,
                 bool powerAfterUefi)
{
    const std::array<Extent, 8> extents = extentsOf(t, lengths);
    for (std::size_t i = 0; i < extents.size(); ++i) {
        const Extent& e = extents[i];
        if ((powerAfterUefi && i == powerPolicyExtent) || e.size == 0)
            continue;
        if (e.start < from || e.start + e.size > legacyLength - 1)
            throw std::logic_error(std::string("the ") + e.name + " table does not fit in the legacy image");
    }
    for (std::size_t i = 0; i < extents.size(); ++i)
        for (std::size_t j = i + 1; j < extents.size(); ++j) {
            const Extent &a = extents[i], &b = extents[j];
            if (a.size != 0 && b.size != 0 && a.start < b.start + b.size && b.start < a.start + a.size)
                throw std::logic_error(std::string("the ") + a.name + " and " + b.name + " tables overlap");
        }
}

TableStarts packedStarts(const TableStarts& lengths, std::uint32_t from)
{
    constexpr std::uint32_t gap = 0x20;
    std::uint32_t next = from + gap;
    const auto place = [&](std::uint32_t length) {
        if (length == 0)
            return std::uint32_t{0};
        const std::uint32_t start = next;
        next = (start + length + gap + 15) / 16 * 16;
        return start;
    };
    TableStarts starts{};
    starts.virtualPState = place(lengths.virtualPState);
    starts.performance = place(lengths.performance);
    starts.voltageFrequency = place(lengths.voltageFrequency);
    starts.clockRange = place(lengths.clockRange);
    starts.powerPolicy = place(lengths.powerPolicy);
    starts.thermal = place(lengths.thermal);
    starts.cooler = place(lengths.cooler);
    starts.voltageMap = place(lengths.voltageMap);
    return starts;
}

std::uint32_t legacyLengthOf(BoardModel board)
{
    return board == BoardModel::Gtx670 ? 0xF200 : 0xFC00;
}

BoardModel layoutBoardOf(BoardModel board)
{
    return board == BoardModel::Gtx660 ? BoardModel::Gtx660Ti : board;
}

}  // namespace structured

using namespace structured;

TableShapes shapesOf(BoardModel board)
{
    TableShapes shapes;
    if (board == BoardModel::Gtx680) {
        shapes.pTokenSize = 68;
        shapes.virtualPStateHeader = 18;
        shapes.voltageMapEntrySize = 38;
        shapes.voltageMapEntries = 67;
    }
    return shapes;
}

TableStarts builtInStarts(BoardModel board, const TableShapes& shapes)
{
    const BoardOffsets& builtIn = locationsOf(board);
    const TableContents contents;
    // One field anchors each table; the check below pins the rest.
    const StructuredFields atZero = placeFields(TableStarts{}, shapes, contents);
    const auto startFor = [](std::uint32_t offset, std::uint32_t place) {
        if (offset < builtInForm + place)
            throw std::logic_error("a built-in offset lies before its table could start");
        return offset - builtInForm - place;
    };
    const TableStarts starts{
        .performance = startFor(builtIn.memClock, atZero.at.memClock),
        .thermal = startFor(builtIn.fanMin, atZero.at.fanMin),
        .voltageMap = startFor(builtIn.voltage[0], atZero.at.voltage[0]),
        .powerPolicy = startFor(builtIn.powerLimitLo, atZero.at.powerLimitLo),
        .voltageFrequency = startFor(builtIn.boostTableFirst, atZero.at.boostTableFirst),
        .virtualPState = startFor(builtIn.gpuClock, atZero.at.gpuClock),
    };

    TableStarts inForm = starts;
    for (std::uint32_t* start : {&inForm.performance, &inForm.thermal, &inForm.voltageMap, &inForm.powerPolicy,
                                 &inForm.voltageFrequency, &inForm.virtualPState})
        *start += builtInForm;
    const BoardOffsets placed = placeFields(inForm, shapes, contents).at;
    constexpr std::uint32_t BoardOffsets::*fields[] = {
        &BoardOffsets::fanMin,       &BoardOffsets::fanMax,         &BoardOffsets::gpuClock,
        &BoardOffsets::boostClock,   &BoardOffsets::memClock,       &BoardOffsets::memClockSecond,
        &BoardOffsets::powerDefault, &BoardOffsets::powerMax,       &BoardOffsets::powerLimitLo,
        &BoardOffsets::powerLimitHi, &BoardOffsets::boostTableFirst,
    };
    for (auto field : fields)
        if (placed.*field != builtIn.*field)
            throw std::logic_error("these shapes cannot put every field on its built-in offset");
    if (placed.voltage != builtIn.voltage)
        throw std::logic_error("these shapes cannot put every voltage slot on its built-in offset");
    checkLayout(starts, tableLengths(shapes, contents, false, false), tablesFrom(shapes), legacyLengthOf(board), false);
    return starts;
}

StructuredSpec stock680Spec()
{
    StructuredSpec spec;
    ImageSpec& v = spec.values;
    v.board = BoardModel::Gtx680;
    // The reference board: 1006.0 / 1058.5 / 1502.0 MHz, 170/225/225/250 W,
    // fan 30-85 %, 1150 mV, a boost ladder from 627.5 MHz up.
    v.gpuClockWord = 2012;
    v.boostClockWord = 2117;
    v.memClockWord = 19388;
    for (std::size_t k = 0; k < v.boostTableWords.size(); ++k)
        v.boostTableWords[k] = static_cast<std::uint16_t>(1255 + 26 * k);
    v.powerDefaultMilliwatts = 170000;
    v.powerMaxMilliwatts = 225000;
    v.powerLimitLoMilliwatts = 225000;
    v.powerLimitHiMilliwatts = 250000;
    v.fanMin = 30;
    v.fanMax = 85;
    v.voltageDwords = ImageSpec::voltageDwordsFor(1150);
    v.versionText = "80.04.06.00.02";
    v.dateText = "03/01/12";
    spec.imageOffset = 0x400;

    const TableShapes shapes{.pTokenSize = 68, .performanceHeader = 29, .virtualPStateHeader = 18,
                             .voltageMapEntrySize = 38, .voltageMapEntries = 67};
    spec.shapes = shapes;
    // Its clock, boost and voltage tables sit 23 bytes lower than the built-in
    // offsets expect, its power and thermal tables 137.
    TableStarts starts = builtInStarts(BoardModel::Gtx680, shapes);
    for (std::uint32_t* start :
         {&starts.performance, &starts.voltageMap, &starts.voltageFrequency, &starts.virtualPState})
        *start -= 23;
    for (std::uint32_t* start : {&starts.powerPolicy, &starts.thermal})
        *start -= 137;
    spec.starts = starts;
    return spec;
}

}  // namespace veltra::testing
