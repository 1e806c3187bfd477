#pragma once

// The walk through an image's information table to the tables it points to:
// what each table is called, how its shape is checked, and how a field
// found in it is recorded. The field tables (bit_tables.cpp) and the tables
// that hold no editable field (extra_tables.cpp) are read through it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "bios_info.h"
#include "file_bytes.h"
#include "option_rom.h"

namespace veltra::tables {

// An index byte that names no entry.
constexpr std::uint32_t noEntry = 0xFF;
// P-states are named in bits 5-8 of an entry's first word; 15 is P0, the
// state the card runs its boost clocks in.
constexpr std::uint32_t topPState = 15;
constexpr std::uint32_t pStateOf(std::uint16_t word)
{
    return (word >> 5) & 0xF;
}

enum class Problem { Missing, Version, Layout, OutsideFile, TooSmall };

// Reports what is wrong with one table, named as a user knows it; false.
bool refuse(std::string_view table, Problem problem);

// A token of the information table and the data it points to.
struct TokenRef {
    std::string_view name;
    char id;
    std::uint8_t version;
    std::uint16_t minimumSize;  // the data must reach the last field read from it
};

// A header byte that fixes where entries and fields lie, and the values it
// holds on the builds of this generation. A table of any other shape would
// be read at offsets that nothing in the file vouches for.
struct ShapeByte {
    std::uint8_t at = 0;  // 0: none
    std::array<std::uint8_t, 6> values{};
    std::size_t count = 0;

    bool accepts(std::uint8_t value) const
    {
        return std::find(values.begin(), values.begin() + count, value) != values.begin() + count;
    }
};

template <typename... Values>
constexpr ShapeByte shape(std::uint8_t at, Values... values)
{
    return {at, {static_cast<std::uint8_t>(values)...}, sizeof...(values)};
}

// A header size (+1) and entry size (+2) that belong together. Where a
// table comes in more than one size, each alone could be bent into the
// other's and still be accepted; the pair of them cannot.
struct SizePair {
    std::uint8_t header = 0, entry = 0;  // 0: none
};

// One of the tables the pointer token leads to.
struct TableRef {
    std::string_view name;
    std::uint32_t pointerAt;  // in the pointer token's data
    std::array<std::uint8_t, 2> versions;  // a second version of 0: none
    std::uint8_t headerBytes;  // the header must reach the last byte read from it
    std::array<ShapeByte, 5> shape;
    std::array<SizePair, 4> sizes{};  // none: the shape bytes alone decide

    bool acceptsSizes(std::uint8_t header, std::uint8_t entry) const
    {
        if (sizes[0].header == 0)
            return true;
        for (const SizePair& pair : sizes)
            if (pair.header != 0 && pair.header == header && pair.entry == entry)
                return true;
        return false;
    }
};

// A table whose header has been checked to lie in the file.
struct Header {
    const FileBytes& file;
    std::uint64_t start;
    std::uint32_t operator[](unsigned at) const { return *file.u8(start + at); }
};

// The walk from the information table to the tables it leads to, over one
// image. Every read it makes has been checked to lie in the file.
class Walk {
public:
    Walk(const FileBytes& file, const LegacyImage& image, std::uint64_t table)
        : m_file(file), m_image(image), m_table(table)
    {
    }

    // Checks the information table's version, sizes and extent.
    bool openInformationTable();

    // Whether the information table has a token of this id.
    bool hasToken(const TokenRef& ref) const { return findToken(ref).has_value(); }

    // Where a token's data lies, checked to lie in the file.
    struct TokenData {
        std::uint64_t offset;
        std::uint16_t size;
    };
    std::optional<TokenData> tokenData(const TokenRef& ref) const;

    // The file offset a table pointer of the pointer token leads to: data
    // placed after the UEFI image is addressed as if that image were not
    // there.
    std::uint64_t pointerTarget(std::uint32_t pointer) const
    {
        return m_image.offset + std::uint64_t{pointer} + (pointer >= m_image.pciLength ? m_image.uefiLength : 0);
    }

    // Opens the table that the pointer data at `pointers` names for `ref`,
    // its version and shape checked.
    std::optional<Header> open(std::uint64_t pointers, const TableRef& ref) const;

    // Whether the table's `length` bytes lie in the file; if so, records
    // where the table lies.
    bool holds(std::string_view name, const Header& table, std::uint64_t length, TableExtent& extent) const;

    const FileBytes& file() const { return m_file; }
    const LegacyImage& image() const { return m_image; }

private:
    std::uint32_t header(unsigned at) const { return *m_file.u8(m_table + at); }
    std::optional<std::uint64_t> findToken(const TokenRef& ref) const;

    const FileBytes& m_file;
    const LegacyImage& m_image;
    std::uint64_t m_table;
    std::uint32_t m_headerSize = 0;
    std::uint32_t m_tokenSize = 0;
    std::uint32_t m_tokenCount = 0;
};

// An offset checked to lie in the file, which is at most 1 MiB.
constexpr std::uint32_t offset(std::uint64_t at)
{
    return static_cast<std::uint32_t>(at);
}

// Sets where a field lies and which table entry holds it.
template <typename T>
void place(FieldLoc<T>& field, std::uint64_t at, std::string_view table, std::uint32_t entry)
{
    field.offset = offset(at);
    field.present = true;
    field.origin = {table.data(), entry};
}

template <typename T>
void leaveOut(FieldLoc<T>& field)
{
    field = absentField<T>();
}

// The tables that hold no editable field (extra_tables.cpp).

// The memory type the image's straps agree on, from the 'M' token's table:
// Unknown when the image has none or its straps disagree; nothing, after a
// message, when the table is damaged.
enum class MemoryType { Unknown, Gddr5, Other };
std::optional<MemoryType> memoryType(const Walk& walk);

// The read-only values: the clock range table's P0 maximum, and the fan
// cooler table's speed limits. A table that is not there, or not as these
// builds make it, only leaves its value out.
void locateBoostLimit(const Walk& walk, std::uint64_t pointers, std::uint16_t pointerSize, BiosInfo& info);
void locateCoolerFan(const Walk& walk, std::uint64_t pointers, std::uint16_t pointerSize, BiosInfo& info);

}  // namespace veltra::tables
