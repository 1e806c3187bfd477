// Images with the structure real BIOS files have, from tests/support's own
// description of it: the fields must be found where that description put
// them, a save must touch nothing else, and a structure that cannot be read
// must be refused with a message that names the table.
#include <gtest/gtest.h>

#include <functional>

#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

using testing::StructuredImage;
using testing::StructuredSpec;

StructuredSpec specFor(BoardModel board, std::uint32_t imageOffset)
{
    StructuredSpec spec;
    spec.values.board = board;
    spec.imageOffset = imageOffset;
    return spec;
}

// The file forms and table shapes seen in the wild.
struct Form {
    const char* what;
    std::function<StructuredSpec()> spec;
};

const Form forms[] = {
    {"660 Ti, raw dump", [] { return specFor(BoardModel::Gtx660Ti, 0); }},
    {"660 Ti, 0x400 header", [] { return specFor(BoardModel::Gtx660Ti, 0x400); }},
    {"670, 0x600 header", [] { return specFor(BoardModel::Gtx670, 0x600); }},
    {"680, 0x400 header", [] { return specFor(BoardModel::Gtx680, 0x400); }},
    {"raw dump with a UEFI image after it",
     [] {
         StructuredSpec spec = specFor(BoardModel::Gtx660Ti, 0);
         spec.uefiLength = 0x4000;
         spec.legacyLastImageBit = true;
         return spec;
     }},
    {"power table after the UEFI image",
     [] {
         StructuredSpec spec = specFor(BoardModel::Gtx680, 0x600);
         spec.uefiLength = 0x2000;
         spec.powerTableAfterUefi = true;
         spec.trailingLength = 0x200;
         return spec;
     }},
    {"stock 680 build, raw", [] {
         StructuredSpec spec = testing::stock680Spec();
         spec.imageOffset = 0;
         return spec;
     }},
    {"stock 680 build, 0x400 header", [] { return testing::stock680Spec(); }},
    {"length only in the PCI structure", [] {
         StructuredSpec spec = specFor(BoardModel::Gtx670, 0);
         spec.npde = false;
         return spec;
     }},
    // Seen on a real board: the checksum covers less than the PCI structure says.
    {"vendor length short of the PCI structure's", [] {
         StructuredSpec spec = specFor(BoardModel::Gtx660Ti, 0);
         spec.pcirLengthUnits = 0xBB;
         return spec;
     }},
};

void expectLocatedAsBuilt(const BiosInfo& info, const StructuredImage& image)
{
    const testing::StructuredFields& f = image.fields;
    EXPECT_EQ(info.layout.source, LayoutSource::ImageTables);
    EXPECT_EQ(info.layout.imageOffset, image.imageOffset);
    EXPECT_EQ(info.layout.idsOffset, f.vendorId);
    EXPECT_EQ(info.layout.idsOffset + 2, f.deviceId);
    EXPECT_EQ(info.layout.checksumStartOffset, f.checksumStart);
    EXPECT_EQ(info.checksumReadOffset, f.at.checksumReadOffset);
    EXPECT_EQ(info.checksumWriteOffset, f.at.checksumWriteOffset);
    EXPECT_EQ(info.versionText.offset, f.versionText);
    EXPECT_EQ(info.boardText.offset, f.boardText);
    EXPECT_EQ(info.dateText.offset, f.dateText);
    EXPECT_EQ(info.gpuClock.offset, f.at.gpuClock);
    EXPECT_EQ(info.boostClock.offset, f.at.boostClock);
    EXPECT_EQ(info.memClock.offset, f.at.memClock);
    EXPECT_EQ(info.memClock.secondOffset, f.at.memClockSecond);
    EXPECT_EQ(info.powerDefault.offset, f.at.powerDefault);
    EXPECT_EQ(info.powerMax.offset, f.at.powerMax);
    EXPECT_EQ(info.powerLimitLo.offset, f.at.powerLimitLo);
    EXPECT_EQ(info.powerLimitHi.offset, f.at.powerLimitHi);
    EXPECT_EQ(info.fanMin.offset, f.at.fanMin);
    EXPECT_EQ(info.fanMax.offset, f.at.fanMax);
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        EXPECT_EQ(info.boostTable[k].offset, f.boostTable[k]) << "boost entry " << k;
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        EXPECT_EQ(info.voltage[slot].offset, f.at.voltage[slot]) << "voltage slot " << slot;
}

