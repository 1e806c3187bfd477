#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

namespace veltra {

// Reads of a file's bytes where every offset and count comes from the file
// itself: nothing is read outside the file, whatever a pointer or a length
// says. Offsets are 64-bit so that a sum of file values cannot wrap.
class FileBytes {
public:
    FileBytes(const std::uint8_t* data, std::uint32_t length) : m_data(data), m_length(length) {}

    std::uint32_t length() const { return m_length; }
    bool holds(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= m_length && count <= m_length - offset;
    }

    std::optional<std::uint8_t> u8(std::uint64_t offset) const
    {
        if (!holds(offset, 1))
            return std::nullopt;
        return m_data[offset];
    }
    std::optional<std::uint16_t> u16(std::uint64_t offset) const
    {
        if (!holds(offset, 2))
            return std::nullopt;
        return static_cast<std::uint16_t>(m_data[offset] | (m_data[offset + 1] << 8));
    }
    std::optional<std::uint32_t> u32(std::uint64_t offset) const
    {
        if (!holds(offset, 4))
            return std::nullopt;
        std::uint32_t value = 0;
        for (unsigned i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(m_data[offset + i]) << (8 * i);
        return value;
    }
    // The `count` bytes at `offset`, when the file holds them all.
    std::optional<const std::uint8_t*> bytes(std::uint64_t offset, std::uint64_t count) const
    {
        if (!holds(offset, count))
            return std::nullopt;
        return m_data + offset;
    }
    // True when the bytes at `offset` are `text`.
    bool matches(std::uint64_t offset, std::string_view text) const
    {
        if (!holds(offset, text.size()))
            return false;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (m_data[offset + i] != static_cast<std::uint8_t>(text[i]))
                return false;
        return true;
    }
    // The first offset in [from, to) at which `text` starts and fits before
    // `to`, or none.
    std::optional<std::uint32_t> find(std::string_view text, std::uint32_t from, std::uint32_t to) const
    {
        to = std::min(to, m_length);
        if (from >= to || text.size() > to - from)
            return std::nullopt;
        // Images are full of runs of 0x00 and 0xFF: the search skips from one
        // byte of the text's first other byte to the next (with memchr), and
        // then looks at the bytes before it.
        std::size_t anchor = 0;
        while (anchor + 1 < text.size() && (text[anchor] == '\x00' || text[anchor] == '\xFF'))
            ++anchor;
        const std::string_view bytes(reinterpret_cast<const char*>(m_data) + from, to - from);
        for (std::size_t at = anchor; (at = bytes.find(text.substr(anchor), at)) != std::string_view::npos; ++at)
            if (bytes.compare(at - anchor, anchor, text.substr(0, anchor)) == 0)
                return static_cast<std::uint32_t>(from + at - anchor);
        return std::nullopt;
    }

private:
    const std::uint8_t* m_data;
    std::uint32_t m_length;
};

}  // namespace veltra
