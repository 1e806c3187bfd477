// Real dumps of seven boards, read where they lie beside the repository
// (other people's firmware: never copied in): each opens with the values
// its own tables hold, and a save of one edited value changes that value's
// bytes and the checksum byte, nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "rom/rom.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

using Watts = std::array<std::uint32_t, 2>;
using Percent = std::array<std::uint8_t, 2>;

struct Dump {
    const char* file;
    const char* name;
    MemClockCoding coding;  // GDDR5 boards count half-MHz, DDR3 boards MHz
    std::optional<float> gpuClock, boostClock;
    float memClock;
    std::size_t ladder;
    std::uint32_t ladderFirstEntry;
    std::optional<float> ladderFirst, ladderLast;
    std::optional<Watts> powerLimits, powerDefaults;
    Percent fan;
    std::optional<std::uint32_t> voltage;
};

const Dump dumps[] = {
    {"gtx660ti-80.04.4B.00.32-raw.rom", "Geforce GTX 660Ti", MemClockCoding::HalfMhz, 941.0f, 1019.5f, 1502.0f,
     45, 2, 627.5f, {}, Watts{192, 210}, Watts{145, 165}, {40, 95}, 1150},
    {"gtx680-80.04.06.00.02-raw.rom", "Geforce GTX 680", MemClockCoding::HalfMhz, 1006.0f, 1058.5f, 1502.0f,
     45, 2, 627.5f, 1202.0f, Watts{225, 250}, Watts{170, 225}, {30, 85}, 1150},
    {"gtx770-80.04.E6.00.0D-0x600.rom", "GeForce GTX 770", MemClockCoding::HalfMhz, 1045.5f, 1084.5f, 1752.5f,
     52, 1, 536.0f, 1202.0f, Watts{228, 243}, {}, {30, 100}, {}},
    {"gtx780-80.10.36.00.80-raw.rom", "GeForce GTX 780", MemClockCoding::HalfMhz, 967.0f, 1019.5f, 1502.0f,
     51, 2, 549.0f, 1306.5f, Watts{250, 265}, {}, {25, 90}, {}},
    {"gtx650ti-80.06.21.00.F2-raw.rom", "GeForce GTX 650 Ti", MemClockCoding::HalfMhz, {}, {}, 1350.0f,
     0, 0, {}, {}, {}, {}, {21, 100}, {}},
    {"gt640-80.07.53.00.21-0x400.rom", "GeForce GT 640 OEM", MemClockCoding::Mhz, {}, {}, 891.0f,
     0, 0, {}, {}, {}, {}, {40, 100}, {}},
    {"gt710-80.28.A6.00.12-raw.rom", "GeForce GT 710", MemClockCoding::Mhz, 954.0f, {}, 900.0f,
     23, 20, 666.5f, 954.0f, {}, {}, {40, 80}, {}},
};

fs::path realDataFolder()
{
    return fs::path(VELTRA_SOURCE_DIR) / ".." / "shared" / "realdata";
}

template <typename T>
std::optional<T> valueOf(const FieldLoc<T>& field)
{
    return field.present ? std::optional<T>(field.value) : std::nullopt;
}

template <typename T>
std::optional<std::array<T, 2>> pairOf(const FieldLoc<T>& low, const FieldLoc<T>& high)
{
    EXPECT_EQ(low.present, high.present);
    return low.present ? std::optional<std::array<T, 2>>({low.value, high.value}) : std::nullopt;
}

// The real dumps are not part of the repository; without them there is
// nothing to read.
#define SKIP_WITHOUT_REAL_DATA()                                                                          \
    if (!fs::is_directory(realDataFolder()))                                                              \
    GTEST_SKIP() << realDataFolder().string() << " is absent: the real dumps are other people's firmware " \
                                                 "and live beside the repository, not in it"