TEST(Structure, FindsEveryFieldWhereTheFilesOwnTablesPutIt)
{
    for (const Form& form : forms) {
        SCOPED_TRACE(form.what);
        StructuredSpec spec = form.spec();
        spec.values.gpuClockWord = 1882;       // 941.0
        spec.values.memClockWord = 19388;      // 1502.0
        spec.values.memClockSecondWord = 19000;
        spec.values.boostTableWords[44] = 2457;
        spec.values.powerLimitHiMilliwatts = 210500;
        spec.values.fanMin = 40;
        spec.values.voltageDwords = testing::ImageSpec::voltageDwordsFor(1150);
        spec.values.boardText = "GK104 Board - 2004000";
        const StructuredImage image = testing::buildStructuredImage(spec);
        const testing::TempDir dir;
        const testing::MessageRecorder messages;
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(dir.write("card.rom", image.bytes), info));
        EXPECT_TRUE(messages.messages().empty());

        expectLocatedAsBuilt(info, image);
        EXPECT_EQ(info.deviceId, testing::deviceIdOf(spec.values.board));
        EXPECT_EQ(info.gpuClock.value, 941.0f);
        EXPECT_EQ(info.memClock.value, 1502.0f);
        EXPECT_EQ(info.boostTable[44].value, 1228.5f);
        EXPECT_EQ(info.powerLimitHi.value, 210u);
        EXPECT_EQ(info.fanMin.value, 40);
        EXPECT_EQ(info.voltage[0].value, 1150u);
        EXPECT_EQ(info.boardText.shown(), "GK104 Board - 2004000");
        EXPECT_EQ(info.versionText.shown(), spec.values.versionText);
        EXPECT_EQ(info.dateText.shown(), spec.values.dateText);
        EXPECT_EQ(info.checksumStored, info.checksumComputed);
    }
}

// On the builds the built-in tables were written for, the image's own tables
// lead to the same offsets.
TEST(Structure, OnTheBuildsOfTheBuiltInTablesTheImageTablesLeadToTheSameOffsets)
{
    for (BoardModel board : {BoardModel::Gtx660Ti, BoardModel::Gtx670, BoardModel::Gtx680}) {
        SCOPED_TRACE(static_cast<int>(board));
        StructuredImage image = testing::buildStructuredImage(specFor(board, 0x400));
        const testing::BoardOffsets& builtIn = testing::locationsOf(board);
        EXPECT_EQ(image.fields.at.checksumReadOffset, builtIn.checksumReadOffset);
        const testing::MessageRecorder messages;
        BiosInfo located;
        ASSERT_TRUE(loadRomBytes(image.bytes.data(), image.bytes.size(), located));
        EXPECT_EQ(located.layout.source, LayoutSource::ImageTables);
        EXPECT_EQ(located.gpuClock.offset, builtIn.gpuClock);
        EXPECT_EQ(located.fanMin.offset, builtIn.fanMin);
        EXPECT_EQ(located.powerLimitLo.offset, builtIn.powerLimitLo);
        EXPECT_EQ(located.boostTable[0].offset, builtIn.boostTableFirst);
        EXPECT_EQ(located.voltage[5].offset, builtIn.voltage[5]);
        EXPECT_TRUE(messages.messages().empty());
    }
}

