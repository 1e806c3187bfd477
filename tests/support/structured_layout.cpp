#include "tests/support/structured_layout.h"

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace veltra::testing {
namespace structured {
namespace {

std::uint32_t vpsGpuClock(const TableShapes& s)
{
    return s.virtualPStateHeader + vpsBaseClockIndex * vpsStride + vpsBase;
}
std::uint32_t vpsBoostClock(const TableShapes& s) { return s.virtualPStateHeader + vpsBase; }
std::uint32_t perfMemClock(const TableShapes& s, std::uint32_t entry)
{
    return s.performanceHeader + entry * perfStride + perfEntry + perfMemSub * perfSub;
}
std::uint32_t powerAt(std::uint32_t entry, std::uint32_t field) { return powerHeader + entry * powerEntry + field; }
constexpr std::uint32_t fanAt = thermalHeader + thermalFanEntry * thermalEntry;
// Slots 0-3 microvolts (entry 0 +2, +6, entry 1 +2, +6), slots 4-5 ten times that (entry 0 +10, entry 1 +10).
std::uint32_t voltageSlot(const TableShapes& s, std::size_t slot)
{
    constexpr std::array<std::uint32_t, 6> entry = {0, 0, 1, 1, 0, 1}, place = {2, 6, 2, 6, 10, 10};
    return vmapHeader + entry[slot] * s.voltageMapEntrySize + place[slot];
}

struct Extent {
    const char* name;
    std::uint32_t start, size;
};

constexpr std::size_t powerPolicyExtent = 3;

std::array<Extent, 6> extentsOf(const TableStarts& t, const TableShapes& s)
{
    return {{
        {"performance", t.performance, s.performanceHeader + perfEntries * perfStride},
        {"thermal", t.thermal, thermalHeader + thermalEntries * thermalEntry},
        {"voltage map", t.voltageMap, vmapHeader + std::uint32_t{s.voltageMapEntries} * s.voltageMapEntrySize},
        {"power policy", t.powerPolicy, powerHeader + powerEntries * powerEntry},
        {"voltage-frequency", t.voltageFrequency, vfExtraAt(vfExtras)},
        {"virtual P-state", t.virtualPState, s.virtualPStateHeader + vpsEntries * vpsStride},
    }};
}

}  // namespace

TableStarts tableLengths(const TableShapes& s)
{
    const std::array<Extent, 6> e = extentsOf(TableStarts{}, s);
    return {e[0].size, e[1].size, e[2].size, e[3].size, e[4].size, e[5].size};
}

BoardOffsets placeFields(const TableStarts& t, const TableShapes& s)
{
    BoardOffsets at{};
    at.gpuClock = t.virtualPState + vpsGpuClock(s);
    at.boostClock = t.virtualPState + vpsBoostClock(s);
    at.memClock = t.performance + perfMemClock(s, 2);
    at.memClockSecond = t.performance + perfMemClock(s, 3);
    at.boostTableFirst = t.voltageFrequency + vfExtraAt(vfBoostFirst);
    at.powerLimitLo = t.powerPolicy + powerAt(powerLimits, 6);
    at.powerLimitHi = t.powerPolicy + powerAt(powerLimits, 10);
    at.powerDefault = t.powerPolicy + powerAt(powerDefaults, 6);
    at.powerMax = t.powerPolicy + powerAt(powerDefaults, 10);
    at.fanMin = t.thermal + fanAt;
    at.fanMax = t.thermal + fanAt + 1;
    for (std::size_t slot = 0; slot < at.voltage.size(); ++slot)
        at.voltage[slot] = t.voltageMap + voltageSlot(s, slot);
    return at;
}

void checkShapes(const TableShapes& s)
{
    if (s.pTokenSize < pVirtualPState + 4 || s.pTokenSize > sData - pData || s.performanceHeader < 6 ||
        s.virtualPStateHeader < vpsBaseClockIndexAt + 1 || s.voltageMapEntrySize < 14 || s.voltageMapEntries < 2)
        throw std::logic_error("table shapes this builder cannot fill");
}

void checkLayout(const TableStarts& t, const TableShapes& s, std::uint32_t legacyLength, bool powerAfterUefi)
{
    const std::array<Extent, 6> extents = extentsOf(t, s);
    for (std::size_t i = 0; i < extents.size(); ++i) {
        const Extent& e = extents[i];
        if (powerAfterUefi && i == powerPolicyExtent)
            continue;
        if (e.start < headerAreaEnd || e.start + e.size > legacyLength - 1)
            throw std::logic_error(std::string("the ") + e.name + " table does not fit in the legacy image");
    }
    for (std::size_t i = 0; i < extents.size(); ++i)
        for (std::size_t j = i + 1; j < extents.size(); ++j) {
            const Extent &a = extents[i], &b = extents[j];
            if (a.start < b.start + b.size && b.start < a.start + a.size)
                throw std::logic_error(std::string("the ") + a.name + " and " + b.name + " tables overlap");
        }
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
    // One field anchors each table; the check below pins the rest.
    const auto startFor = [](std::uint32_t offset, std::uint32_t place) {
        if (offset < builtInForm + place)
            throw std::logic_error("a built-in offset lies before its table could start");
        return offset - builtInForm - place;
    };
    const TableStarts starts{
        .performance = startFor(builtIn.memClock, perfMemClock(shapes, 2)),
        .thermal = startFor(builtIn.fanMin, fanAt),
        .voltageMap = startFor(builtIn.voltage[0], voltageSlot(shapes, 0)),
        .powerPolicy = startFor(builtIn.powerLimitLo, powerAt(powerLimits, 6)),
        .voltageFrequency = startFor(builtIn.boostTableFirst, vfExtraAt(vfBoostFirst)),
        .virtualPState = startFor(builtIn.gpuClock, vpsGpuClock(shapes)),
    };

    TableStarts inForm = starts;
    for (std::uint32_t* start : {&inForm.performance, &inForm.thermal, &inForm.voltageMap, &inForm.powerPolicy,
                                 &inForm.voltageFrequency, &inForm.virtualPState})
        *start += builtInForm;
    const BoardOffsets placed = placeFields(inForm, shapes);
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
    checkLayout(starts, shapes, legacyLengthOf(board), false);
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
