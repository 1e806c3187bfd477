#include <gtest/gtest.h>

#include <algorithm>

#include "rom/rom.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

using testing::ImageSpec;
namespace fs = std::filesystem;

struct Loaded {
    testing::TempDir dir;
    fs::path path;
    BiosInfo info;
    ImageSpec spec;
};

// An image of `board` written to a fresh folder and loaded.
std::unique_ptr<Loaded> loadImage(BoardModel board, const std::function<void(ImageSpec&)>& adjust = {})
{
    auto loaded = std::make_unique<Loaded>();
    loaded->spec.board = board;
    if (adjust)
        adjust(loaded->spec);
    loaded->path = loaded->dir.write("image.rom", testing::buildImage(loaded->spec));
    EXPECT_TRUE(loadRomFile(loaded->path, loaded->info));
    return loaded;
}

TEST(Encode, ClockWordsTruncateTowardZero)
{
    struct Case {
        float mhz;
        std::uint16_t word;
    } const clocks[] = {{1058.75f, 2117}, {1058.3f, 2116}, {1058.5f, 2117}, {300.0f, 600}, {2000.0f, 4000}, {0.5f, 1}};
    for (const Case& c : clocks)
        EXPECT_EQ(encodeClockWord(c.mhz), c.word) << c.mhz;

    const Case memClocks[] = {
        {1502.5f, 19389},
        {1000.0f, 18384},
        {2000.0f, 20384},
        {1502.74f, 19389},    // 19389.48 in single precision: truncated
        {1502.999f, 19389},   // 19389.998046875 is a float itself: truncated
        {1502.9997f, 19390},  // 19389.9995 lies within half a spacing (1/1024) of 19390
    };
    for (const Case& c : memClocks)
        EXPECT_EQ(encodeMemClockWord(c.mhz), c.word) << c.mhz;
    EXPECT_EQ(decodeMemClockWord(19389), 1502.5f);
}

