// The other boards of the generation, one built image per family: which
// fields their tables hold and which they leave out, the values and where
// they come from, and that a save writes the present fields and the
// checksum byte and nothing else - never an absent field, never a read-only
// value.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <set>

#include "rom/rom.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

using testing::BoardFamily;
using testing::StructuredImage;

using Pair = std::array<std::uint8_t, 2>;
using Watts = std::array<std::uint32_t, 2>;

// A present value and the table entry that holds it; none: absent.
template <typename T>
struct Held {
    T value;
    std::uint32_t entry;
};

struct Family {
    BoardFamily family;
    const char* name;
    std::optional<Held<float>> gpuClock, boostClock;
    Held<float> memClock;
    MemClockCoding coding;
    std::optional<std::uint32_t> memClockCopyEntry;
    std::size_t ladder;                // entries
    std::uint32_t ladderFirstEntry;    // its extra entry
    float ladderFirst, ladderLast;
    std::optional<Held<Watts>> powerLimits, powerDefaults;
    std::optional<Held<Pair>> fan;
    std::optional<Held<std::uint32_t>> voltage;
    std::optional<float> boostLimit;
    std::optional<Pair> coolerFan;
    // The memory clock a save is given, and the word it must write.
    float editedMemClock;
    std::uint16_t editedMemWord;
};

const Family families[] = {
    {.family = BoardFamily::Gtx770, .name = "GeForce GTX 770",
     .gpuClock = {{1045.5f, 1}}, .boostClock = {{1084.5f, 0}},
     .memClock = {1752.5f, 2}, .coding = MemClockCoding::HalfMhz, .memClockCopyEntry = 3,
     .ladder = 52, .ladderFirstEntry = 1, .ladderFirst = 536.0f, .ladderLast = 1199.0f,
     .powerLimits = {{{228, 243}, 7}}, .powerDefaults = {},
     .fan = {{{30, 100}, 5}}, .voltage = {},  // its second entry is of mode 1
     .boostLimit = 1199.0f, .coolerFan = Pair{20, 100},
     .editedMemClock = 1800.0f, .editedMemWord = 0x4000 | 3600},
    {.family = BoardFamily::Gtx780, .name = "GeForce GTX 780",
     .gpuClock = {{967.0f, 2}}, .boostClock = {{1019.5f, 0}},
     .memClock = {1502.0f, 2}, .coding = MemClockCoding::HalfMhz, .memClockCopyEntry = {},
     .ladder = 51, .ladderFirstEntry = 2, .ladderFirst = 549.0f, .ladderLast = 1199.0f,
     .powerLimits = {{{250, 265}, 5}}, .powerDefaults = {},
     .fan = {{{25, 90}, 11}}, .voltage = {},  // polynomials
     .boostLimit = 1199.0f, .coolerFan = Pair{20, 100},
     .editedMemClock = 1600.5f, .editedMemWord = 0x4000 | 3201},
    {.family = BoardFamily::Gtx650Ti, .name = "GeForce GTX 650 Ti",
     .gpuClock = {}, .boostClock = {},
     .memClock = {1350.0f, 1}, .coding = MemClockCoding::HalfMhz, .memClockCopyEntry = {},
     .ladder = 0, .ladderFirstEntry = 0, .ladderFirst = 0, .ladderLast = 0,
     .powerLimits = {}, .powerDefaults = {},
     .fan = {{{21, 100}, 9}}, .voltage = {},  // its two entries disagree
     .boostLimit = {}, .coolerFan = {},
     .editedMemClock = 1400.0f, .editedMemWord = 0x4000 | 2800},
    {.family = BoardFamily::Gt640, .name = "GeForce GT 640 OEM",
     .gpuClock = {}, .boostClock = {},  // a clock table without entries
     .memClock = {891.0f, 2}, .coding = MemClockCoding::Mhz, .memClockCopyEntry = {},
     .ladder = 0, .ladderFirstEntry = 0, .ladderFirst = 0, .ladderLast = 0,
     .powerLimits = {}, .powerDefaults = {},  // version 0x10
     .fan = {{{40, 100}, 9}}, .voltage = {},
     .boostLimit = {}, .coolerFan = {},
     // DDR3 words count whole MHz: the half is dropped.
     .editedMemClock = 950.5f, .editedMemWord = 0x4000 | 950},
    {.family = BoardFamily::Gt710, .name = "GeForce GT 710",
     .gpuClock = {{954.0f, 3}}, .boostClock = {},  // one clock
     .memClock = {900.0f, 2}, .coding = MemClockCoding::Mhz, .memClockCopyEntry = {},
     .ladder = 23, .ladderFirstEntry = 20, .ladderFirst = 668.0f, .ladderLast = 954.0f,
     .powerLimits = {}, .powerDefaults = {},
     .fan = {{{40, 80}, 9}}, .voltage = {},
     .boostLimit = 954.0f, .coolerFan = {},
     .editedMemClock = 1000.0f, .editedMemWord = 0x4000 | 1000},
    {.family = BoardFamily::Mobile, .name = "GeForce GT 650M",
     .gpuClock = {{735.0f, 1}}, .boostClock = {},
     .memClock = {1000.0f, 1}, .coding = MemClockCoding::HalfMhz, .memClockCopyEntry = {},
     .ladder = 15, .ladderFirstEntry = 6, .ladderFirst = 550.0f, .ladderLast = 732.0f,
     .powerLimits = {}, .powerDefaults = {},
     .fan = {}, .voltage = {{1100, 0}},
     .boostLimit = {}, .coolerFan = {},
     // Its word has bit 15 and not 0x4000: both kept as found.
     .editedMemClock = 900.0f, .editedMemWord = 0x8000 | 1800},
};

