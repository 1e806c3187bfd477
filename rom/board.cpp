#include "board.h"

#include "bios_info.h"
#include "message.h"

#include <algorithm>
#include <string>

namespace veltra {
namespace {

constexpr LocationTable gtx660TiLocations{
    .fanMin = 33104, .fanMax = 33105,
    .gpuClock = 28880, .boostClock = 28873,
    .memClock = 28358, .memClockSecond = 28415,
    .powerDefault = 33004, .powerMax = 33008, .powerLimitLo = 32982, .powerLimitHi = 32986,
    .boostTableFirst = 28593,
    .voltage = {30156, 30160, 30190, 30194, 30164, 30198},
    .checksumWriteOffset = 65535, .checksumReadOffset = 65535,
};

// The 670 keeps its fan bytes far below the others' and its checksum byte at
// 0xF5FF.
constexpr LocationTable gtx670Locations{
    .fanMin = 21651, .fanMax = 21652,
    .gpuClock = 28752, .boostClock = 28745,
    .memClock = 28230, .memClockSecond = 28287,
    .powerDefault = 32874, .powerMax = 32878, .powerLimitLo = 32852, .powerLimitHi = 32856,
    .boostTableFirst = 28465,
    .voltage = {30026, 30030, 30060, 30064, 30034, 30068},
    .checksumWriteOffset = 62975, .checksumReadOffset = 62975,
};

constexpr LocationTable gtx680Locations{
    .fanMin = 33034, .fanMax = 33035,
    .gpuClock = 28591, .boostClock = 28584,
    .memClock = 28071, .memClockSecond = 28128,
    .powerDefault = 32934, .powerMax = 32938, .powerLimitLo = 32912, .powerLimitHi = 32916,
    .boostTableFirst = 28306,
    .voltage = {29852, 29856, 29890, 29894, 29860, 29898},
    .checksumWriteOffset = 65535, .checksumReadOffset = 65535,
};

// Sorted by device id, which the search relies on.
constexpr BoardEntry generatedBoards[] = {
#include "kepler_boards.inc"
};
static_assert(std::is_sorted(std::begin(generatedBoards), std::end(generatedBoards),
                             [](const BoardEntry& a, const BoardEntry& b) { return a.deviceId < b.deviceId; }));

}  // namespace

const std::array<BoardEntry, 4> boardTable{{
    {BoardModel::Gtx660Ti, nvidiaVendorId, 0x1183, "Geforce GTX 660Ti", &gtx660TiLocations},
    {BoardModel::Gtx670, nvidiaVendorId, 0x1189, "Geforce GTX 670", &gtx670Locations},
    {BoardModel::Gtx680, nvidiaVendorId, 0x1180, "Geforce GTX 680", &gtx680Locations},
    {BoardModel::Gtx660, nvidiaVendorId, 0x11C0, "Geforce GTX 660", nullptr},
}};

std::span<const BoardEntry> keplerBoards()
{
    return generatedBoards;
}

const BoardEntry* findBoard(std::uint16_t vendorId, std::uint16_t deviceId)
{
    for (const BoardEntry& board : boardTable)
        if (board.vendorId == vendorId && board.deviceId == deviceId)
            return &board;
    const auto* found = std::lower_bound(std::begin(generatedBoards), std::end(generatedBoards), deviceId,
                                         [](const BoardEntry& board, std::uint16_t id) { return board.deviceId < id; });
    if (found != std::end(generatedBoards) && found->deviceId == deviceId && found->vendorId == vendorId)
        return found;
    return nullptr;
}

bool hasBuiltInRules(const BiosInfo& info)
{
    const BoardEntry* board = findBoard(info.vendorId, info.deviceId);
    return board == nullptr || board->locations != nullptr;
}

bool selectBoardModel(BiosInfo& info)
{
    const BoardEntry* board = findBoard(info.vendorId, info.deviceId);
    if (board == nullptr) {
        reportMessage("Unknow model!");
        return false;
    }
    // Recognised, but nothing is known of where its fields lie.
    if (board->locations == nullptr) {
        reportMessage(std::string(board->displayName) + " is not supported!");
        return false;
    }
    const LocationTable& at = *board->locations;
    info.fanMin.offset = at.fanMin;
    info.fanMax.offset = at.fanMax;
    info.gpuClock.offset = at.gpuClock;
    info.boostClock.offset = at.boostClock;
    info.memClock.offset = at.memClock;
    info.memClock.secondOffset = at.memClockSecond;
    info.powerDefault.offset = at.powerDefault;
    info.powerMax.offset = at.powerMax;
    info.powerLimitLo.offset = at.powerLimitLo;
    info.powerLimitHi.offset = at.powerLimitHi;
    info.boostTable.resize(boostEntryCount);
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        info.boostTable[k].offset = at.boostTableFirst + boostEntryStride * static_cast<std::uint32_t>(k);
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        info.voltage[slot].offset = at.voltage[slot];
    info.checksumWriteOffset = at.checksumWriteOffset;
    info.checksumReadOffset = at.checksumReadOffset;
    return true;
}

}  // namespace veltra
