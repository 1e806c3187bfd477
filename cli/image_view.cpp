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

std::vector<FieldOffsets> fieldOffsets(const BiosInfo& info)
{
    std::vector<FieldOffsets> fields = {
        {"board", "board", {info.boardText.offset}},
        {"date", "date", {info.dateText.offset}},
        {"version", "version", {info.versionText.offset}},
        {"device-id", "deviceId", {info.layout.idsOffset, info.layout.idsOffset + 2}},
        {"checksum", "checksum", {info.checksumReadOffset}},
        {"checksum-range", "checksumRange", {info.layout.checksumStartOffset, info.checksumReadOffset - 1}},
        {"gpu-clock", "gpuClock", {info.gpuClock.offset}},
        {"boost-clock", "boostClock", {info.boostClock.offset}},
        {"mem-clock", "memClock", {info.memClock.offset}},
    };
    if (info.memClock.secondOffset != 0) fields.back().offsets.push_back(info.memClock.secondOffset);
    FieldOffsets boost{"", "boostTable", {}};
    for (const auto& entry : info.boostTable) boost.offsets.push_back(entry.offset);
    fields.push_back(boost);
    fields.insert(fields.end(), {
        {"power-default", "powerDefault", {info.powerDefault.offset}},
        {"power-max", "powerMax", {info.powerMax.offset}},
        {"power-limit-lo", "powerLimitLo", {info.powerLimitLo.offset}},
        {"power-limit-hi", "powerLimitHi", {info.powerLimitHi.offset}},
        {"fan-min", "fanMin", {info.fanMin.offset}},
        {"fan-max", "fanMax", {info.fanMax.offset}},
        {"voltage", "voltage", {}},
    });
    for (const auto& slot : info.voltage) fields.back().offsets.push_back(slot.offset);
    return fields;
}

std::vector<ShownLine> offsetLines(const BiosInfo& info)
{
    const auto joined = [](const std::vector<std::uint32_t>& offsets, const char* separator) {
        std::string text;
        for (std::uint32_t offset : offsets) text += (text.empty() ? "" : separator) + hexOffset(offset);
        return text;
    };
    std::vector<ShownLine> lines;
    for (const FieldOffsets& field : fieldOffsets(info)) {
        if (field.name.empty()) {
            // The boost entries by the names set takes, one line each.
            for (std::size_t k = 0; k < field.offsets.size(); ++k)
                lines.push_back({boostEntryName(k), hexOffset(field.offsets[k])});
            continue;
        }
        lines.push_back({field.name, joined(field.offsets, field.name == "checksum-range" ? " - " : " ")});
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
