#include "table_walk.h"

#include <string>

#include "message.h"

namespace veltra::tables {
namespace {

constexpr std::string_view informationTable = "bios information table";
constexpr std::uint16_t informationTableVersion = 0x0100;
constexpr std::uint8_t informationHeaderBytes = 12;
constexpr std::uint8_t tokenBytes = 6;

std::nullopt_t failed(std::string_view name, Problem problem)
{
    refuse(name, problem);
    return std::nullopt;
}

}  // namespace

bool refuse(std::string_view table, Problem problem)
{
    std::string name(table);
    std::string capitalised = name;
    capitalised[0] = static_cast<char>(capitalised[0] - 'a' + 'A');
    switch (problem) {
    case Problem::Missing:
        reportMessage("Cannot find the " + name + "!");
        break;
    case Problem::Version:
        reportMessage("Unknown " + name + " version!");
        break;
    case Problem::Layout:
        reportMessage("Unknown " + name + " layout!");
        break;
    case Problem::OutsideFile:
        reportMessage(capitalised + " does not fit in the file!");
        break;
    case Problem::TooSmall:
        reportMessage(capitalised + " is too small!");
        break;
    }
    return false;
}

bool Walk::openInformationTable()
{
    if (!m_file.holds(m_table, informationHeaderBytes))
        return refuse(informationTable, Problem::OutsideFile);
    if (*m_file.u16(m_table + 6) != informationTableVersion)
        return refuse(informationTable, Problem::Version);
    m_headerSize = header(8);
    m_tokenSize = header(9);
    m_tokenCount = header(10);
    if (m_headerSize != informationHeaderBytes || m_tokenSize != tokenBytes)
        return refuse(informationTable, Problem::Layout);
    if (!m_file.holds(m_table, m_headerSize + std::uint64_t{m_tokenCount} * m_tokenSize))
        return refuse(informationTable, Problem::OutsideFile);
    return true;
}

std::optional<Walk::TokenData> Walk::tokenData(const TokenRef& ref) const
{
    const std::optional<std::uint64_t> token = findToken(ref);
    if (!token)
        return failed(ref.name, Problem::Missing);
    const std::uint16_t size = *m_file.u16(*token + 2);
    const std::uint64_t data = m_image.offset + std::uint64_t{*m_file.u16(*token + 4)};
    if (*m_file.u8(*token + 1) != ref.version)
        return failed(ref.name, Problem::Version);
    if (size < ref.minimumSize)
        return failed(ref.name, Problem::TooSmall);
    if (!m_file.holds(data, size))
        return failed(ref.name, Problem::OutsideFile);
    return TokenData{data, size};
}

std::optional<Header> Walk::open(std::uint64_t pointers, const TableRef& ref) const
{
    const std::uint32_t pointer = *m_file.u32(pointers + ref.pointerAt);
    if (pointer == 0)
        return failed(ref.name, Problem::Missing);
    const std::uint64_t start = pointerTarget(pointer);
    if (!m_file.holds(start, ref.headerBytes))
        return failed(ref.name, Problem::OutsideFile);
    const Header table{m_file, start};
    if (std::find(ref.versions.begin(), ref.versions.end(), table[0]) == ref.versions.end() || table[0] == 0)
        return failed(ref.name, Problem::Version);
    for (const ShapeByte& byte : ref.shape)
        if (byte.at != 0 && !byte.accepts(static_cast<std::uint8_t>(table[byte.at])))
            return failed(ref.name, Problem::Layout);
    if (!ref.acceptsSizes(static_cast<std::uint8_t>(table[1]), static_cast<std::uint8_t>(table[2])))
        return failed(ref.name, Problem::Layout);
    return table;
}

bool Walk::holds(std::string_view name, const Header& table, std::uint64_t length, TableExtent& extent) const
{
    if (!m_file.holds(table.start, length))
        return refuse(name, Problem::OutsideFile);
    extent = {static_cast<std::uint32_t>(table.start), static_cast<std::uint32_t>(length)};
    return true;
}

std::optional<std::uint64_t> Walk::findToken(const TokenRef& ref) const
{
    for (std::uint32_t i = 0; i < m_tokenCount; ++i) {
        const std::uint64_t token = m_table + m_headerSize + std::uint64_t{i} * m_tokenSize;
        if (*m_file.u8(token) == static_cast<std::uint8_t>(ref.id))
            return token;
    }
    return std::nullopt;
}

}  // namespace veltra::tables