template <typename T, typename Expected>
void expectHeld(const FieldLoc<T>& field, const std::optional<Expected>& expected, const char* table,
                std::uint32_t builtAt, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(field.present, expected.has_value());
    if (!expected)
        return;
    EXPECT_EQ(field.value, expected->value);
    EXPECT_STREQ(field.origin.table, table);
    EXPECT_EQ(field.origin.entry, expected->entry);
    EXPECT_EQ(field.offset, builtAt);
}

// Splits a watts pair into the two fields' expectations.
std::optional<Held<std::uint32_t>> part(const std::optional<Held<Watts>>& pair, std::size_t which)
{
    if (!pair)
        return std::nullopt;
    return Held<std::uint32_t>{pair->value[which], pair->entry};
}
std::optional<Held<std::uint8_t>> byte(const std::optional<Held<Pair>>& pair, std::size_t which)
{
    if (!pair)
        return std::nullopt;
    return Held<std::uint8_t>{pair->value[which], pair->entry};
}

TEST(Families, EachFieldIsReadFromTheEntryItsTableNamesOrIsAbsent)
{
    for (const Family& f : families) {
        SCOPED_TRACE(testing::familyName(f.family));
        const StructuredImage image = testing::buildStructuredImage(testing::familySpec(f.family));
        const testing::BoardOffsets& at = image.fields.at;
        const testing::MessageRecorder messages;
        BiosInfo info;
        ASSERT_TRUE(loadRomBytes(image.bytes.data(), image.bytes.size(), info));
        EXPECT_TRUE(messages.messages().empty());

        const BoardEntry* board = findBoard(info.vendorId, info.deviceId);
        ASSERT_NE(board, nullptr);
        EXPECT_STREQ(board->displayName, f.name);
        EXPECT_FALSE(hasBuiltInRules(info));
        EXPECT_EQ(info.layout.source, LayoutSource::ImageTables);
        EXPECT_EQ(info.checksumReadOffset, at.checksumReadOffset);
        EXPECT_EQ(info.checksumStored, info.checksumComputed);

        expectHeld(info.gpuClock, f.gpuClock, "clock table", at.gpuClock, "GPU clock");
        expectHeld(info.boostClock, f.boostClock, "clock table", at.boostClock, "boost clock");
        expectHeld<float, Held<float>>(info.memClock, f.memClock, "memory clock table", at.memClock, "memory clock");
        EXPECT_EQ(info.memClock.coding, f.coding);
        EXPECT_EQ(info.memClock.secondOffset, at.memClockSecond);
        EXPECT_EQ(info.memClock.secondOrigin.entry, f.memClockCopyEntry.value_or(0));
        EXPECT_EQ(info.memClock.secondOrigin.table != nullptr, f.memClockCopyEntry.has_value());

        ASSERT_EQ(info.boostTable.size(), f.ladder);
        ASSERT_EQ(image.fields.ladder.size(), f.ladder);
        for (std::size_t k = 0; k < f.ladder; ++k) {
            EXPECT_EQ(info.boostTable[k].offset, image.fields.ladder[k]) << "ladder entry " << k;
            EXPECT_STREQ(info.boostTable[k].origin.table, "boost table");
            EXPECT_EQ(info.boostTable[k].origin.entry, f.ladderFirstEntry + k);
        }
        if (f.ladder > 0) {
            EXPECT_EQ(info.boostTable.front().value, f.ladderFirst);
            EXPECT_EQ(info.boostTable.back().value, f.ladderLast);
        }

        expectHeld(info.powerLimitLo, part(f.powerLimits, 0), "power table", at.powerLimitLo, "power limit lo");
        expectHeld(info.powerLimitHi, part(f.powerLimits, 1), "power table", at.powerLimitHi, "power limit hi");
        expectHeld(info.powerDefault, part(f.powerDefaults, 0), "power table", at.powerDefault, "default power");
        expectHeld(info.powerMax, part(f.powerDefaults, 1), "power table", at.powerMax, "maximum power");
        expectHeld(info.fanMin, byte(f.fan, 0), "fan table", at.fanMin, "fan minimum");
        expectHeld(info.fanMax, byte(f.fan, 1), "fan table", at.fanMax, "fan maximum");
        expectHeld(info.voltage[0], f.voltage, "voltage table", at.voltage[0], "voltage");
        for (const auto& slot : info.voltage)
            EXPECT_EQ(slot.present, f.voltage.has_value());

        ASSERT_EQ(info.boostLimit.present, f.boostLimit.has_value());
        if (f.boostLimit) {
            EXPECT_EQ(info.boostLimit.value, *f.boostLimit);
            EXPECT_EQ(info.boostLimit.offset, image.fields.boostLimit);
            EXPECT_STREQ(info.boostLimit.origin.table, "clock range table");
        }
        ASSERT_EQ(info.coolerFanMin.present, f.coolerFan.has_value());
        ASSERT_EQ(info.coolerFanMax.present, f.coolerFan.has_value());
        if (f.coolerFan) {
            EXPECT_EQ((Pair{info.coolerFanMin.value, info.coolerFanMax.value}), *f.coolerFan);
            EXPECT_EQ(info.coolerFanMin.offset, image.fields.coolerFanMin);
            EXPECT_EQ(info.coolerFanMax.offset, image.fields.coolerFanMax);
            EXPECT_STREQ(info.coolerFanMin.origin.table, "fan cooler table");
        }
    }
}

