#include "image_view.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "read_only_values.h"
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
        {"board", {info.boardText.offset}, {}},
        {"date", {info.dateText.offset}, {}},
        {"version", {info.versionText.offset}, {}},
        {"device-id", {info.layout.idsOffset, info.layout.idsOffset + 2}, {}},
        {"checksum", {info.checksumReadOffset}, {}},
        {"checksum-range", {info.layout.checksumStartOffset, info.checksumReadOffset - 1}, {}},
    };
    // Every value where its bytes start, in the order show lists the values.
    for (const SettableValue& value : settableValues()) {
        if (value.boostEntry && !isPresent(info, value)) continue;
        OffsetLine& line = lines.emplace_back(OffsetLine{value.name, {}, {}});
        for (const ByteSpan& span : value.spans(info)) {
            line.offsets.push_back(span.offset);
            line.origins.push_back(span.origin);
        }
    }
    for (const ReadOnlyValue& value : readOnlyValues(info))
        lines.push_back({value.name, {value.place.offset}, {value.place.origin}});
    return lines;
}

namespace {

// "entry 1", "entries 0 and 1", "entries 2, 3 and 4".
std::string entriesText(const std::vector<std::uint32_t>& entries)
{
    std::string text = entries.size() == 1 ? "entry " : "entries ";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) text += i + 1 == entries.size() ? " and " : ", ";
        text += std::to_string(entries[i]);
    }
    return text;
}

}  // namespace

std::string originText(const std::vector<FieldOrigin>& origins)
{
    // Each table once, with its entries in the order the places name them.
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> tables;
    for (const FieldOrigin& origin : origins) {
        if (origin.table == nullptr) continue;
        auto table = std::find_if(tables.begin(), tables.end(), [&](const auto& t) { return t.first == origin.table; });
        if (table == tables.end()) table = tables.insert(tables.end(), {origin.table, {}});
        if (std::find(table->second.begin(), table->second.end(), origin.entry) == table->second.end())
            table->second.push_back(origin.entry);
    }
    std::string text;
    for (const auto& [table, entries] : tables) text += (text.empty() ? "" : "; ") + table + ", " + entriesText(entries);
    return text.empty() ? "" : " (" + text + ")";
}

std::vector<ShownLine> offsetLines(const BiosInfo& info)
{
    std::vector<ShownLine> lines;
    for (const OffsetLine& line : offsetList(info)) {
        if (line.offsets.empty()) continue;
        // A range reads "first - last"; several places of one item stand side by side.
        const char* separator = line.name == "checksum-range" ? " - " : " ";
        std::string text;
        for (std::uint32_t offset : line.offsets) text += (text.empty() ? "" : separator) + hexOffset(offset);
        lines.push_back({line.name, text + originText(line.origins)});
    }
    return lines;
}

std::vector<ValueLine> allValueLines(const BiosInfo& info)
{
    const PageValues values = pageValuesFrom(info);
    std::vector<ValueLine> lines;
    for (const SettableValue& value : settableValues()) {
        lines.push_back({value.name, std::nullopt});
        if (isPresent(info, value)) lines.back().text = valueText(values, value);
    }
    const std::vector<ReadOnlyValue> readOnly = readOnlyValues(info);
    for (std::string_view name : readOnlyNames) {
        lines.push_back({std::string(name), std::nullopt});
        for (const ReadOnlyValue& value : readOnly)
            if (value.name == name) lines.back().text = value.text;
    }
    return lines;
}

std::vector<ShownLine> valueLines(const BiosInfo& info)
{
    std::vector<ShownLine> lines;
    for (ValueLine& line : allValueLines(info))
        if (line.text) lines.push_back({std::move(line.name), std::move(*line.text)});
    return lines;
}

}  // namespace veltra::cli
