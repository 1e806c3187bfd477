#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rom/rom.h"

namespace veltra::testing {

// Everything a synthetic image holds. The defaults pass every save rule.
struct ImageSpec {
    BoardModel board = BoardModel::Gtx680;
    std::optional<std::uint16_t> vendorId;   // default: the board's
    std::optional<std::uint16_t> deviceId;   // default: the board's
    std::uint32_t length = 131072;           // bytes of the file

    // Raw words and dwords as the file holds them, so tests can put in values
    // the decoder must cope with (odd half-MHz, sub-watt power, ...).
    std::uint16_t gpuClockWord = 2012;        // 1006.0 MHz
    std::uint16_t boostClockWord = 2117;      // 1058.5 MHz
    std::uint16_t memClockWord = 19389;       // 1502.5 MHz
    std::optional<std::uint16_t> memClockSecondWord;  // default: same word
    std::array<std::uint16_t, boostEntryCount> boostTableWords = defaultBoostWords();
    std::uint32_t powerDefaultMilliwatts = 170000;
    std::uint32_t powerMaxMilliwatts = 225000;
    std::uint32_t powerLimitLoMilliwatts = 150000;
    std::uint32_t powerLimitHiMilliwatts = 250000;
    std::uint8_t fanMin = 30;
    std::uint8_t fanMax = 85;
    // Slots 0-3 in mV x 1000, slots 4-5 in mV x 10000.
    std::array<std::uint32_t, voltageSlotCount> voltageDwords = voltageDwordsFor(1175);

    std::string versionText = "80.04.09.00.01";
    std::string boardText = "P2002 SKU 0001 VGA BIO";
    std::string dateText = "03/22/12";

    bool correctChecksum = true;              // false: the stored byte is off by one

    static std::array<std::uint16_t, boostEntryCount> defaultBoostWords();
    static std::array<std::uint32_t, voltageSlotCount> voltageDwordsFor(std::uint32_t millivolts);
};

// Where each editable field of one board lies: absolute file offsets, typed
// here apart from rom/'s own tables so that a wrong offset there shows.
struct BoardOffsets {
    std::uint32_t fanMin, fanMax;
    std::uint32_t gpuClock, boostClock;
    std::uint32_t memClock, memClockSecond;
    std::uint32_t powerDefault, powerMax, powerLimitLo, powerLimitHi;
    std::uint32_t boostTableFirst;  // entry k at boostTableFirst + 5 * k
    // Slots 0-3 hold millivolts x 1000, slots 4-5 millivolts x 10000.
    std::array<std::uint32_t, 6> voltage;
    std::uint32_t checksumWriteOffset, checksumReadOffset;
};

// Throws std::logic_error for a board without offsets (the Gtx660).
const BoardOffsets& locationsOf(BoardModel board);
std::uint16_t deviceIdOf(BoardModel board);

// The file's bytes: a deterministic filler, the fields of `spec`, and (unless
// asked otherwise) a correct checksum byte when it lies inside the file.
std::vector<std::uint8_t> buildImage(const ImageSpec& spec);

// Little-endian pokes and peeks, for bending an image after it was built.
void putU16(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint16_t value);
void putU32(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint32_t value);
std::uint16_t getU16(const std::vector<std::uint8_t>& bytes, std::uint32_t offset);
std::uint32_t getU32(const std::vector<std::uint8_t>& bytes, std::uint32_t offset);

// Recomputes the checksum byte of `bytes` for `board` (when it lies inside).
void fixChecksum(std::vector<std::uint8_t>& bytes, BoardModel board);
// True when bytes [1024, checksum offset] sum to zero modulo 256.
bool checksumValid(const std::vector<std::uint8_t>& bytes, BoardModel board);

}  // namespace veltra::testing
