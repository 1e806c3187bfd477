#pragma once

#include <array>
#include <cstdint>

namespace veltra {

struct BiosInfo;

enum class BoardModel { Gtx660Ti, Gtx670, Gtx680, Gtx660 };

constexpr std::uint16_t nvidiaVendorId = 0x10DE;
constexpr std::size_t boostEntryCount = 45;
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
    const LocationTable* locations;  // null: recognised but not editable
};

// The four recognised boards, in the order their device ids are tested.
extern const std::array<BoardEntry, 4> boardTable;

// The board with these ids, or null.
const BoardEntry* findBoard(std::uint16_t vendorId, std::uint16_t deviceId);

// Sets every location of the board named by info's ids. False, with a message
// and no location changed, for an unknown board or one without locations.
bool selectBoardModel(BiosInfo& info);

}  // namespace veltra