// The memory clock's two copies are found by their entries' P-state ids;
// with one of the two entries gone, the other is the one copy a save writes.
TEST(Structure, TheMemoryClockIsWhereItsPStatesSay)
{
    const StructuredImage intact = testing::buildStructuredImage(specFor(BoardModel::Gtx680, 0));
    const std::uint32_t first = intact.fields.at.memClock, second = intact.fields.at.memClockSecond;
    const std::uint32_t header = intact.bytes[intact.tables.performance + 1], stride = 21 + 9 * 4;
    const struct {
        std::uint32_t entry;  // whose P-state id is changed to 0x0C
        std::uint32_t offset, secondOffset;
    } cases[] = {{2, second, 0}, {3, first, 0}, {0, first, second}};
    const testing::MessageRecorder messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        StructuredImage image = intact;
        image.bytes[image.tables.performance + header + c.entry * stride] = 0x0C;
        BiosInfo info;
        ASSERT_TRUE(loadRomBytes(image.bytes.data(), image.bytes.size(), info));
        EXPECT_EQ(info.memClock.offset, c.offset);
        EXPECT_EQ(info.memClock.secondOffset, c.secondOffset);
    }
    EXPECT_TRUE(messages.messages().empty());
}

// Each way the structure can be unreadable: its message, and nothing of the
// loaded image or the caller's record changes.
TEST(Structure, AStructureThatCannotBeReadIsRefusedAndChangesNothing)
{
    using Bend = std::function<void(StructuredImage&)>;
    const auto poke8 = [](std::uint32_t StructuredImage::*at, std::uint32_t plus, std::uint8_t value) -> Bend {
        return [=](StructuredImage& i) { i.bytes.at(i.*at + plus) = value; };
    };
    const auto table8 = [](std::uint32_t testing::TableStarts::*table, std::uint32_t plus, std::uint8_t value) -> Bend {
        return [=](StructuredImage& i) { i.bytes.at(i.tables.*table + plus) = value; };
    };
    // The P token's data: u32 pointers, the performance table's first.
    const auto pointer = [](std::uint32_t at, std::uint32_t value) -> Bend {
        return [=](StructuredImage& i) { testing::putU32(i.bytes, i.pData + at, value); };
    };
    // The table at the pointer token's `at` moved to the file's end, with a
    // header of a real shape whose entries run past that end.
    const auto atTheEnd = [](std::uint32_t at, std::vector<std::uint8_t> header) -> Bend {
        return [=](StructuredImage& i) {
            const auto start = static_cast<std::uint32_t>(i.bytes.size() - header.size() - 2);
            testing::putU32(i.bytes, i.pData + at, start - i.imageOffset);
            std::copy(header.begin(), header.end(), i.bytes.begin() + start);
        };
    };
    // A token's id byte, by its place among the tokens the builder wrote.
    const auto tokenWith = [](char id) {
        return [id](StructuredImage& i) -> std::uint8_t& {
            for (std::uint32_t t = i.bit + 12;; t += 6)
                if (i.bytes.at(t) == static_cast<std::uint8_t>(id))
                    return i.bytes[t];
        };
    };
    using T = testing::TableStarts;
    struct Case {
        const char* what;
        std::uint32_t imageOffset;
        Bend bend;
        const char* message;
    } const cases[] = {
        {"ids of another board in the PCI structure", 0,
         [](StructuredImage& i) { testing::putU16(i.bytes, i.pcir + 6, 0x1400); }, "Unknow model!"},
        {"image length 0", 0, [](StructuredImage& i) { testing::putU16(i.bytes, i.npde + 8, 0); },
         "Bios image length is wrong!"},
        {"image longer than the file", 0x400,
         [](StructuredImage& i) {
             testing::putU16(i.bytes, i.pcir + 0x10, 0x7F);
             testing::putU16(i.bytes, i.npde + 8, 0x7F);
         },
         "Bios image does not fit in the file!"},
        {"vendor length past the PCI structure's", 0x400,
         [](StructuredImage& i) { testing::putU16(i.bytes, i.npde + 8, 0x7F); }, "Bios image length is wrong!"},
        {"vendor length short of the PCI structure's, its bytes not summing to zero", 0,
         [](StructuredImage& i) { testing::putU16(i.bytes, i.npde + 8, 0x7D); }, "Bios image length is wrong!"},
        {"no 55 AA, image at 0x400", 0x400, poke8(&StructuredImage::imageOffset, 1, 0xAB),
         "Bios image header is damaged!"},
        {"no PCIR, raw dump", 0, poke8(&StructuredImage::pcir, 3, 'r'), "Bios image header is damaged!"},
        {"first image not a legacy one", 0, poke8(&StructuredImage::pcir, 0x14, 3), "Bios image header is damaged!"},
        {"no information table, image at 0", 0, poke8(&StructuredImage::bit, 2, 'X'),
         "Cannot find the bios information table!"},
        {"no information table, image at 0x400", 0x400, poke8(&StructuredImage::bit, 0, 0),
         "Cannot find the bios information table!"},
        {"no information table, image at 0x600", 0x600, poke8(&StructuredImage::bit, 0, 0),
         "Cannot find the bios information table!"},
        {"information table of version 2", 0, poke8(&StructuredImage::bit, 7, 2),
         "Unknown bios information table version!"},
        {"tokens of five bytes", 0, poke8(&StructuredImage::bit, 9, 5), "Unknown bios information table layout!"},
        {"token count past the file", 0,
         [](StructuredImage& i) {
             i.bytes.resize(512);  // a one-unit image, so that the tokens run past the file's end
             testing::putU16(i.bytes, i.pcir + 0x10, 1);
             testing::putU16(i.bytes, i.npde + 8, 1);
             i.bytes.at(i.bit + 10) = 255;
         },
         "Bios information table does not fit in the file!"},
        {"no string token", 0, [&](StructuredImage& i) { tokenWith('S')(i) = 's'; }, "Cannot find the string table!"},
        {"board text past the file", 0, [](StructuredImage& i) { testing::putU16(i.bytes, i.sData + 0x0F, 0xFFF0); },
         "String table does not fit in the file!"},
        {"no pointer token", 0x400, [&](StructuredImage& i) { tokenWith('P')(i) = 'Q'; },
         "Cannot find the pointer table!"},
        {"pointer token of version 1", 0, [&](StructuredImage& i) { (&tokenWith('P')(i))[1] = 1; },
         "Unknown pointer table version!"},
        {"pointer token of 59 bytes", 0, [&](StructuredImage& i) { (&tokenWith('P')(i))[2] = 59; },
         "Pointer table is too small!"},
        {"pointer data past the file", 0,
         [&](StructuredImage& i) { testing::putU16(i.bytes, static_cast<std::uint32_t>(&tokenWith('P')(i) - i.bytes.data()) + 4, 0xFFE0); },
         "Pointer table does not fit in the file!"},
        {"no performance table", 0, pointer(0x00, 0), "Cannot find the memory clock table!"},
        {"performance table with three sub-entries", 0, table8(&T::performance, 4, 3),
         "Unknown memory clock table layout!"},
        {"performance header of 31 bytes", 0, table8(&T::performance, 1, 31), "Unknown memory clock table layout!"},
        {"memory clock without its flag", 0,
         [](StructuredImage& i) { i.bytes.at(i.fields.at.memClock + 1) &= 0xBF; }, "Unknown memory clock table layout!"},
        {"no P-state 0x0D, 0x0E or 0x0F entry", 0,
         [](StructuredImage& i) {
             const std::uint32_t header = i.bytes.at(i.tables.performance + 1);
             for (std::uint32_t entry = 0; entry < 4; ++entry)
                 i.bytes.at(i.tables.performance + header + entry * (21 + 9 * 4)) = 0x0C;
         },
         "Memory clock table is too small!"},
        {"performance table of version 0x41", 0x400, table8(&T::performance, 0, 0x41),
         "Unknown memory clock table version!"},
        {"boost table of version 0x11", 0, table8(&T::voltageFrequency, 0, 0x11), "Unknown boost table version!"},
        {"boost table with 46 extra entries", 0, table8(&T::voltageFrequency, 5, 46), "Boost table is too small!"},
        {"boost entries of one byte", 0, table8(&T::voltageFrequency, 4, 1), "Unknown boost table layout!"},
        {"boost table with five ordinary entries", 0, table8(&T::voltageFrequency, 3, 5), "Unknown boost table layout!"},
        {"boost table past the file", 0, pointer(0x34, 0x23FF0), "Boost table does not fit in the file!"},
        {"clock entries of two domains", 0, table8(&T::virtualPState, 4, 2), "Unknown clock table layout!"},
        {"clock table header without the entry index", 0, table8(&T::virtualPState, 1, 17),
         "Unknown clock table layout!"},
        {"no clock table", 0x600, pointer(0x38, 0), "Cannot find the clock table!"},
        {"power table with eight entries", 0, table8(&T::powerPolicy, 3, 8), "Power table is too small!"},
        {"power entries of 13 bytes", 0, table8(&T::powerPolicy, 2, 13), "Unknown power table layout!"},
        {"power table of version 0x21", 0, table8(&T::powerPolicy, 0, 0x21), "Unknown power table version!"},
        {"power entries past the file", 0, atTheEnd(0x2C, {0x20, 13, 22, 9}), "Power table does not fit in the file!"},
        {"fan entries of one byte", 0, table8(&T::thermal, 3, 1), "Unknown fan table layout!"},
        {"fan table of version 0x25", 0, table8(&T::thermal, 0, 0x25), "Unknown fan table version!"},
        {"voltage table with one entry", 0, table8(&T::voltageMap, 3, 1), "Voltage table is too small!"},
        {"voltage entries of 13 bytes", 0x400, table8(&T::voltageMap, 2, 13), "Unknown voltage table layout!"},
        {"voltage table past the file", 0, atTheEnd(0x20, {0x20, 12, 34, 2}), "Voltage table does not fit in the file!"},
        // Every table has each kind of refusal, named by the table.
        {"string token of version 1", 0, [&](StructuredImage& i) { (&tokenWith('S')(i))[1] = 1; },
         "Unknown string table version!"},
        {"string token of 16 bytes", 0, [&](StructuredImage& i) { (&tokenWith('S')(i))[2] = 16; },
         "String table is too small!"},
        {"clock table of version 0x11", 0, table8(&T::virtualPState, 0, 0x11), "Unknown clock table version!"},
        {"clock entries past the file", 0,
         atTheEnd(0x38, {0x10, 18, 5, 2, 1, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}),
         "Clock table does not fit in the file!"},
        {"performance entries past the file", 0, atTheEnd(0x00, {0x40, 29, 21, 4, 9, 4}),
         "Memory clock table does not fit in the file!"},
        {"no boost table", 0, pointer(0x34, 0), "Cannot find the boost table!"},
        {"no power table", 0, pointer(0x2C, 0), "Cannot find the power table!"},
        {"no fan table", 0, pointer(0x10, 0), "Cannot find the fan table!"},
        {"fan table header past the file", 0, pointer(0x10, 0x23FFE), "Fan table does not fit in the file!"},
        {"no voltage table", 0, pointer(0x20, 0), "Cannot find the voltage table!"},
        {"voltage table of version 0x21", 0, table8(&T::voltageMap, 0, 0x21), "Unknown voltage table version!"},
        {"memory type token of version 1", 0, [&](StructuredImage& i) { (&tokenWith('M')(i))[1] = 1; },
         "Unknown memory type table version!"},
        {"memory type token of 4 bytes", 0, [&](StructuredImage& i) { (&tokenWith('M')(i))[2] = 4; },
         "Memory type table is too small!"},
        {"memory type table past the file", 0, [](StructuredImage& i) { testing::putU16(i.bytes, i.mData + 3, 0xFFFE); },
         "Memory type table does not fit in the file!"},
        {"memory type table of version 0x11", 0, [](StructuredImage& i) { i.bytes.at(i.memoryTypes) = 0x11; },
         "Unknown memory type table version!"},
        {"memory type entries of 6 bytes", 0, [](StructuredImage& i) { i.bytes.at(i.memoryTypes + 2) = 6; },
         "Unknown memory type table layout!"},
        {"performance table of five entries", 0, table8(&T::performance, 5, 5), "Unknown memory clock table layout!"},
        {"a used boost entry after P0's", 0,
         [](StructuredImage& i) { i.bytes.at(i.tables.voltageFrequency + 6 + 2 * 4) |= 0x40; },  // P13 -> P15
         "Unknown boost table layout!"},
        {"fan table laid over the power table", 0,
         [](StructuredImage& i) {
             // A fan table whose fan entry (id 0x22, its fourth) holds the
             // power limit's first byte as its minimum, laid in the power
             // entries before it.
             const std::uint32_t fan = i.fields.at.powerLimitLo - 1 - 4 - 3 * 3;
             const std::uint8_t header[] = {0x24, 4, 3, 14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x22};
             std::copy(std::begin(header), std::end(header), i.bytes.begin() + fan);
             testing::putU32(i.bytes, i.pData + 0x10, fan - i.imageOffset);
         },
         "Bios tables overlap!"},
    };

    const testing::TempDir dir;
    testing::ImageSpec firstSpec;
    firstSpec.gpuClockWord = 1800;
    const auto first = testing::buildImage(firstSpec);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::MessageRecorder messages;
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(dir.write("first.rom", first), info));
        const std::string infoBefore = testing::dump(info);
        const testing::ImageSnapshot imageBefore = testing::ImageSnapshot::ofRomImage();

        StructuredImage image = testing::buildStructuredImage(specFor(BoardModel::Gtx660Ti, c.imageOffset));
        c.bend(image);
        EXPECT_FALSE(loadRomFile(dir.write("second.rom", image.bytes), info));
        EXPECT_EQ(messages.messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(testing::dump(info), infoBefore);
        EXPECT_TRUE(testing::ImageSnapshot::ofRomImage() == imageBefore);
    }
}

