#include "image_view.h"

#include <array>
#include <cstdio>

#include "rom/board.h"
#include "settable_values.h"

namespace veltra::cli {

namespace {

std::string hexPair(const char* format, unsigned first, unsigned second)
{
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), format, first, second);
    return text.data();
}

void appendEscaped(std::string& out, unsigned char byte)
{
    std::array<char, 8> escaped{};
    std::snprintf(escaped.data(), escaped.size(), "\\x%.2X", byte);
    out += escaped.data();
}

void appendUtf8(std::string& out, unsigned char byte)
{
    if (byte < 0x80) {
        out += static_cast<char>(byte);
    } else {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

}  // namespace

std::string boardName(const BiosInfo& info)
{
    const BoardEntry* board = findBoard(info.vendorId, info.deviceId);
    return board ? board->displayName : "";
}

std::string latin1ToUtf8(const std::string& bytes)
{
    std::string out;
    for (unsigned char byte : bytes) appendUtf8(out, byte);
    return out;
}

std::string terminalText(const std::string& bytes)
{
    std::string out;
    for (unsigned char byte : bytes) {
        // Latin-1 has a second row of control characters, 0x80 to 0x9F.
        const bool control = byte < 0x20 || (byte >= 0x7F && byte < 0xA0);
        if (control)
            appendEscaped(out, byte);
        else
            appendUtf8(out, byte);
    }
    return out;
}

std::string escapeControls(const std::string& text)
{
    std::string out;
    for (unsigned char byte : text) {
        if (byte < 0x20 || byte == 0x7F)
            appendEscaped(out, byte);
        else
            out += static_cast<char>(byte);
    }
    return out;
}

std::vector<ShownLine> identityLines(const BiosInfo& info)
{
    return {
        {"name", boardName(info)},
        {"board", terminalText(info.boardText.shown())},
        {"date", terminalText(info.dateText.shown())},
        {"version", terminalText(info.versionText.shown())},
        {"device-id", hexPair("%.4X - %.4X", info.vendorId, info.deviceId)},
        {"checksum", hexPair("%.2X - [%.2X]", info.checksumStored, info.checksumComputed)},
        {"image", info.layout.imageOffset ? hexOffset(*info.layout.imageOffset) : "none"},
        {"layout", layoutName(info)},
    };
}

std::string hexOffset(std::uint32_t offset)
{
    return hexPair("0x%.4X", offset, 0);
}

std::string layoutName(const BiosInfo& info)
{
    return info.layout.source == LayoutSource::ImageTables ? "image tables" : "built-in table";
}

std::optional<bool> checksumRight(const LoadedImage& image)
{
    if (image.info.checksumReadOffset >= image.fileLength)
        return std::nullopt;
    return image.info.checksumStored == image.info.checksumComputed;
}

std::vector<OffsetLine> offsetList(const BiosInfo& info)
{
    std::vector<OffsetLine> lines = {
        {"board", {info.boardText.offset}},
        {"date", {info.dateText.offset}},
        {"version", {info.versionText.offset}},
        {"device-id", {info.layout.idsOffset, info.layout.idsOffset + 2}},
        {"checksum", {info.checksumReadOffset}},
        {"checksum-range", {info.layout.checksumStartOffset, info.checksumReadOffset - 1}},
    };
    // Every value where its bytes start, in the order show lists the values.
    for (const SettableValue& value : settableValues()) {
        lines.push_back({value.name, {}});
        for (const ByteSpan& span : value.spans(info)) lines.back().offsets.push_back(span.offset);
    }
    return lines;
}

std::vector<ShownLine> offsetLines(const BiosInfo& info)
{
    std::vector<ShownLine> lines;
    for (const OffsetLine& line : offsetList(info)) {
        // A range reads "first - last"; several places of one item stand side by side.
        const char* separator = line.name == "checksum-range" ? " - " : " ";
        std::string text;
        for (std::uint32_t offset : line.offsets) text += (text.empty() ? "" : separator) + hexOffset(offset);
        lines.push_back({line.name, text});
    }
    return lines;
}

std::vector<ShownLine> valueLines(const BiosInfo& info)
{
    const PageValues values = pageValuesFrom(info);
    std::vector<ShownLine> lines;
    for (const SettableValue& value : settableValues())
        lines.push_back({value.name, valueText(values, value)});
    return lines;
}

}  // namespace veltra::cli
