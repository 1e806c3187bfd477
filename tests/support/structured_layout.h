#pragma once

// The structure that structured_image.cpp writes, typed out by hand: the fixed
// places, the tables' shapes and where each field lands in them. Only this
// folder's builder includes it; tests include structured_image.h.

#include <array>
#include <cstdint>

#include "tests/support/structured_image.h"

namespace veltra::testing::structured {

// Fixed places inside the legacy image, the same on every GK104 build.
inline constexpr std::uint32_t pcirPointerAt = 0x18;
inline constexpr std::uint32_t dateAt = 0x38, dateLength = 8;
inline constexpr std::uint32_t versionStringAt = 0xD7;  // "Version ", then the text
inline constexpr std::uint32_t versionPrefixLength = 8, versionLength = 14;
inline constexpr std::uint32_t boardTextAt = 0x122, boardTextLength = 22;
inline constexpr std::uint32_t pcirAt = 0x190, pcirSize = 0x18;
inline constexpr std::uint32_t npdeAt = (pcirAt + pcirSize + 15) / 16 * 16, npdeSize = 0x10;
inline constexpr std::uint32_t bitAt = 0x1C0, bitHeaderSize = 12, bitTokenSize = 6;
inline constexpr std::uint32_t junkTokenData = 0x200, pData = 0x250, sData = 0x2B0, sSize = 24;
// The memory type token's data, and its table: one entry per memory strap,
// the type in the low four bits (3 GDDR5, 0xF an unused strap).
inline constexpr std::uint32_t mData = 0x2E0, mSize = 17, mPointerAt = 3;
inline constexpr std::uint32_t memoryTypes = 0x300, memoryTypeHeader = 7, memoryTypeEntry = 7, memoryStraps = 16;
inline constexpr std::uint8_t memoryGddr5 = 3, unusedStrap = 0xF;
inline constexpr std::uint32_t headerAreaEnd = 0x380;  // no table may start below
inline constexpr std::uint32_t unit = 512;
inline constexpr std::uint16_t vendorNvidia = 0x10DE;
inline constexpr std::uint32_t builtInForm = 0x400;  // the built-in offsets are for a 0x400-byte file header

// UEFI image: its PCIR right after the header fields we write.
inline constexpr std::uint32_t uefiPcirAt = 0x1C;
inline constexpr std::uint8_t codeTypeLegacy = 0, codeTypeUefi = 3, lastImage = 0x80;

// P token slots: u32 pointers, relative to the image start.
inline constexpr std::uint32_t pPerformance = 0x00, pThermal = 0x10, pVoltageMap = 0x20, pPowerPolicy = 0x2C,
                               pVoltageFrequency = 0x34, pVirtualPState = 0x38;
inline constexpr std::uint32_t afterUefiGap = 0x40;  // so a reader cannot assume the table opens the block

// Virtual P-state table: 12 entries of a 5-byte base and one 2-byte clock
// domain; the header names the boost clock's entry at +16, the base clock's
// at +17.
inline constexpr std::uint32_t vpsBase = 5, vpsDomain = 2, vpsDomains = 1, vpsEntries = 12, vpsBaseClockIndex = 1;
inline constexpr std::uint32_t vpsBoostClockIndex = 0;
inline constexpr std::uint32_t vpsStride = vpsBase + vpsDomain * vpsDomains;
inline constexpr std::uint32_t vpsBoostClockIndexAt = 16, vpsBaseClockIndexAt = 17;

// Performance table: 4 entries of 21 bytes, each with 9 sub-entries of 4 bytes.
inline constexpr std::uint32_t perfEntry = 21, perfSub = 4, perfSubs = 9, perfEntries = 4, perfMemSub = 3;
inline constexpr std::uint32_t perfStride = perfEntry + perfSub * perfSubs;
// Each entry opens with its P-state id, as on real boards: the memory clock
// is in the entry of P-state 0x0D, its second copy in that of 0x0F.
inline constexpr std::array<std::uint8_t, perfEntries> perfStateIds = {0x07, 0x0A, 0x0D, 0x0F};

// Voltage-frequency table: 4 entries, then 53 extra entries of 5 bytes. Each
// entry names its P-state in bits 5-8 of its first word and its range of
// extra entries at +2 and +3; P0's range is 1..46, so the boost ladder is
// extra entries 2..46.
inline constexpr std::uint32_t vfHeader = 6, vfEntry = 4, vfEntries = 4, vfExtra = 5, vfExtras = 53, vfBoostFirst = 2;
inline constexpr std::uint32_t boostCount = 45;
constexpr std::uint32_t vfExtraAt(std::uint32_t i) { return vfHeader + vfEntries * vfEntry + i * vfExtra; }
struct VfEntry {
    std::uint8_t pState, lowest, highest;
};
inline constexpr std::array<VfEntry, vfEntries> vfRanges = {{{7, 0, 0}, {10, 0, 20}, {13, 1, 46}, {15, 1, 46}}};

// Power policy table: the header names the limits' entry at +9, the default
// and maximum's at +10.
inline constexpr std::uint32_t powerHeader = 13, powerEntry = 22, powerEntries = 9, powerLimits = 7, powerDefaults = 8;
inline constexpr std::uint32_t powerLimitsIndexAt = 9, powerDefaultsIndexAt = 10;
// Thermal table: 14 entries of 3 bytes (header +2 and +3, which the fan's
// place below is written in), the fan's the one with id 0x22, entry 9.
inline constexpr std::uint32_t thermalHeader = 4, thermalEntry = 14, thermalEntries = 3, thermalFanEntry = 2;
inline constexpr std::array<std::uint8_t, 14> thermalIds = {0x01, 0x49, 0x01, 0x49, 0x00, 0x47, 0x21,
                                                            0x26, 0x20, 0x22, 0x48, 0x3B, 0x3C, 0x45};
// Voltage map: the header names the two entries of the maximum voltage, 0 at
// +8 and 1 at +7; each is a fixed voltage (mode 0, no further coefficients).
inline constexpr std::uint32_t vmapHeader = 12, vmapFirstIndexAt = 8, vmapSecondIndexAt = 7;

// Each table's length in bytes, in the same order as TableStarts.
TableStarts tableLengths(const TableShapes& s);

// Each field's offset, given each table's offset in the same frame.
BoardOffsets placeFields(const TableStarts& t, const TableShapes& s);

// Throws std::logic_error for shapes too small for the bytes the builder sets in them.
void checkShapes(const TableShapes& s);

// Tables in the legacy image lie between the header area and the checksum
// byte and apart from each other. A power table after the UEFI image has its
// block to itself. Throws std::logic_error otherwise.
void checkLayout(const TableStarts& t, const TableShapes& s, std::uint32_t legacyLength, bool powerAfterUefi);

// 0xF200 for the 670, 0xFC00 for the others.
std::uint32_t legacyLengthOf(BoardModel board);

// The Gtx660 has no built-in offsets; its images borrow the 660 Ti's layout.
BoardModel layoutBoardOf(BoardModel board);

}  // namespace veltra::testing::structured