// The bytes of every value a save may write, as the builder placed them.
std::set<std::uint32_t> writableBytes(const StructuredImage& image, const Family& f)
{
    const testing::BoardOffsets& at = image.fields.at;
    std::set<std::uint32_t> bytes = {at.checksumWriteOffset};
    const auto add = [&](std::uint32_t offset, std::uint32_t width) {
        for (std::uint32_t i = 0; i < width; ++i)
            bytes.insert(offset + i);
    };
    if (f.gpuClock)
        add(at.gpuClock, 2);
    if (f.boostClock)
        add(at.boostClock, 2);
    add(at.memClock, 2);
    if (f.memClockCopyEntry)
        add(at.memClockSecond, 2);
    for (const std::uint32_t entry : image.fields.ladder)
        add(entry, 2);
    if (f.powerLimits) {
        add(at.powerLimitLo, 4);
        add(at.powerLimitHi, 4);
    }
    if (f.fan) {
        add(at.fanMin, 1);
        add(at.fanMax, 1);
    }
    if (f.voltage)
        for (const std::uint32_t slot : at.voltage)
            add(slot, 4);
    return bytes;
}

// Every value edited, absent and read-only ones too (as a careless front
// might): the save writes the present values in their table's coding and
// nothing else; the file reads back as edited.
TEST(Families, ASaveWritesOnlyThePresentFieldsAndTheChecksum)
{
    for (const Family& f : families) {
        SCOPED_TRACE(testing::familyName(f.family));
        const StructuredImage image = testing::buildStructuredImage(testing::familySpec(f.family));
        const testing::BoardOffsets& at = image.fields.at;
        const testing::TempDir dir;
        const testing::MessageRecorder messages;
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(dir.write("card.rom", image.bytes), info));

        // Its stock values pass the save rules, and an unedited save is the file itself.
        PageValues stock = pageValuesFrom(info);
        BiosInfo committed = info;
        EXPECT_EQ(commitPageValues(stock, committed), nullptr);
        ASSERT_TRUE(saveRomFile(dir / "unedited.rom", committed));
        EXPECT_TRUE(testing::readBytes(dir / "unedited.rom") == image.bytes);

        info.gpuClock.value = 1100.0f;
        info.boostClock.value = 1150.5f;
        info.memClock.value = f.editedMemClock;
        for (std::size_t k = 0; k < info.boostTable.size(); ++k)
            info.boostTable[k].value = 700.0f + static_cast<float>(k);
        info.powerDefault.value = 180;
        info.powerMax.value = 230;
        info.powerLimitLo.value = 200;
        info.powerLimitHi.value = 260;
        info.fanMin.value = 35;
        info.fanMax.value = 90;
        info.voltage[0].value = 1187;
        info.boostLimit.value = 1500.0f;
        info.coolerFanMin.value = 11;
        info.coolerFanMax.value = 22;
        ASSERT_TRUE(saveRomFile(dir / "edited.rom", info));
        const std::vector<std::uint8_t> saved = testing::readBytes(dir / "edited.rom");
        ASSERT_EQ(saved.size(), image.bytes.size());

        const std::set<std::uint32_t> writable = writableBytes(image, f);
        for (std::uint32_t i = 0; i < saved.size(); ++i)
            EXPECT_TRUE(saved[i] == image.bytes[i] || writable.count(i)) << "byte " << i << " belongs to no present field";
        if (f.gpuClock) {
            EXPECT_EQ(testing::getU16(saved, at.gpuClock), 2200);
        }
        if (f.boostClock) {
            EXPECT_EQ(testing::getU16(saved, at.boostClock), 2301);
        }
        EXPECT_EQ(testing::getU16(saved, at.memClock), f.editedMemWord);
        if (f.memClockCopyEntry) {
            EXPECT_EQ(testing::getU16(saved, at.memClockSecond), f.editedMemWord);
        }
        for (std::size_t k = 0; k < image.fields.ladder.size(); ++k)
            EXPECT_EQ(testing::getU16(saved, image.fields.ladder[k]), 1400 + 2 * k) << "ladder entry " << k;
        if (f.powerLimits) {
            EXPECT_EQ(testing::getU32(saved, at.powerLimitLo), 200000u);
            EXPECT_EQ(testing::getU32(saved, at.powerLimitHi), 260000u);
        }
        if (f.fan) {
            EXPECT_EQ((Pair{saved[at.fanMin], saved[at.fanMax]}), (Pair{35, 90}));
        }
        if (f.voltage) {
            for (std::size_t slot = 0; slot < 4; ++slot)
                EXPECT_EQ(testing::getU32(saved, at.voltage[slot]), 1187000u);
            EXPECT_EQ(testing::getU32(saved, at.voltage[5]), 11870000u);
        }
        std::uint8_t sum = 0;
        for (std::uint32_t i = image.imageOffset; i < image.imageOffset + image.imageLength; ++i)
            sum = static_cast<std::uint8_t>(sum + saved[i]);
        EXPECT_EQ(sum, 0) << "the legacy image sums to zero";

        BiosInfo reloaded;
        ASSERT_TRUE(loadRomFile(dir / "edited.rom", reloaded));
        EXPECT_EQ(reloaded.memClock.value,
                  f.coding == MemClockCoding::Mhz ? std::trunc(f.editedMemClock) : f.editedMemClock);
        EXPECT_EQ(reloaded.boostTable.size(), f.ladder);
        if (f.ladder > 0) {
            EXPECT_EQ(reloaded.boostTable.back().value, 700.0f + static_cast<float>(f.ladder - 1));
        }
        if (f.boostLimit) {
            EXPECT_EQ(reloaded.boostLimit.value, *f.boostLimit);
        }
        EXPECT_TRUE(messages.messages().empty());
    }
}

}  // namespace
}  // namespace veltra
