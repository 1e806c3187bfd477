#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "board.h"

namespace veltra {

// Where a field came from: the image's table that defines it and the entry
// of that table. No table for the built-in locations.
struct FieldOrigin {
    const char* table = nullptr;  // as the messages name it: "clock table", ...
    std::uint32_t entry = 0;

    bool operator==(const FieldOrigin&) const = default;
};

// One located field: its file offset and its decoded value. A field the
// image has no table entry for is absent: it is not shown, its rules are
// not checked and nothing is ever written at its offset.
template <typename T>
struct FieldLoc {
    std::uint32_t offset = 0;
    T value{};
    bool present = true;
    FieldOrigin origin;

    bool operator==(const FieldLoc&) const = default;
};

// A field the image does not have.
template <typename T>
constexpr FieldLoc<T> absentField()
{
    FieldLoc<T> field;
    field.present = false;
    return field;
}

// How the memory clock's word holds the clock.
enum class MemClockCoding {
    Biased,  // built-in locations: half-MHz plus 16384
    // The image's own tables: the low 14 bits count the clock, bits 14-15
    // are flags that a save keeps as it found them.
    HalfMhz,  // GDDR5: twice the clock users are shown
    Mhz,      // other memory types: the clock itself
};

// The memory clock's word is also written to a second place; 0 means none.
struct MemClockLoc : FieldLoc<float> {
    std::uint32_t secondOffset = 0;
    FieldOrigin secondOrigin;
    MemClockCoding coding = MemClockCoding::Biased;

    bool operator==(const MemClockLoc&) const = default;
};

// One located 8-bit text: always zero-terminated, since at most 22 of its 32
// bytes are copied from the image.
struct TextLoc {
    std::uint32_t offset = 0;
    std::array<std::uint8_t, 32> text{};

    // The bytes up to the first zero, as they are (8-bit, not UTF-8).
    std::string shown() const;

    bool operator==(const TextLoc&) const = default;
};

// Where the built-in locations expect the image to start, which is also
// where their checksum range starts.
constexpr std::uint32_t builtInImageOffset = 0x400;

// Where a load took the fields' offsets from.
enum class LayoutSource {
    BuiltInTable,  // the board's fixed offsets, for images without tables of their own
    ImageTables,   // the image's own information table and the tables it points to
};

// Where one table lies in the file.
struct TableExtent {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;

    // Whether the `width` bytes at `at` lie inside the table.
    bool holds(std::uint32_t at, std::uint32_t width) const
    {
        return at >= offset && width <= length && at - offset <= length - width;
    }
    bool operator==(const TableExtent&) const = default;
};

// Where the image lies in its file and how its fields were located.
struct ImageLayout {
    LayoutSource source = LayoutSource::BuiltInTable;
    // Start of the legacy image; none in a file without an option-ROM signature.
    std::optional<std::uint32_t> imageOffset;
    // Vendor id, then device id.
    std::uint32_t idsOffset = 0;
    // First byte of the summed range; the checksum byte ends it.
    std::uint32_t checksumStartOffset = builtInImageOffset;
    // The tables that hold the fields, when the image's own tables located
    // them: each field lies inside its table. Empty for the built-in table.
    TableExtent clockTable, memoryClockTable, boostTable, powerTable, fanTable, voltageTable;
    // The tables of the read-only values.
    TableExtent clockRangeTable, coolerTable;

    bool operator==(const ImageLayout&) const = default;
};

// Every located field of the loaded image. Clocks in MHz, power in watts, fan
// speed in percent, voltage in millivolts (slot 0; slots 1-5 only serve the
// agreement test at load).
struct BiosInfo {
    FieldLoc<std::uint8_t> fanMin;
    FieldLoc<std::uint8_t> fanMax;
    FieldLoc<float> gpuClock;
    FieldLoc<float> boostClock;
    MemClockLoc memClock;
    FieldLoc<std::uint32_t> powerDefault;
    FieldLoc<std::uint32_t> powerMax;
    FieldLoc<std::uint32_t> powerLimitLo;
    FieldLoc<std::uint32_t> powerLimitHi;
    // The boost ladder: 45 entries at the built-in locations, 0 to
    // maxBoostEntryCount where the image's boost table says.
    std::vector<FieldLoc<float>> boostTable = std::vector<FieldLoc<float>>(boostEntryCount);
    TextLoc versionText;
    TextLoc boardText;
    TextLoc dateText;
    std::uint16_t vendorId = 0;
    std::uint16_t deviceId = 0;
    std::uint32_t checksumWriteOffset = 0;
    std::uint8_t checksumComputed = 0;
    std::uint32_t checksumReadOffset = 0;
    std::uint8_t checksumStored = 0;
    std::array<FieldLoc<std::uint32_t>, voltageSlotCount> voltage;
    ImageLayout layout;

    // Read-only values some images hold, shown but never written: the
    // highest clock the card runs a boost entry at, and the fan cooler
    // table's own speed limits.
    FieldLoc<float> boostLimit = absentField<float>();
    FieldLoc<std::uint8_t> coolerFanMin = absentField<std::uint8_t>();
    FieldLoc<std::uint8_t> coolerFanMax = absentField<std::uint8_t>();

    // Every member alike, offsets and values (a float compares by value).
    bool operator==(const BiosInfo&) const = default;
};

// Fixed locations, the same on every board, for images without tables of
// their own.
constexpr std::uint32_t dateTextOffset = 1080;
constexpr std::uint32_t versionTextOffset = 1247;
constexpr std::uint32_t boardTextOffset = 1314;
constexpr std::uint32_t dateTextLength = 8;
constexpr std::uint32_t versionTextLength = 14;
constexpr std::uint32_t boardTextLength = 22;
constexpr std::uint32_t vendorIdOffset = 1428;
constexpr std::uint32_t deviceIdOffset = 1430;

}  // namespace veltra