// One image encoded into again and again, as the window's saves and the
// fuzzers do, by files of every length: each time it holds that file and
// zeros past it, never a byte of a longer file before.
TEST(Encode, AnImageEncodedAgainHoldsNothingOfALongerFileBefore)
{
    RomImage out;
    for (const std::uint32_t length : {RomImage::capacity, 65536u, 262144u, RomImage::minimumSpan, 70000u}) {
        SCOPED_TRACE(length);
        ImageSpec spec;
        spec.length = length;
        const std::vector<std::uint8_t> bytes = testing::buildImage(spec);
        BiosInfo info;
        ASSERT_TRUE(loadRomBytes(bytes.data(), bytes.size(), info));
        encodeImage(info, out);
        ASSERT_EQ(out.loadedLength, length);
        ASSERT_GE(out.bytes.size(), length);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), out.bytes.begin()));
        EXPECT_TRUE(std::all_of(out.bytes.begin() + length, out.bytes.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

TEST(Save, WritesEveryValueInTheEncodersForm)
{
    for (BoardModel board : {BoardModel::Gtx660Ti, BoardModel::Gtx670, BoardModel::Gtx680}) {
        SCOPED_TRACE(static_cast<int>(board));
        auto loaded = loadImage(board, [](ImageSpec& s) { s.memClockSecondWord = 1234; });
        BiosInfo& info = loaded->info;
        info.gpuClock.value = 1058.75f;
        info.boostClock.value = 1058.3f;
        info.memClock.value = 1502.5f;
        info.boostTable[17].value = 1071.7f;
        info.powerDefault.value = 170;
        info.powerLimitHi.value = 300;
        info.fanMin.value = 40;
        info.fanMax.value = 100;
        info.voltage[0].value = 1200;
        info.voltage[3].value = 999;  // only slot 0 is written

        ASSERT_TRUE(saveRomFile(loaded->path, info));
        const auto bytes = testing::readBytes(loaded->path);
        const testing::BoardOffsets& at = testing::locationsOf(board);
        EXPECT_EQ(bytes.size(), loaded->spec.length);
        EXPECT_EQ(testing::getU16(bytes, at.gpuClock), 2117);
        EXPECT_EQ(testing::getU16(bytes, at.boostClock), 2116);
        EXPECT_EQ(testing::getU16(bytes, at.memClock), 19389);
        EXPECT_EQ(testing::getU16(bytes, at.memClockSecond), 19389);
        EXPECT_EQ(testing::getU16(bytes, at.boostTableFirst + 5 * 17), 2143);
        EXPECT_EQ(testing::getU32(bytes, at.powerDefault), 170000u);
        EXPECT_EQ(testing::getU32(bytes, at.powerLimitHi), 300000u);
        EXPECT_EQ(bytes[at.fanMin], 40);
        EXPECT_EQ(bytes[at.fanMax], 100);
        for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
            EXPECT_EQ(testing::getU32(bytes, at.voltage[slot]), slot < 4 ? 1200000u : 12000000u);
        EXPECT_TRUE(testing::checksumValid(bytes, board));
        EXPECT_EQ(bytes[at.checksumWriteOffset], info.checksumComputed);
        EXPECT_EQ(std::vector<std::uint8_t>(romImage().bytes.begin(), romImage().bytes.begin() + bytes.size()), bytes);
    }
}

TEST(Save, AnUneditedImageKeepsItsWordsAndGetsAValidChecksum)
{
    auto loaded = loadImage(BoardModel::Gtx670, [](ImageSpec& s) {
        s.correctChecksum = false;
        s.powerMaxMilliwatts = 225999;
        s.voltageDwords[2] = 1175400;
    });
    const auto before = testing::readBytes(loaded->path);
    ASSERT_TRUE(saveRomFile(loaded->path, loaded->info));
    const auto after = testing::readBytes(loaded->path);

    const testing::BoardOffsets& at = testing::locationsOf(BoardModel::Gtx670);
    std::vector<std::uint32_t> unchangedWords = {at.gpuClock, at.boostClock, at.memClock, at.memClockSecond};
    for (std::uint32_t k = 0; k < boostEntryCount; ++k)
        unchangedWords.push_back(at.boostTableFirst + 5 * k);
    for (std::uint32_t offset : unchangedWords)
        EXPECT_EQ(testing::getU16(after, offset), testing::getU16(before, offset)) << offset;
    EXPECT_EQ(after[at.fanMin], before[at.fanMin]);
    EXPECT_EQ(after[at.fanMax], before[at.fanMax]);
    EXPECT_EQ(testing::getU32(after, at.powerMax), 225000u);
    EXPECT_EQ(testing::getU32(after, at.voltage[2]), 1175000u);
    EXPECT_TRUE(testing::checksumValid(after, BoardModel::Gtx670));
    EXPECT_FALSE(testing::checksumValid(before, BoardModel::Gtx670));

    BiosInfo reloaded;
    ASSERT_TRUE(loadRomFile(loaded->path, reloaded));
    EXPECT_EQ(reloaded.checksumStored, reloaded.checksumComputed);
}

TEST(Save, FieldsBeyondAShortFileDoNotReachIt)
{
    auto loaded = loadImage(BoardModel::Gtx680, [](ImageSpec& s) { s.length = 30000; });
    const auto before = testing::readBytes(loaded->path);
    loaded->info.fanMin.value = 50;
    ASSERT_TRUE(saveRomFile(loaded->path, loaded->info));
    const auto after = testing::readBytes(loaded->path);
    ASSERT_EQ(after.size(), 30000u);
    EXPECT_EQ(after, before);  // every field at or past 30000; the rest was in the encoder's form already
}

TEST(Save, ReplacesALongerFileAndKeepsItsPermissionBits)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no permission bits; Windows saves keep attributes (WindowsSave)";
#endif
    auto loaded = loadImage(BoardModel::Gtx680);
    const fs::path other = loaded->dir / "other.rom";
    testing::writeBytes(other, std::vector<std::uint8_t>(RomImage::capacity, 0xAB));
    fs::permissions(other, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(saveRomFile(other, loaded->info));
    EXPECT_EQ(testing::readBytes(other), testing::readBytes(loaded->path));
    EXPECT_EQ(fs::status(other).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(testing::folderEntries(loaded->dir.path()), (std::set<std::string>{"image.rom", "other.rom"}));
}

TEST(Save, FollowsASymbolicLinkToTheFileItNames)
{
#ifdef _WIN32
    GTEST_SKIP() << "making a symbolic link on Windows takes a privilege that ordinary users lack";
#endif
    auto loaded = loadImage(BoardModel::Gtx680);
    const fs::path link = loaded->dir / "link.rom";
    fs::create_symlink(loaded->path, link);
    loaded->info.fanMin.value = 55;
    ASSERT_TRUE(saveRomFile(link, loaded->info));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(testing::readBytes(loaded->path)[testing::locationsOf(BoardModel::Gtx680).fanMin], 55);
}

TEST(Save, ATargetThatCannotBeReplacedIsRefusedBeforeAnythingChanges)
{
    auto loaded = loadImage(BoardModel::Gtx680);
    const std::vector<std::uint8_t> imageBefore = romImage().bytes;
    const fs::path folderTarget = loaded->dir / "folder.rom";
    fs::create_directory(folderTarget);
    std::vector<fs::path> targets = {folderTarget, loaded->dir / "missing" / "x.rom"};
#ifdef _WIN32
    // Device names, which every folder has, whatever follows them.
    for (const char* device : {"NUL", "con", "COM1", "aux.rom", "Lpt9 .txt", "CONOUT$", "\\\\.\\NUL"})
        targets.push_back(loaded->dir / device);
#else
    targets.push_back("/dev/null");
#endif
    for (const fs::path& target : targets) {
        SCOPED_TRACE(target);
        testing::MessageRecorder messages;
        loaded->info.fanMin.value = 66;
        EXPECT_FALSE(saveRomFile(target, loaded->info));
        EXPECT_EQ(messages.messages(), std::vector<std::string>{"Cannot save bios file!"});
        EXPECT_EQ(romImage().bytes, imageBefore);
    }
    EXPECT_TRUE(fs::is_directory(folderTarget));
    EXPECT_TRUE(fs::is_empty(folderTarget));
}

// A failure after the temporary file opened: the target stays byte for byte
// as it was, no temporary file is left and the image in memory is unchanged.
TEST(Save, AFailedWriteLeavesTheTargetAndTheImageAsTheyWere)
{
    for (FileStep step : {FileStep::Write, FileStep::Flush, FileStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        auto loaded = loadImage(BoardModel::Gtx660Ti);
        const auto fileBefore = testing::readBytes(loaded->path);
        const std::vector<std::uint8_t> imageBefore = romImage().bytes;
        const std::uint8_t checksumBefore = loaded->info.checksumComputed;
        loaded->info.gpuClock.value = 1500.0f;

        testing::MessageRecorder messages;
        injectFileFailureForTesting(step);
        const bool saved = saveRomFile(loaded->path, loaded->info);
        injectFileFailureForTesting(FileStep::None);

        EXPECT_FALSE(saved);
        EXPECT_EQ(messages.messages(), std::vector<std::string>{"Cannot write bios file!"});
        EXPECT_EQ(testing::readBytes(loaded->path), fileBefore);
        EXPECT_EQ(testing::folderEntries(loaded->dir.path()), std::set<std::string>{"image.rom"});
        EXPECT_EQ(romImage().bytes, imageBefore);
        EXPECT_EQ(loaded->info.checksumComputed, checksumBefore);
    }
}

TEST(Save, ATemporaryFileThatCannotBeCreatedIsRefused)
{
    auto loaded = loadImage(BoardModel::Gtx680);
    const auto fileBefore = testing::readBytes(loaded->path);
    testing::MessageRecorder messages;
    injectFileFailureForTesting(FileStep::OpenTemporary);
    const bool saved = saveRomFile(loaded->path, loaded->info);
    injectFileFailureForTesting(FileStep::None);
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.messages(), std::vector<std::string>{"Cannot save bios file!"});
    EXPECT_EQ(testing::readBytes(loaded->path), fileBefore);
    EXPECT_EQ(testing::folderEntries(loaded->dir.path()), std::set<std::string>{"image.rom"});
}

TEST(Save, WithNothingLoadedTheTargetIsLeftAlone)
{
    const testing::TempDir dir;
    const fs::path target = dir.write("keep.rom", std::vector<std::uint8_t>(1000, 0x5A));
    RomImage nothingLoaded;
    std::swap(romImage(), nothingLoaded);
    testing::MessageRecorder messages;
    BiosInfo info;
    const bool saved = saveRomFile(target, info);
    std::swap(romImage(), nothingLoaded);
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.messages(), std::vector<std::string>{"Cannot save bios file!"});
    EXPECT_EQ(testing::readBytes(target), std::vector<std::uint8_t>(1000, 0x5A));
    EXPECT_EQ(testing::folderEntries(dir.path()), std::set<std::string>{"keep.rom"});
}

TEST(Save, ATargetWithTheLongestNameTheFolderAllowsIsSaved)
{
    auto loaded = loadImage(BoardModel::Gtx680);
    const fs::path longName = loaded->dir / (std::string(251, 'n') + ".rom");
    ASSERT_TRUE(saveRomFile(longName, loaded->info));
    EXPECT_EQ(testing::readBytes(longName), testing::readBytes(loaded->path));
    EXPECT_EQ(testing::folderEntries(loaded->dir.path()).size(), 2u);
}

TEST(Save, ANewFileIsCreatedAtTheLoadedLength)
{
    auto loaded = loadImage(BoardModel::Gtx670, [](ImageSpec& s) { s.length = 65536; });
    const fs::path created = loaded->dir / "new file é.rom";
    ASSERT_TRUE(saveRomFile(created, loaded->info));
    EXPECT_EQ(fs::file_size(created), 65536u);
    BiosInfo again;
    EXPECT_TRUE(loadRomFile(created, again));
    EXPECT_EQ(again.checksumStored, again.checksumComputed);
}

}  // namespace
}  // namespace veltra
