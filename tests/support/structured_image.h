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

// Header and entry shapes of the six tables, as seen on real builds.
struct TableShapes {
    std::uint8_t pTokenSize = 84;            // the P token's data size: 68 or 84
    std::uint8_t performanceHeader = 30;     // 29 or 30
    std::uint8_t virtualPStateHeader = 20;   // 18 or 20
    std::uint8_t voltageMapEntrySize = 34;   // 34 or 38
    std::uint8_t voltageMapEntries = 71;     // 67 or 71
};

// Where each table starts, relative to the legacy image's start.
struct TableStarts {
    std::uint32_t performance, thermal, voltageMap, powerPolicy, voltageFrequency, virtualPState;
};

struct StructuredSpec {
    // Board, ids, every field's raw word or dword, the texts, correctChecksum
    // (its `length` is not used).
    ImageSpec values;
    // Where the legacy image starts in the file: a multiple of 512 (0, 0x400, 0x600).
    std::uint32_t imageOffset = 0;
    // Bytes, a multiple of 512; 0 = the board's: 0xFC00 (660 Ti, 680), 0xF200 (670).
    std::uint32_t legacyLength = 0;
    // Default: shapesOf(values.board).
    std::optional<TableShapes> shapes;
    // Default: builtInStarts(values.board, shapes), so the fields land on the
    // built-in offsets - 0x400; a Gtx660, which has none, is laid out as the 660 Ti.
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

// Every field's absolute file offset as this builder placed it.
struct StructuredFields {
    // The fields in the same form as the built-in offsets: boostTableFirst + 5k
    // for the 45 entries, checksumRead/WriteOffset the legacy image's last byte.
    BoardOffsets at;
    std::array<std::uint32_t, 45> boostTable;  // each entry explicitly
    std::uint32_t versionText, boardText, dateText, vendorId, deviceId, checksumStart;
};

struct StructuredImage {
    std::vector<std::uint8_t> bytes;
    StructuredFields fields;
    // File offsets of the structure, for tests that bend it:
    std::uint32_t imageOffset, imageLength, pcir, bit, sData, pData;
    std::uint32_t npde;        // 0 when none
    std::uint32_t uefiOffset;  // 0 when none
    // The block holding the power table when it is after the UEFI image; 0 when none.
    std::uint32_t afterUefiOffset, afterUefiLength;
    TableStarts tables;     // absolute file offsets of the six tables
    TableStarts tableEnds;  // one past each table's last byte
};

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
