#pragma once

// Images laid out the way real board BIOS files are: option-ROM header, PCIR,
// NPDE, the BIOS information table and the tables its P token points to, so
// that a reader has to find every field by walking the structure. Written from
// this folder's own description of that structure, never from rom/.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "tests/support/image_builder.h"

namespace veltra::testing {

// Header and entry shapes of the tables, as seen on real builds. The first
// five are what tells the three boards apart (shapesOf); the rest hold the
// three boards' shape unless another board's family sets them.
struct TableShapes {
    std::uint8_t pTokenSize = 84;            // the P token's data size: 68, 84, 100 (0x5C and up reach the cooler table)
    std::uint8_t performanceHeader = 30;     // 29 or 30
    std::uint8_t virtualPStateHeader = 20;   // 18 to 23
    std::uint8_t voltageMapEntrySize = 34;   // 34 or 38
    std::uint8_t voltageMapEntries = 71;     // 8 to 128
    std::uint8_t performanceEntrySize = 21;  // 21, 25 or 26
    std::uint8_t virtualPStateEntries = 12;  // 0 (a table without entries) to 32
    std::uint8_t voltageFrequencyHeader = 6; // 6 with entries of 4 bytes, 7 with entries of 8
    std::uint8_t voltageFrequencyExtras = 53;
    std::uint8_t powerVersion = 0x20;        // 0x10: a table without entries
    std::uint8_t powerHeader = 13;           // 13 with entries of 22 or 34 bytes, 31 with 35
    std::uint8_t powerEntrySize = 22;
    std::uint8_t powerEntries = 9;           // 9 or 15; 0 in a version 0x10 table
    std::uint8_t voltageMapHeader = 12;      // 12 or 13
};

// A voltage-frequency entry: its P-state and its range of extra entries.
struct VfRange {
    std::uint8_t pState, lowest, highest;
};

inline constexpr std::uint8_t noEntry = 0xFF;  // an index byte that names no entry

// What the tables say of their entries: which ones the headers name, each
// entry's P-state, what kind of voltage entry. The defaults are the three
// boards'.
struct TableContents {
    // Virtual P-state header +16 (boost clock) and +17 (base clock). The
    // entries up to the highest one named are P0 entries, the rest unused.
    std::uint8_t boostClockEntry = 0, baseClockEntry = 1;
    // Each performance entry's P-state id (0x0F P0, 0xFF unused). The memory
    // clock is in the entry of 0x0D, else 0x0E, else P0; P0's holds a copy.
    std::array<std::uint8_t, 4> performanceStates = {0x07, 0x0A, 0x0D, 0x0F};
    // The voltage-frequency entries (2 to 4). The boost ladder is the first
    // P0 entry's range without its lowest extra entry.
    std::vector<VfRange> voltageFrequencyEntries = {{7, 0, 0}, {10, 0, 20}, {13, 1, 46}, {15, 1, 46}};
    // Power header +9 (the limits' entry) and +10 (default and maximum's).
    std::uint8_t powerLimitsEntry = 7, powerDefaultsEntry = 8;
    // The thermal entry whose id is 0x22, the fan's; none: no fan entry.
    std::optional<std::uint8_t> fanEntry = 9;
    // Voltage map header +8 and +7: the entries of slots 0, 1, 4 and of 2, 3, 5.
    std::uint8_t voltageFirstEntry = 0, voltageSecondEntry = 1;
    // For those two entries: the mode (0: a fixed voltage), and whether a
    // coefficient after the first is set (a polynomial, not a voltage).
    std::array<std::uint8_t, 2> voltageModes = {0, 0};
    std::array<bool, 2> voltageFurtherCoefficients = {false, false};
    // The memory type of every used strap in the 'M' token's table: 3 GDDR5, 1 DDR3.
    std::uint8_t memoryType = 3;
};

// Where each table starts, relative to the legacy image's start; 0 for the
// two tables only some boards have.
struct TableStarts {
    std::uint32_t performance, thermal, voltageMap, powerPolicy, voltageFrequency, virtualPState;
    std::uint32_t clockRange = 0, cooler = 0;
};

struct StructuredSpec {
    // Board, ids, every field's raw word or dword, the texts, correctChecksum
    // (its `length` is not used). A board of BoardModel::Other needs its
    // deviceId. Ladder entries past the 45 words climb on by 13 MHz a step.
    ImageSpec values;
    TableContents contents;
    // The read-only values of tables only some boards have: a clock range
    // table whose P0 maximum is this word, a fan cooler table with these
    // limits (minimum, maximum). Their P token slots need pTokenSize 0x34
    // and 0x5C.
    std::optional<std::uint16_t> boostLimitWord;
    std::optional<std::array<std::uint8_t, 2>> coolerFan;
    // Where the legacy image starts in the file: a multiple of 512 (0, 0x400, 0x600).
    std::uint32_t imageOffset = 0;
    // Bytes, a multiple of 512; 0 = the board's: 0xFC00 (660 Ti, 680, other
    // boards), 0xF200 (670).
    std::uint32_t legacyLength = 0;
    // Default: shapesOf(values.board).
    std::optional<TableShapes> shapes;
    // Default: builtInStarts(values.board, shapes), so the fields land on the
    // built-in offsets - 0x400; a Gtx660, which has none, is laid out as the
    // 660 Ti; another board's tables follow each other after the header area.
    std::optional<TableStarts> starts;
    bool npde = true;  // NPDE after PCIR, holding the image length
    // PCIR+0x10; default: the image's length. NPDE always holds the true one.
    std::optional<std::uint16_t> pcirLengthUnits;
    // PCIR "last image" bit on the legacy image, even when a UEFI image follows.
    bool legacyLastImageBit = false;
    // 0 = no UEFI image; else a UEFI image (code type 3) of this many bytes (a
    // multiple of 512) right after the legacy image.
    std::uint32_t uefiLength = 0;
    // The power policy table in a block of data after the UEFI image; its P
    // pointer is then past the legacy image's length and a reader must add the
    // UEFI length. Its start is starts->powerPolicy when that is past the
    // legacy image, else 0x40 into the block.
    bool powerTableAfterUefi = false;
    std::uint32_t trailingLength = 0;  // filler bytes after everything
};

// Every field's absolute file offset as this builder placed it; 0 for a
// field the image does not have.
struct StructuredFields {
    // The fields in the same form as the built-in offsets: boostTableFirst + 5k
    // for the 45 entries, checksumRead/WriteOffset the legacy image's last byte.
    BoardOffsets at;
    std::array<std::uint32_t, 45> boostTable;  // each entry explicitly
    std::uint32_t versionText, boardText, dateText, vendorId, deviceId, checksumStart;
    std::vector<std::uint32_t> ladder;  // every entry of the boost ladder, 0 to 64 of them
    std::uint32_t boostLimit, coolerFanMin, coolerFanMax;  // the read-only values
};

struct StructuredImage {
    std::vector<std::uint8_t> bytes;
    StructuredFields fields;
    // File offsets of the structure, for tests that bend it:
    std::uint32_t imageOffset, imageLength, pcir, bit, sData, pData;
    std::uint32_t pSize;                // the P token's data size
    std::uint32_t mData, memoryTypes;   // the M token's data and the memory type table it points to
    std::uint32_t npde;        // 0 when none
    std::uint32_t uefiOffset;  // 0 when none
    // The block holding the power table when it is after the UEFI image; 0 when none.
    std::uint32_t afterUefiOffset, afterUefiLength;
    TableStarts tables;     // absolute file offsets of the tables (0: none)
    TableStarts tableEnds;  // one past each table's last byte
};

// Images that stand for the other boards of the generation, each a family
// of builds alike in what their tables hold (values are this builder's own):
enum class BoardFamily {
    Gtx770,   // GK104 0x1184, 0x600 form: P0 memory clock beside a 0x0E entry, a 52-entry
              // ladder, power limits only, a voltage entry of mode 1, cooler and clock range tables
    Gtx780,   // GK110 0x1004: boost and base clock entries 0 and 2, a 51-entry ladder, 15
              // power entries with limits only, voltage entries with further coefficients
    Gtx650Ti, // GK106 0x11C6: no clock entry named, memory clock in P0 only, no ladder, no
              // power entry named, voltage entries that disagree
    Gt640,    // GK107 0x0FC0, 0x400 form, DDR3: a clock table without entries, unused
              // performance entries, a power table of version 0x10, no second voltage entry
    Gt710,    // GK208 0x128B, DDR3: one clock, a 23-entry ladder, no power entry named
    Mobile,   // GK107 0x0FD1: PCI length past NPDE's, no fan entry, a memory clock word
              // without its 0x4000 flag, one clock, a fixed voltage
};
inline constexpr std::array<BoardFamily, 6> boardFamilies = {BoardFamily::Gtx770, BoardFamily::Gtx780,
                                                             BoardFamily::Gtx650Ti, BoardFamily::Gt640,
                                                             BoardFamily::Gt710, BoardFamily::Mobile};
const char* familyName(BoardFamily family);
StructuredSpec familySpec(BoardFamily family);

// 660 Ti / 670: P 84, performance header 30, virtual P-state header 20,
// voltage map 34 x 71. 680: P 68, performance header 30, virtual P-state
// header 18, voltage map 38 x 67 (its built-in voltage slots are 38 apart,
// and its voltage-frequency table ends just where a header of 18 lets the
// virtual P-state table begin).
TableShapes shapesOf(BoardModel board);

// Relative to the image start, so that every field lands on the board's
// built-in offset minus 0x400. Throws std::logic_error when the shapes cannot
// put every field there, or the tables would overlap each other or the
// header area.
TableStarts builtInStarts(BoardModel board, const TableShapes& shapes);

// The stock GTX 680 build's shape: P 68, performance header 29, virtual
// P-state header 18, voltage map 38 x 67, the reference board's values, and
// (at imageOffset 0x400, as returned) its fields 23 bytes (clocks, memory
// clock, boost, voltage) and 137 bytes (power, fan) below the built-in 680
// offsets. Set imageOffset to 0 for the raw dump's form.
StructuredSpec stock680Spec();

// Throws std::logic_error for what it cannot lay out (a length that is no
// multiple of 512, tables outside the image or overlapping).
StructuredImage buildStructuredImage(const StructuredSpec& spec);

}  // namespace veltra::testing
