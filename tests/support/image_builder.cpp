#include "tests/support/image_builder.h"

#include <algorithm>
#include <stdexcept>

namespace veltra::testing {
namespace {

const BoardEntry& entryOf(BoardModel board)
{
    for (const BoardEntry& entry : boardTable)
        if (entry.model == board)
            return entry;
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

const LocationTable& locationsOf(BoardModel board)
{
    const BoardEntry& entry = entryOf(board);
    if (entry.locations == nullptr)
        throw std::logic_error("board without locations");
    return *entry.locations;
}

std::uint16_t deviceIdOf(BoardModel board)
{
    return entryOf(board).deviceId;
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
    for (std::uint32_t i = checksumRangeStart; i < at; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    bytes[at] = static_cast<std::uint8_t>(0x100 - sum);
}

bool checksumValid(const std::vector<std::uint8_t>& bytes, BoardModel board)
{
    const std::uint32_t at = locationsOf(board).checksumReadOffset;
    std::uint8_t sum = 0;
    for (std::uint32_t i = checksumRangeStart; i <= at && i < bytes.size(); ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    return sum == 0;
}

std::vector<std::uint8_t> buildImage(const ImageSpec& spec)
{
    std::vector<std::uint8_t> bytes(RomImage::capacity);
    // A fixed pseudo-random filler, so that checksums are not trivially zero.
    std::uint32_t state = 0x2545F491u + static_cast<std::uint32_t>(spec.board);
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }

    putText(bytes, versionTextOffset, versionTextLength, spec.versionText);
    putText(bytes, boardTextOffset, boardTextLength, spec.boardText);
    putText(bytes, dateTextOffset, dateTextLength, spec.dateText);
    putU16(bytes, vendorIdOffset, spec.vendorId.value_or(nvidiaVendorId));
    putU16(bytes, deviceIdOffset, spec.deviceId.value_or(deviceIdOf(spec.board)));

    const BoardEntry& entry = entryOf(spec.board);
    if (entry.locations != nullptr) {
        const LocationTable& at = *entry.locations;
        putU16(bytes, at.gpuClock, spec.gpuClockWord);
        putU16(bytes, at.boostClock, spec.boostClockWord);
        putU16(bytes, at.memClock, spec.memClockWord);
        putU16(bytes, at.memClockSecond, spec.memClockSecondWord.value_or(spec.memClockWord));
        for (std::size_t k = 0; k < boostEntryCount; ++k)
            putU16(bytes, at.boostTableFirst + boostEntryStride * static_cast<std::uint32_t>(k), spec.boostTableWords[k]);
        putU32(bytes, at.powerDefault, spec.powerDefaultMilliwatts);
        putU32(bytes, at.powerMax, spec.powerMaxMilliwatts);
        putU32(bytes, at.powerLimitLo, spec.powerLimitLoMilliwatts);
        putU32(bytes, at.powerLimitHi, spec.powerLimitHiMilliwatts);
        bytes[at.fanMin] = spec.fanMin;
        bytes[at.fanMax] = spec.fanMax;
        for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
            putU32(bytes, at.voltage[slot], spec.voltageDwords[slot]);
    }

    bytes.resize(std::min<std::size_t>(spec.length, bytes.size()));
    bytes.resize(spec.length, 0);  // longer than the capacity: zero tail
    if (entry.locations != nullptr) {
        fixChecksum(bytes, spec.board);
        const std::uint32_t at = entry.locations->checksumReadOffset;
        if (!spec.correctChecksum && at < bytes.size())
            bytes[at] = static_cast<std::uint8_t>(bytes[at] + 1);
    }
    return bytes;
}

}  // namespace veltra::testing