// A save writes the located fields and the checksum byte at the legacy
// image's end, and nothing else: the header before the image and the UEFI
// image and data after it stay as they were, and the reload locates again.
TEST(Structure, ASaveChangesOnlyTheLocatedBytes)
{
    for (const Form& form : forms) {
        SCOPED_TRACE(form.what);
        const StructuredImage image = testing::buildStructuredImage(form.spec());
        const testing::TempDir dir;
        testing::MessageRecorder messages;
        const auto original = dir.write("card.rom", image.bytes);
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(original, info));

        const auto unedited = dir / "unedited.rom";
        ASSERT_TRUE(saveRomFile(unedited, info));
        EXPECT_EQ(testing::readBytes(unedited), image.bytes);

        info.gpuClock.value = 1100.0f;
        info.boostClock.value = 1150.5f;
        info.memClock.value = 1600.0f;
        for (auto& entry : info.boostTable)
            entry.value = 1300.0f;
        info.powerDefault.value = 180;
        info.powerMax.value = 230;
        info.powerLimitLo.value = 200;
        info.powerLimitHi.value = 260;
        info.fanMin.value = 35;
        info.fanMax.value = 90;
        info.voltage[0].value = 1187;
        const auto edited = dir / "edited.rom";
        ASSERT_TRUE(saveRomFile(edited, info));
        const std::vector<std::uint8_t> saved = testing::readBytes(edited);
        ASSERT_EQ(saved.size(), image.bytes.size());

        const std::vector<bool> owned = testing::ownedBytes(info);
        std::size_t changed = 0;
        for (std::size_t at = 0; at < saved.size(); ++at) {
            if (saved[at] == image.bytes[at])
                continue;
            ++changed;
            EXPECT_TRUE(owned[at]) << "byte " << at << " is no field's";
        }
        EXPECT_GT(changed, 45u);
        std::uint8_t sum = 0;
        for (std::uint32_t at = image.imageOffset; at < image.imageOffset + image.imageLength; ++at)
            sum = static_cast<std::uint8_t>(sum + saved[at]);
        EXPECT_EQ(sum, 0) << "the legacy image sums to zero";

        BiosInfo reloaded;
        ASSERT_TRUE(loadRomFile(edited, reloaded));
        expectLocatedAsBuilt(reloaded, image);
        EXPECT_EQ(reloaded.memClock.value, 1600.0f);
        EXPECT_EQ(reloaded.boostTable[44].value, 1300.0f);
        EXPECT_EQ(reloaded.powerLimitHi.value, 260u);
        EXPECT_EQ(reloaded.voltage[5].value, 1187u);
        EXPECT_EQ(reloaded.checksumStored, reloaded.checksumComputed);
        EXPECT_TRUE(messages.messages().empty());
    }
}

}  // namespace
}  // namespace veltra