TEST(RealDumps, OpenWithTheValuesTheirOwnTablesHold)
{
    SKIP_WITHOUT_REAL_DATA();
    for (const Dump& d : dumps) {
        SCOPED_TRACE(d.file);
        const testing::MessageRecorder messages;
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(realDataFolder() / d.file, info));
        EXPECT_TRUE(messages.messages().empty());
        EXPECT_EQ(romImage().loadedLength, fs::file_size(realDataFolder() / d.file));
        const BoardEntry* board = findBoard(info.vendorId, info.deviceId);
        ASSERT_NE(board, nullptr);
        EXPECT_STREQ(board->displayName, d.name);
        EXPECT_EQ(info.layout.source, LayoutSource::ImageTables);
        EXPECT_EQ(info.checksumStored, info.checksumComputed);

        EXPECT_EQ(valueOf(info.gpuClock), d.gpuClock);
        EXPECT_EQ(valueOf(info.boostClock), d.boostClock);
        EXPECT_EQ(valueOf(static_cast<const FieldLoc<float>&>(info.memClock)), d.memClock);
        EXPECT_EQ(info.memClock.coding, d.coding);
        ASSERT_EQ(info.boostTable.size(), d.ladder);
        if (d.ladder > 0) {
            EXPECT_EQ(info.boostTable.front().origin.entry, d.ladderFirstEntry);
            EXPECT_EQ(info.boostTable.back().origin.entry, d.ladderFirstEntry + d.ladder - 1);
            EXPECT_EQ(info.boostTable.front().value, d.ladderFirst);
            if (d.ladderLast) {
                EXPECT_EQ(info.boostTable.back().value, *d.ladderLast);
            }
        }
        EXPECT_EQ(pairOf(info.powerLimitLo, info.powerLimitHi), d.powerLimits);
        EXPECT_EQ(pairOf(info.powerDefault, info.powerMax), d.powerDefaults);
        EXPECT_EQ(pairOf(info.fanMin, info.fanMax), d.fan);
        EXPECT_EQ(valueOf(info.voltage[0]), d.voltage);
    }
}

// The memory clock, 10 MHz up: its word (and its P0 copy, where the board
// keeps one) with the flags as they were, and the checksum byte.
TEST(RealDumps, ASaveOfOneEditedValueChangesOnlyItsBytesAndTheChecksum)
{
    SKIP_WITHOUT_REAL_DATA();
    const testing::TempDir dir;
    for (const Dump& d : dumps) {
        SCOPED_TRACE(d.file);
        const testing::MessageRecorder messages;
        const std::vector<std::uint8_t> original = testing::readBytes(realDataFolder() / d.file);
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(realDataFolder() / d.file, info));
        info.memClock.value += 10.0f;
        ASSERT_TRUE(saveRomFile(dir / "edited.rom", info));
        const std::vector<std::uint8_t> saved = testing::readBytes(dir / "edited.rom");
        ASSERT_EQ(saved.size(), original.size());

        std::vector<std::uint32_t> words = {info.memClock.offset};
        if (info.memClock.secondOffset != 0)
            words.push_back(info.memClock.secondOffset);
        const auto inWord = [&](std::uint32_t at) {
            for (const std::uint32_t word : words)
                if (at == word || at == word + 1)
                    return true;
            return false;
        };
        for (std::uint32_t at = 0; at < saved.size(); ++at)
            EXPECT_TRUE(saved[at] == original[at] || inWord(at) || at == info.checksumWriteOffset)
                << "byte " << at << " changed";
        const std::uint16_t step = d.coding == MemClockCoding::HalfMhz ? 20 : 10;
        for (const std::uint32_t word : words)
            EXPECT_EQ(testing::getU16(saved, word), testing::getU16(original, word) + step) << "word at " << word;

        BiosInfo reloaded;
        ASSERT_TRUE(loadRomFile(dir / "edited.rom", reloaded));
        EXPECT_EQ(reloaded.memClock.value, d.memClock + 10.0f);
        EXPECT_EQ(reloaded.checksumStored, reloaded.checksumComputed);
        EXPECT_TRUE(messages.messages().empty());
    }
}

}  // namespace
}  // namespace veltra
