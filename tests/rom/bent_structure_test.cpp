// Every byte of a real image's structure, bent: the load either refuses the
// file with a message that names the damaged part, or reads every field
// inside the table that really holds it, with the values of the intact
// image. Anything else would have a save write where the file does not say.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <sstream>

#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

using testing::StructuredImage;
using testing::StructuredSpec;

// The forms that tell a wrong reading from a right one: the stock 680 build,
// whose fields lie away from the built-in offsets, in both file forms, and a
// raw dump whose legacy image a UEFI image and a table after it follow.
const std::pair<const char*, std::function<StructuredSpec()>> forms[] = {
    {"stock 680, 0x400 header", [] { return testing::stock680Spec(); }},
    {"stock 680, raw", [] {
         StructuredSpec spec = testing::stock680Spec();
         spec.imageOffset = 0;
         return spec;
     }},
    {"660 Ti, raw, UEFI image and a table after it", [] {
         StructuredSpec spec;
         spec.values.board = BoardModel::Gtx660Ti;
         spec.uefiLength = 0x2000;
         spec.powerTableAfterUefi = true;
         return spec;
     }},
};

// The bytes of each part of the structure.
using Bytes = std::vector<std::uint32_t>;
Bytes span(std::uint32_t first, std::uint32_t count)
{
    Bytes bytes(count);
    for (std::uint32_t i = 0; i < count; ++i)
        bytes[i] = first + i;
    return bytes;
}
const std::pair<const char*, std::function<Bytes(const StructuredImage&)>> structures[] = {
    {"option-ROM header", [](const StructuredImage& i) { return span(i.imageOffset, 0x1A); }},
    // Its ids are values, not structure: other ids are another board.
    {"PCI structure", [](const StructuredImage& i) {
         Bytes bytes = span(i.pcir, 0x18);
         bytes.erase(bytes.begin() + 4, bytes.begin() + 8);
         return bytes;
     }},
    {"NPDE", [](const StructuredImage& i) { return span(i.npde, 0x10); }},
    {"information table and tokens", [](const StructuredImage& i) { return span(i.bit, 12 + 8 * 6); }},
    {"string data", [](const StructuredImage& i) { return span(i.sData, 0x11); }},
    {"pointer data", [](const StructuredImage& i) { return span(i.pData, 0x3C); }},
    // Its header, then each entry's P-state id.
    {"performance table", [](const StructuredImage& i) {
         const std::uint32_t t = i.tables.performance, header = i.bytes[t + 1];
         Bytes bytes = span(t, header);
         for (std::uint32_t entry = 0; entry < 4; ++entry)
             bytes.push_back(t + header + entry * (21 + 9 * 4));
         return bytes;
     }},
    {"virtual P-state table", [](const StructuredImage& i) { return span(i.tables.virtualPState, 18); }},
    {"voltage-frequency table", [](const StructuredImage& i) { return span(i.tables.voltageFrequency, 6); }},
    {"power policy table", [](const StructuredImage& i) { return span(i.tables.powerPolicy, 13); }},
    {"thermal table", [](const StructuredImage& i) { return span(i.tables.thermal, 4); }},
    {"voltage map table", [](const StructuredImage& i) { return span(i.tables.voltageMap, 12); }},
};

// What a structure refusal says: it names the image, a table, or the tables.
const std::regex structureMessage(
    "Bios image (header is damaged|length is wrong|does not fit in the file)!|Cannot find the [a-z ]+!|"
    "Unknown [a-z ]+ (version|layout)!|[A-Z][a-z ]+ (does not fit in the file|is too small)!|Bios tables overlap!");

std::string values(const BiosInfo& info)
{
    std::ostringstream out;
    out << info.vendorId << ' ' << info.deviceId << ' ' << info.gpuClock.value << ' ' << info.boostClock.value << ' '
        << info.memClock.value << ' ' << info.powerDefault.value << ' ' << info.powerMax.value << ' '
        << info.powerLimitLo.value << ' ' << info.powerLimitHi.value << ' ' << int{info.fanMin.value} << ' '
        << int{info.fanMax.value} << ' ' << info.voltage[0].value;
    for (const auto& entry : info.boostTable)
        out << ' ' << entry.value;
    return out.str();
}

