#include "tests/hardening/hardening_support.h"

#include <bit>
#include <sstream>

namespace veltra::testing {
namespace {

void field(std::ostringstream& out, const char* name, std::uint32_t offset, std::uint64_t value)
{
    out << name << '@' << offset << '=' << value << '\n';
}

void clock(std::ostringstream& out, const char* name, const FieldLoc<float>& loc)
{
    field(out, name, loc.offset, std::bit_cast<std::uint32_t>(loc.value));
}

void text(std::ostringstream& out, const char* name, const TextLoc& loc)
{
    out << name << '@' << loc.offset << '=';
    for (std::uint8_t byte : loc.text)
        out << static_cast<unsigned>(byte) << ',';
    out << '\n';
}

}  // namespace

std::string dump(const BiosInfo& info)
{
    std::ostringstream out;
    field(out, "fanMin", info.fanMin.offset, info.fanMin.value);
    field(out, "fanMax", info.fanMax.offset, info.fanMax.value);
    clock(out, "gpuClock", info.gpuClock);
    clock(out, "boostClock", info.boostClock);
    clock(out, "memClock", info.memClock);
    out << "memClock.second=" << info.memClock.secondOffset << '\n';
    field(out, "powerDefault", info.powerDefault.offset, info.powerDefault.value);
    field(out, "powerMax", info.powerMax.offset, info.powerMax.value);
    field(out, "powerLimitLo", info.powerLimitLo.offset, info.powerLimitLo.value);
    field(out, "powerLimitHi", info.powerLimitHi.offset, info.powerLimitHi.value);
    for (const auto& entry : info.boostTable)
        clock(out, "boost", entry);
    text(out, "versionText", info.versionText);
    text(out, "boardText", info.boardText);
    text(out, "dateText", info.dateText);
    out << "ids=" << info.vendorId << ':' << info.deviceId << '\n';
    out << "checksum=" << info.checksumWriteOffset << ',' << unsigned{info.checksumComputed} << ','
        << info.checksumReadOffset << ',' << unsigned{info.checksumStored} << '\n';
    for (const auto& slot : info.voltage)
        field(out, "voltage", slot.offset, slot.value);
    out << "layout=" << (info.layout.source == LayoutSource::ImageTables ? "image tables" : "built-in") << ",image@"
        << (info.layout.imageOffset ? std::to_string(*info.layout.imageOffset) : "none") << ",ids@"
        << info.layout.idsOffset << ",checksum from " << info.layout.checksumStartOffset << '\n';
    return out.str();
}

ImageSnapshot ImageSnapshot::ofRomImage()
{
    return {romImage().bytes, romImage().loadedLength};
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> ownedSpans(const BiosInfo& info)
{
    // An absent field owns no byte: a save must leave its offset alone.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans = {{info.checksumWriteOffset, 1}};
    const auto add = [&spans](const auto& field, std::uint32_t width) {
        if (field.present)
            spans.push_back({field.offset, width});
    };
    add(info.fanMin, 1);
    add(info.fanMax, 1);
    add(info.gpuClock, 2);
    add(info.boostClock, 2);
    add(info.memClock, 2);
    for (const auto* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
        add(*power, 4);
    if (info.memClock.present && info.memClock.secondOffset != 0)
        spans.push_back({info.memClock.secondOffset, 2});
    for (const auto& entry : info.boostTable)
        add(entry, 2);
    for (const auto& slot : info.voltage)
        add(slot, 4);
    return spans;
}

std::vector<bool> ownedBytes(const BiosInfo& info)
{
    std::vector<bool> owned(RomImage::capacity, false);
    for (const auto& [offset, width] : ownedSpans(info))
        for (std::uint32_t i = 0; i < width; ++i)
            owned[offset + i] = true;
    return owned;
}

std::string describe(bool result, const std::vector<std::string>& messages, bool imageUnchanged)
{
    std::string line = result ? "true" : "false";
    for (const std::string& message : messages)
        line += " | " + message;
    line += imageUnchanged ? " | image unchanged" : " | image changed";
    return line;
}

}  // namespace veltra::testing
