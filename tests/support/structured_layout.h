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
// the type in the low four bits (3 GDDR5, 1 DDR3, 0xF an unused strap).
inline constexpr std::uint32_t mData = 0x2E0, mSize = 17, mPointerAt = 3;
inline constexpr std::uint32_t memoryTypes = 0x300, memoryTypeHeader = 7, memoryTypeEntry = 7, memoryStraps = 16;
inline constexpr std::uint8_t unusedStrap = 0xF;
inline constexpr std::uint32_t headerAreaEnd = 0x380;  // no table may start below
// A P token longer than fits before the string data goes here instead, and
// the tables start after it.
inline constexpr std::uint32_t longPData = headerAreaEnd;
inline constexpr std::uint32_t unit = 512;
inline constexpr std::uint16_t vendorNvidia = 0x10DE;
inline constexpr std::uint32_t builtInForm = 0x400;  // the built-in offsets are for a 0x400-byte file header

// UEFI image: its PCIR right after the header fields we write.
inline constexpr std::uint32_t uefiPcirAt = 0x1C;
inline constexpr std::uint8_t codeTypeLegacy = 0, codeTypeUefi = 3, lastImage = 0x80;

// P token slots: u32 pointers, relative to the image start.
inline constexpr std::uint32_t pPerformance = 0x00, pThermal = 0x10, pVoltageMap = 0x20, pPowerPolicy = 0x2C,
                               pClockRange = 0x30, pVoltageFrequency = 0x34, pVirtualPState = 0x38,
                               pCooler = 0x58;
inline constexpr std::uint32_t afterUefiGap = 0x40;  // so a reader cannot assume the table opens the block

// Virtual P-state table: entries of a 5-byte base and one 2-byte clock
// domain; the header names the boost clock's entry at +16, the base clock's
// at +17.
inline constexpr std::uint32_t vpsBase = 5, vpsDomain = 2, vpsDomains = 1;
inline constexpr std::uint32_t vpsStride = vpsBase + vpsDomain * vpsDomains;
inline constexpr std::uint32_t vpsBoostClockIndexAt = 16, vpsBaseClockIndexAt = 17;
inline constexpr std::uint8_t pState0 = 15;

// Performance table: 4 entries, each with 9 sub-entries of 4 bytes; the
// memory clock is sub-entry 3.
inline constexpr std::uint32_t perfSub = 4, perfSubs = 9, perfEntries = 4, perfMemSub = 3;

// Voltage-frequency table: the entries, then extra entries of 5 bytes. Each
// entry names its P-state in bits 5-8 of its first word and its range of
// extra entries at +2 and +3.
inline constexpr std::uint32_t vfExtra = 5;
inline constexpr std::uint32_t boostCount = 45;  // the ladder words ImageSpec holds

// Power policy table: the header names the limits' entry at +9, the default
// and maximum's at +10; each pair is milliwatts at +6 and +10 of its entry.
inline constexpr std::uint32_t powerLimitsIndexAt = 9, powerDefaultsIndexAt = 10;
// Thermal table: 14 entries of 3 bytes, the fan's the one with id 0x22
// (entry 9 on the three boards).
inline constexpr std::uint32_t thermalHeader = 4, thermalEntrySize = 3, thermalEntries = 14;
inline constexpr std::uint8_t fanEntryId = 0x22;
inline constexpr std::array<std::uint8_t, 14> thermalIds = {0x01, 0x49, 0x01, 0x49, 0x00, 0x47, 0x21,
                                                            0x26, 0x20, 0x22, 0x48, 0x3B, 0x3C, 0x45};
// Voltage map: the header names the two entries of the maximum voltage, the
// first at +8 and the second at +7. Each: mode at +0, microvolts at +2 and
// +6, coefficients from +10 (the first ten times the microvolts).
inline constexpr std::uint32_t vmapFirstIndexAt = 8, vmapSecondIndexAt = 7, vmapFurtherCoefficients = 14;
// Clock range table (version 0x11): entries of a P-state word, the minimum
// and the maximum clock, then three sub-entries; P0's last.
inline constexpr std::uint32_t rangeHeader = 6, rangeEntry = 6, rangeSub = 6, rangeSubs = 3, rangeEntries = 4;
inline constexpr std::uint32_t rangeStride = rangeEntry + rangeSub * rangeSubs;
inline constexpr std::array<std::uint8_t, rangeEntries> rangeStates = {7, 10, 13, pState0};
// Fan cooler table (version 0x10): entry 0 holds the minimum and maximum
// percent at +2 and +3.
inline constexpr std::uint32_t coolerHeader = 4, coolerEntry = 22, coolerEntries = 1;

std::uint32_t vfEntrySize(const TableShapes& s);
std::uint32_t perfStride(const TableShapes& s);
// Extra entry i of the voltage-frequency table, from the table's start.
std::uint32_t vfExtraAt(const TableShapes& s, const TableContents& c, std::uint32_t i);
// The first voltage-frequency entry of P0, or none.
const VfRange* p0Range(const TableContents& c);
// The performance entry holding the memory clock, and its P0 copy's (none: the same).
std::optional<std::uint32_t> memClockEntry(const TableContents& c);
std::optional<std::uint32_t> memClockCopyEntry(const TableContents& c);

// Where the P token's data lies, and the first byte a table may use.
std::uint32_t pDataAt(const TableShapes& s);
std::uint32_t tablesFrom(const TableShapes& s);

// Each table's length in bytes, in the same order as TableStarts; 0 for a
// table the image does not have.
TableStarts tableLengths(const TableShapes& s, const TableContents& c, bool clockRange, bool cooler);

// Each field's offset, given each table's offset in the same frame; 0 for a
// field the tables do not hold. The texts, ids and checksum are left 0.
StructuredFields placeFields(const TableStarts& t, const TableShapes& s, const TableContents& c);

// Throws std::logic_error for shapes too small for the bytes the builder
// sets in them, or contents that name what the shapes lack.
void checkShapes(const TableShapes& s, const TableContents& c);

// Tables in the legacy image lie between the header area and the checksum
// byte and apart from each other. A power table after the UEFI image has its
// block to itself. Throws std::logic_error otherwise.
void checkLayout(const TableStarts& t, const TableStarts& lengths, std::uint32_t from, std::uint32_t legacyLength,
                 bool powerAfterUefi);

// The other boards' tables, one after the other from the header area on,
// with filler between them.
TableStarts packedStarts(const TableStarts& lengths, std::uint32_t from);

// 0xF200 for the 670, 0xFC00 for the others.
std::uint32_t legacyLengthOf(BoardModel board);

// The Gtx660 has no built-in offsets; its images borrow the 660 Ti's layout.
BoardModel layoutBoardOf(BoardModel board);

}  // namespace veltra::testing::structured
