#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace veltra {

struct BiosInfo;

// The three boards with built-in locations, the GTX 660, and every other
// board of the GK104, GK106, GK107, GK110 and GK208 generation, which opens
// only through its image's own tables.
enum class BoardModel { Gtx660Ti, Gtx670, Gtx680, Gtx660, Other };

constexpr std::uint16_t nvidiaVendorId = 0x10DE;
constexpr std::size_t boostEntryCount = 45;       // the boost ladder of the built-in locations
constexpr std::size_t maxBoostEntryCount = 64;    // the longest ladder an image's table may give
constexpr std::uint32_t boostEntryStride = 5;  // only the first word of each 5 bytes is the clock
constexpr std::size_t voltageSlotCount = 6;

// Where each editable field of one board lies: absolute file offsets.
struct LocationTable {
    std::uint32_t fanMin, fanMax;
    std::uint32_t gpuClock, boostClock;
    std::uint32_t memClock, memClockSecond;
    std::uint32_t powerDefault, powerMax, powerLimitLo, powerLimitHi;
    std::uint32_t boostTableFirst;  // entry k at boostTableFirst + 5 * k
    // Slots 0-3 hold millivolts x 1000, slots 4-5 millivolts x 10000.
    std::array<std::uint32_t, voltageSlotCount> voltage;
    std::uint32_t checksumWriteOffset, checksumReadOffset;
};

struct BoardEntry {
    BoardModel model;
    std::uint16_t vendorId;
    std::uint16_t deviceId;
    const char* displayName;
    const LocationTable* locations;  // null: its images open only through their own tables
};

// The four boards the program has always named, in the order their device
// ids are tested.
extern const std::array<BoardEntry, 4> boardTable;

// Every other device id of the generation, by increasing id: the name the
// PCI id database gives it, or its chip and id.
std::span<const BoardEntry> keplerBoards();

// The board with these ids, or null.
const BoardEntry* findBoard(std::uint16_t vendorId, std::uint16_t deviceId);

// Whether the save rules and the voltage's agreement test of the three
// boards with built-in locations apply to `info`: true for those boards and
// for ids of no known board, false for every other board of the generation.
bool hasBuiltInRules(const BiosInfo& info);

// Sets every location of the board named by info's ids. False, with a message
// and no location changed, for an unknown board or one without locations.
bool selectBoardModel(BiosInfo& info);

}  // namespace veltra
