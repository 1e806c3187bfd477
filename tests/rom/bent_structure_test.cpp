// Every byte of a real image's structure, bent: the load either refuses the
// file with a message that names the damaged part, or reads every field
// inside the table that really holds it. A byte of the structure proper (a
// size, a count, a version, a pointer) leaves every field it still reads
// where and as it was; a byte that names an entry (an index in a header, a
// P-state, a range) is a value of its table, and may move a field to
// another entry of that table. Anything else would have a save write where
// the file does not say.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <regex>

#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

using testing::StructuredImage;
using testing::StructuredSpec;

// The forms that tell a wrong reading from a right one: the stock 680 build,
// whose fields lie away from the built-in offsets, in both file forms; a raw
// dump whose legacy image a UEFI image and a table after it follow; and one
// image of each family of the other boards.
std::vector<std::pair<std::string, std::function<StructuredSpec()>>> forms()
{
    std::vector<std::pair<std::string, std::function<StructuredSpec()>>> all = {
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
    for (const testing::BoardFamily family : testing::boardFamilies)
        all.emplace_back(testing::familyName(family), [family] { return testing::familySpec(family); });
    return all;
}

// A structure byte must leave the fields as they were; a value byte may
// move them inside their tables. A byte of the image's length may move the
// checksum byte too, but then the checksum read no longer matches, which
// the user sees before any save.
enum class Kind { Structure, Value, Length };
struct Bent {
    std::uint32_t at;
    Kind kind;
};
using Bytes = std::vector<Bent>;

void span(Bytes& bytes, std::uint32_t first, std::uint32_t count, Kind kind = Kind::Structure)
{
    for (std::uint32_t i = 0; i < count; ++i)
        bytes.push_back({first + i, kind});
}
Bytes span(std::uint32_t first, std::uint32_t count)
{
    Bytes bytes;
    span(bytes, first, count);
    return bytes;
}
// A table's header, with the bytes that name entries as values.
Bytes header(std::uint32_t table, std::uint32_t size, std::initializer_list<std::uint32_t> values)
{
    Bytes bytes = span(table, size);
    for (const std::uint32_t at : values)
        bytes[at].kind = Kind::Value;
    return bytes;
}
// One byte (or `width`) of each entry, as values.
void entries(Bytes& bytes, std::uint32_t first, std::uint32_t stride, std::uint32_t count, std::uint32_t plus,
             std::uint32_t width = 1)
{
    for (std::uint32_t i = 0; i < count; ++i)
        span(bytes, first + i * stride + plus, width, Kind::Value);
}

const std::pair<const char*, std::function<Bytes(const StructuredImage&)>> structures[] = {
    {"option-ROM header", [](const StructuredImage& i) { return span(i.imageOffset, 0x1A); }},
    // Its ids are values, not structure: other ids are another board. Its
    // length and image length say where NPDE and the image end.
    {"PCI structure", [](const StructuredImage& i) {
         Bytes bytes = span(i.pcir, 0x18);
         for (const std::uint32_t at : {0x0A, 0x0B, 0x10, 0x11})
             bytes[at].kind = Kind::Length;
         bytes.erase(bytes.begin() + 4, bytes.begin() + 8);
         return bytes;
     }},
    {"NPDE", [](const StructuredImage& i) {
         Bytes bytes;
         span(bytes, i.npde, 0x10, Kind::Length);
         return bytes;
     }},
    {"information table and tokens", [](const StructuredImage& i) { return span(i.bit, 12 + 9 * 6); }},
    {"string data", [](const StructuredImage& i) { return span(i.sData, 0x11); }},
    {"pointer data", [](const StructuredImage& i) { return span(i.pData, i.pSize); }},
    // Its pointer, and the table's header and each strap's type.
    {"memory type table", [](const StructuredImage& i) {
         Bytes bytes = span(i.mData + 3, 2);
         const std::uint32_t t = i.memoryTypes, size = i.bytes[t + 1];
         span(bytes, t, size);
         entries(bytes, t + size, i.bytes[t + 2], i.bytes[t + 3], 0);
         return bytes;
     }},
    {"performance table", [](const StructuredImage& i) {
         const std::uint32_t t = i.tables.performance, size = i.bytes[t + 1];
         Bytes bytes = header(t, size, {});
         entries(bytes, t + size, i.bytes[t + 2] + 9 * 4, 4, 0);  // each entry's P-state
         return bytes;
     }},
    {"virtual P-state table", [](const StructuredImage& i) {
         const std::uint32_t t = i.tables.virtualPState, size = i.bytes[t + 1];
         Bytes bytes = header(t, size, {16, 17});
         entries(bytes, t + size, 5 + 2, i.bytes[t + 5], 0);  // each entry's P-state
         return bytes;
     }},
    {"voltage-frequency table", [](const StructuredImage& i) {
         const std::uint32_t t = i.tables.voltageFrequency, size = i.bytes[t + 1];
         Bytes bytes = header(t, size, {});
         entries(bytes, t + size, i.bytes[t + 2], i.bytes[t + 3], 0, 4);  // P-state word and range
         return bytes;
     }},
    {"power policy table", [](const StructuredImage& i) {
         const std::uint32_t t = i.tables.powerPolicy;
         return header(t, i.bytes[t + 1], {9, 10});
     }},
    {"thermal table", [](const StructuredImage& i) {
         Bytes bytes = span(i.tables.thermal, 4);
         entries(bytes, i.tables.thermal + 4, 3, 14, 0);  // each entry's id
         return bytes;
     }},
    {"voltage map table", [](const StructuredImage& i) {
         const std::uint32_t t = i.tables.voltageMap, size = i.bytes[t + 1], entrySize = i.bytes[t + 2];
         Bytes bytes = header(t, size, {7, 8});
         // The mode and first further coefficient of the two entries it names.
         for (const std::uint32_t named : {i.bytes[t + 7], i.bytes[t + 8]})
             if (named != 0xFF) {
                 span(bytes, t + size + named * entrySize, 1, Kind::Value);
                 span(bytes, t + size + named * entrySize + 14, 4, Kind::Value);
             }
         return bytes;
     }},
    {"clock range table", [](const StructuredImage& i) {
         const std::uint32_t t = i.tables.clockRange;
         if (t == 0)
             return Bytes{};
         Bytes bytes = span(t, 6);
         entries(bytes, t + i.bytes[t + 1], i.bytes[t + 2] + i.bytes[t + 3] * i.bytes[t + 4], i.bytes[t + 5], 0, 2);
         return bytes;
     }},
    {"fan cooler table", [](const StructuredImage& i) {
         return i.tables.cooler == 0 ? Bytes{} : span(i.tables.cooler, 4);
     }},
};

// What a structure refusal says: it names the image, a table, or the tables.
const std::regex structureMessage(
    "Bios image (header is damaged|length is wrong|does not fit in the file)!|Cannot find the [a-z ]+!|"
    "Unknown [a-z ]+ (version|layout)!|[A-Z][a-z ]+ (does not fit in the file|is too small)!|Bios tables overlap!");

// Each field the load can present, with the table the intact image holds it in.
struct Located {
    const char* name;
    bool present;
    std::uint32_t offset, width;
    float value;
    std::uint32_t testing::TableStarts::*table;
};

std::vector<Located> located(const BiosInfo& info)
{
    using T = testing::TableStarts;
    std::vector<Located> all;
    const auto add = [&](const char* name, const auto& field, std::uint32_t width, std::uint32_t T::*table) {
        all.push_back({name, field.present, field.offset, width, static_cast<float>(field.value), table});
    };
    add("GPU clock", info.gpuClock, 2, &T::virtualPState);
    add("boost clock", info.boostClock, 2, &T::virtualPState);
    add("memory clock", info.memClock, 2, &T::performance);
    if (info.memClock.present && info.memClock.secondOffset != 0)
        all.push_back({"memory clock copy", true, info.memClock.secondOffset, 2, 0, &T::performance});
    for (const auto& entry : info.boostTable)
        add("a ladder entry", entry, 2, &T::voltageFrequency);
    add("default power", info.powerDefault, 4, &T::powerPolicy);
    add("maximum power", info.powerMax, 4, &T::powerPolicy);
    add("power limit lo", info.powerLimitLo, 4, &T::powerPolicy);
    add("power limit hi", info.powerLimitHi, 4, &T::powerPolicy);
    add("fan minimum", info.fanMin, 1, &T::thermal);
    add("fan maximum", info.fanMax, 1, &T::thermal);
    for (const auto& slot : info.voltage)
        add("a voltage slot", slot, 4, &T::voltageMap);
    add("boost limit", info.boostLimit, 2, &T::clockRange);
    add("cooler fan minimum", info.coolerFanMin, 1, &T::cooler);
    add("cooler fan maximum", info.coolerFanMax, 1, &T::cooler);
    return all;
}

// Why a load is wrong; empty when it is not. After a structure byte, every
// field still read is the intact one, at its place with its value (a field
// may drop out, the ladder only whole); after a value byte, every field
// lies inside the table that holds it in the intact image.
std::string wrongness(const BiosInfo& info, const BiosInfo& intact, const StructuredImage& image, Kind kind)
{
    if (info.layout.source != LayoutSource::ImageTables)
        return "the layout";
    const bool checksumShown = kind == Kind::Length && info.checksumStored != info.checksumComputed;
    if ((info.checksumReadOffset != intact.checksumReadOffset && !checksumShown) ||
        info.checksumWriteOffset != info.checksumReadOffset)
        return "the checksum byte";
    for (const Located& field : located(info)) {
        if (!field.present)
            continue;
        const std::uint32_t start = image.tables.*field.table, end = image.tableEnds.*field.table;
        if (start == 0 || field.offset < start || field.offset + field.width > end)
            return std::string(field.name) + " outside its table";
    }
    if (kind == Kind::Value)
        return {};
    if (!info.boostTable.empty() && info.boostTable != intact.boostTable)
        return "the ladder";
    if (info.memClock.present && (info.memClock.coding != intact.memClock.coding ||
                                  (info.memClock.secondOffset != 0 &&
                                   info.memClock.secondOffset != intact.memClock.secondOffset)))
        return "the memory clock's coding or copy";
    const auto keeps = [](const auto& now, const auto& was) {
        return !now.present || (was.present && now.offset == was.offset && now.value == was.value);
    };
    if (!keeps(info.gpuClock, intact.gpuClock) || !keeps(info.boostClock, intact.boostClock) ||
        !keeps(static_cast<const FieldLoc<float>&>(info.memClock), static_cast<const FieldLoc<float>&>(intact.memClock)))
        return "a clock moved, or appeared";
    for (const auto power : {&BiosInfo::powerDefault, &BiosInfo::powerMax, &BiosInfo::powerLimitLo, &BiosInfo::powerLimitHi})
        if (!keeps(info.*power, intact.*power))
            return "a power value moved, or appeared";
    for (const auto fan : {&BiosInfo::fanMin, &BiosInfo::fanMax, &BiosInfo::coolerFanMin, &BiosInfo::coolerFanMax})
        if (!keeps(info.*fan, intact.*fan))
            return "a fan value moved, or appeared";
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        if (!keeps(info.voltage[slot], intact.voltage[slot]))
            return "a voltage slot moved, or appeared";
    if (!keeps(info.boostLimit, intact.boostLimit))
        return "the boost limit moved, or appeared";
    return {};
}

bool sameFields(const BiosInfo& a, const BiosInfo& b)
{
    return a.gpuClock == b.gpuClock && a.boostClock == b.boostClock && a.memClock == b.memClock &&
           a.boostTable == b.boostTable && a.powerDefault == b.powerDefault && a.powerMax == b.powerMax &&
           a.powerLimitLo == b.powerLimitLo && a.powerLimitHi == b.powerLimitHi && a.fanMin == b.fanMin &&
           a.fanMax == b.fanMax && a.voltage == b.voltage && a.boostLimit == b.boostLimit &&
           a.coolerFanMin == b.coolerFanMin && a.coolerFanMax == b.coolerFanMax &&
           a.checksumReadOffset == b.checksumReadOffset;
}

TEST(BentStructure, IsRefusedByNameOrReadInsideItsOwnTables)
{
    testing::MessageRecorder messages;
    for (const auto& [form, specOf] : forms()) {
        const StructuredImage intact = testing::buildStructuredImage(specOf());
        BiosInfo info;
        ASSERT_TRUE(loadRomBytes(intact.bytes.data(), intact.bytes.size(), info)) << form;
        const BiosInfo intactInfo = info;
        ASSERT_EQ(wrongness(info, intactInfo, intact, Kind::Structure), "") << form;
        const bool builtInRules = hasBuiltInRules(info);

        std::size_t refused = 0, same = 0, fewer = 0, moved = 0, wrong = 0;
        for (const auto& [structure, bytesOf] : structures) {
            const Bytes bent = bytesOf(intact);
            for (const Bent& byte : bent) {
                const std::uint8_t was = intact.bytes[byte.at];
                for (const std::uint8_t to : {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t(was ^ 0x01),
                                                std::uint8_t(was ^ 0x10), std::uint8_t(was ^ 0x80)}) {
                    if (to == was)
                        continue;
                    std::vector<std::uint8_t> bytes = intact.bytes;
                    bytes[byte.at] = to;
                    // The checksum made good again: a bend is not refused for
                    // the sum alone, as a shorter checksummed part would be.
                    const std::uint32_t checksumAt = intact.imageOffset + intact.imageLength - 1;
                    std::uint8_t sum = 0;
                    for (std::uint32_t at = intact.imageOffset; at < checksumAt; ++at)
                        sum = static_cast<std::uint8_t>(sum + bytes[at]);
                    bytes[checksumAt] = static_cast<std::uint8_t>(0x100 - sum);
                    messages.clear();
                    const bool loaded = loadRomBytes(bytes.data(), bytes.size(), info);
                    const std::string where = form + ", " + structure + ", byte +" +
                                              std::to_string(byte.at - bent.front().at) + " = " + std::to_string(to);
                    if (!loaded) {
                        ++refused;
                        ASSERT_EQ(messages.messages().size(), 1u) << where;
                        const std::string& message = messages.messages().front();
                        // The three boards' maps always agree: a disagreement is damage, said by name.
                        EXPECT_TRUE(std::regex_match(message, structureMessage) ||
                                    (builtInRules && message == "Read voltage error!"))
                            << where << ": " << message;
                        continue;
                    }
                    const std::string why = wrongness(info, intactInfo, intact, byte.kind);
                    EXPECT_EQ(why, "") << where;
                    if (!why.empty())
                        ++wrong;
                    else if (sameFields(info, intactInfo))
                        ++same;
                    else if (wrongness(info, intactInfo, intact, Kind::Structure).empty())
                        ++fewer;
                    else
                        ++moved;
                }
            }
        }
        // The measure of the sweep, for the record.
        std::printf("[ bent     ] %s: %zu refused by name, %zu intact, %zu with fields left out, %zu moved "
                    "inside their tables, %zu wrong\n",
                    form.c_str(), refused, same, fewer, moved, wrong);
    }
}

}  // namespace
}  // namespace veltra