// The first field, by name, that lies outside the table that holds it in the
// intact image; empty when none does.
std::string fieldOutsideItsTable(const BiosInfo& info, const StructuredImage& image)
{
    const testing::TableStarts &start = image.tables, &end = image.tableEnds;
    const auto in = [](std::uint32_t offset, std::uint32_t width, std::uint32_t first, std::uint32_t last) {
        return offset >= first && offset + width <= last;
    };
    using T = testing::TableStarts;
    const auto inTable = [&](std::uint32_t offset, std::uint32_t width, std::uint32_t T::*table) {
        return in(offset, width, start.*table, end.*table);
    };
    if (info.layout.source != LayoutSource::ImageTables)
        return "the layout";
    if (info.checksumReadOffset != image.fields.at.checksumReadOffset ||
        info.checksumWriteOffset != info.checksumReadOffset)
        return "the checksum byte";
    if (!inTable(info.gpuClock.offset, 2, &T::virtualPState) || !inTable(info.boostClock.offset, 2, &T::virtualPState))
        return "a clock";
    if (!inTable(info.memClock.offset, 2, &T::performance) ||
        (info.memClock.secondOffset != 0 && !inTable(info.memClock.secondOffset, 2, &T::performance)))
        return "the memory clock";
    for (const auto& entry : info.boostTable)
        if (!inTable(entry.offset, 2, &T::voltageFrequency))
            return "a boost entry";
    for (const auto* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
        if (!inTable(power->offset, 4, &T::powerPolicy))
            return "a power value";
    if (!inTable(info.fanMin.offset, 1, &T::thermal) || !inTable(info.fanMax.offset, 1, &T::thermal))
        return "a fan byte";
    for (const auto& slot : info.voltage)
        if (!inTable(slot.offset, 4, &T::voltageMap))
            return "a voltage slot";
    return {};
}

TEST(BentStructure, IsRefusedByNameOrReadInsideItsOwnTables)
{
    testing::MessageRecorder messages;
    for (const auto& [form, specOf] : forms) {
        const StructuredImage intact = testing::buildStructuredImage(specOf());
        BiosInfo info;
        ASSERT_TRUE(loadRomBytes(intact.bytes.data(), intact.bytes.size(), info)) << form;
        const std::string intactValues = values(info);
        ASSERT_EQ(fieldOutsideItsTable(info, intact), "") << form;

        for (const auto& [structure, bytesOf] : structures) {
            const Bytes bent = bytesOf(intact);
            for (const std::uint32_t at : bent) {
                const std::uint8_t was = intact.bytes[at];
                for (const std::uint8_t to : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t(was ^ 0x01),
                                                std::uint8_t(was ^ 0x10), std::uint8_t(was ^ 0x80)}) {
                    if (to == was)
                        continue;
                    std::vector<std::uint8_t> bytes = intact.bytes;
                    bytes[at] = to;
                    messages.clear();
                    const bool loaded = loadRomBytes(bytes.data(), bytes.size(), info);
                    const std::string where = std::string(form) + ", " + structure + ", byte +" +
                                              std::to_string(at - bent.front()) + " = " + std::to_string(to);
                    if (!loaded) {
                        ASSERT_EQ(messages.messages().size(), 1u) << where;
                        EXPECT_TRUE(std::regex_match(messages.messages().front(), structureMessage))
                            << where << ": " << messages.messages().front();
                        continue;
                    }
                    EXPECT_EQ(fieldOutsideItsTable(info, intact), "") << where;
                    EXPECT_EQ(values(info), intactValues) << where;
                }
            }
        }
    }
}

}  // namespace
}  // namespace veltra
