#include "tests/support/image_builder.h"

#include <algorithm>
#include <stdexcept>

namespace veltra::testing {
namespace {

// The built-in offsets, as the boards' BIOS files in the 0x400-header form
// hold them. Typed here, not taken from rom/, so the two can disagree.
constexpr BoardOffsets gtx660TiOffsets{
    .fanMin = 33104, .fanMax = 33105,
    .gpuClock = 28880, .boostClock = 28873,
    .memClock = 28358, .memClockSecond = 28415,
    .powerDefault = 33004, .powerMax = 33008, .powerLimitLo = 32982, .powerLimitHi = 32986,
    .boostTableFirst = 28593,
    .voltage = {30156, 30160, 30190, 30194, 30164, 30198},
    .checksumWriteOffset = 65535, .checksumReadOffset = 65535,
};

constexpr BoardOffsets gtx670Offsets{
    .fanMin = 21651, .fanMax = 21652,
    .gpuClock = 28752, .boostClock = 28745,
    .memClock = 28230, .memClockSecond = 28287,
    .powerDefault = 32874, .powerMax = 32878, .powerLimitLo = 32852, .powerLimitHi = 32856,
    .boostTableFirst = 28465,
    .voltage = {30026, 30030, 30060, 30064, 30034, 30068},
    .checksumWriteOffset = 62975, .checksumReadOffset = 62975,
};

constexpr BoardOffsets gtx680Offsets{
    .fanMin = 33034, .fanMax = 33035,
    .gpuClock = 28591, .boostClock = 28584,
    .memClock = 28071, .memClockSecond = 28128,
    .powerDefault = 32934, .powerMax = 32938, .powerLimitLo = 32912, .powerLimitHi = 32916,
    .boostTableFirst = 28306,
    .voltage = {29852, 29856, 29890, 29894, 29860, 29898},
    .checksumWriteOffset = 65535, .checksumReadOffset = 65535,
};

struct BoardIds {
    BoardModel board;
    std::uint16_t deviceId;
    const BoardOffsets* offsets;  // null: recognised, nothing editable
};

constexpr std::array<BoardIds, 4> boards{{
    {BoardModel::Gtx660Ti, 0x1183, &gtx660TiOffsets},
    {BoardModel::Gtx670, 0x1189, &gtx670Offsets},
    {BoardModel::Gtx680, 0x1180, &gtx680Offsets},
    {BoardModel::Gtx660, 0x11C0, nullptr},
}};

constexpr std::uint16_t vendorNvidia = 0x10DE;
constexpr std::uint32_t boostStride = 5;
// The text and id fields every board shares, and where the checksum sum starts.
constexpr std::uint32_t dateAt = 1080, dateLength = 8;
constexpr std::uint32_t versionAt = 1247, versionLength = 14;
constexpr std::uint32_t boardAt = 1314, boardLength = 22;
constexpr std::uint32_t vendorAt = 1428, deviceAt = 1430;
constexpr std::uint32_t checksumFirst = 1024;

const BoardIds& idsOf(BoardModel board)
{
    for (const BoardIds& ids : boards)
        if (ids.board == board)
            return ids;
    throw std::logic_error("unknown board");
}

void putText(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint32_t length, const std::string& text)
{
    for (std::uint32_t i = 0; i < length; ++i)
        bytes[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

}  // namespace

std::array<std::uint16_t, boostEntryCount> ImageSpec::defaultBoostWords()
{
    // 1006.0 MHz upwards in steps of 13.5 MHz, so half and whole MHz alternate.
    std::array<std::uint16_t, boostEntryCount> words{};
    for (std::size_t k = 0; k < words.size(); ++k)
        words[k] = static_cast<std::uint16_t>(2012 + 27 * k);
    return words;
}

std::array<std::uint32_t, voltageSlotCount> ImageSpec::voltageDwordsFor(std::uint32_t millivolts)
{
    return {millivolts * 1000, millivolts * 1000, millivolts * 1000, millivolts * 1000, millivolts * 10000,
            millivolts * 10000};
}

const BoardOffsets& locationsOf(BoardModel board)
{
    const BoardIds& ids = idsOf(board);
    if (ids.offsets == nullptr)
        throw std::logic_error("board without locations");
    return *ids.offsets;
}

std::uint16_t deviceIdOf(BoardModel board)
{
    return idsOf(board).deviceId;
}

void putU16(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint16_t value)
{
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void putU32(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint32_t value)
{
    for (std::uint32_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint16_t getU16(const std::vector<std::uint8_t>& bytes, std::uint32_t offset)
{
    return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

std::uint32_t getU32(const std::vector<std::uint8_t>& bytes, std::uint32_t offset)
{
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes.at(offset + i)) << (8 * i);
    return value;
}

void fixChecksum(std::vector<std::uint8_t>& bytes, BoardModel board)
{
    const std::uint32_t at = locationsOf(board).checksumReadOffset;
    if (at >= bytes.size())
        return;
    std::uint8_t sum = 0;
    for (std::uint32_t i = checksumFirst; i < at; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    bytes[at] = static_cast<std::uint8_t>(0x100 - sum);
}

bool checksumValid(const std::vector<std::uint8_t>& bytes, BoardModel board)
{
    const std::uint32_t at = locationsOf(board).checksumReadOffset;
    std::uint8_t sum = 0;
    for (std::uint32_t i = checksumFirst; i <= at && i < bytes.size(); ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return sum == 0;
}

std::vector<std::uint8_t> buildImage(const ImageSpec& spec)
{
    // Filled as far as the file goes, and at least over every built-in
    // offset: a filler of the whole capacity would cost every test 1 MiB.
    constexpr std::size_t fieldsEnd = 0x10000;
    std::vector<std::uint8_t> bytes(std::max<std::size_t>(std::min<std::size_t>(spec.length, RomImage::capacity), fieldsEnd));
    // A fixed pseudo-random filler, so that checksums are not trivially zero.
    std::uint32_t state = 0x2545F491u + static_cast<std::uint32_t>(spec.board);
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }

    putText(bytes, versionAt, versionLength, spec.versionText);
    putText(bytes, boardAt, boardLength, spec.boardText);
    putText(bytes, dateAt, dateLength, spec.dateText);
    putU16(bytes, vendorAt, spec.vendorId.value_or(vendorNvidia));
    putU16(bytes, deviceAt, spec.deviceId.value_or(deviceIdOf(spec.board)));

    const BoardOffsets* offsets = idsOf(spec.board).offsets;
    if (offsets != nullptr) {
        const BoardOffsets& at = *offsets;
        putU16(bytes, at.gpuClock, spec.gpuClockWord);
        putU16(bytes, at.boostClock, spec.boostClockWord);
        putU16(bytes, at.memClock, spec.memClockWord);
        putU16(bytes, at.memClockSecond, spec.memClockSecondWord.value_or(spec.memClockWord));
        for (std::size_t k = 0; k < spec.boostTableWords.size(); ++k)
            putU16(bytes, at.boostTableFirst + boostStride * static_cast<std::uint32_t>(k), spec.boostTableWords[k]);
        putU32(bytes, at.powerDefault, spec.powerDefaultMilliwatts);
        putU32(bytes, at.powerMax, spec.powerMaxMilliwatts);
        putU32(bytes, at.powerLimitLo, spec.powerLimitLoMilliwatts);
        putU32(bytes, at.powerLimitHi, spec.powerLimitHiMilliwatts);
        bytes[at.fanMin] = spec.fanMin;
        bytes[at.fanMax] = spec.fanMax;
        for (std::size_t slot = 0; slot < at.voltage.size(); ++slot)
            putU32(bytes, at.voltage[slot], spec.voltageDwords[slot]);
    }

    bytes.resize(std::min<std::size_t>(spec.length, bytes.size()));
    bytes.resize(spec.length, 0);  // longer than the capacity: zero tail
    if (offsets != nullptr) {
        fixChecksum(bytes, spec.board);
        const std::uint32_t at = offsets->checksumReadOffset;
        if (!spec.correctChecksum && at < bytes.size())
            bytes[at] = static_cast<std::uint8_t>(bytes[at] + 1);
    }
    return bytes;
}

}  // namespace veltra::testing
