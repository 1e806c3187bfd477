#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "rom/rom.h"
#include "tests/support/image_builder.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

using testing::ImageSpec;

const BoardModel editableBoards[] = {BoardModel::Gtx660Ti, BoardModel::Gtx670, BoardModel::Gtx680};

TEST(Load, DecodesEveryFieldOfEachBoard)
{
    for (BoardModel board : editableBoards) {
        SCOPED_TRACE(static_cast<int>(board));
        ImageSpec spec;
        spec.board = board;
        spec.gpuClockWord = 2117;
        spec.boostClockWord = 1;
        spec.memClockWord = 12288;            // below the bias: a negative clock
        spec.boostTableWords[44] = 4000;
        spec.powerDefaultMilliwatts = 170500;  // below a whole watt is dropped
        spec.powerLimitHiMilliwatts = 4294967295u;
        spec.fanMin = 0;
        spec.fanMax = 255;
        spec.voltageDwords[3] = 1175999;       // agrees: compared in whole millivolts
        spec.versionText = "ABCDEFGHIJKLMN";   // all 14 bytes used
        spec.boardText = std::string("Board\0hidden", 12);
        const testing::TempDir dir;
        const testing::MessageRecorder messages;
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(dir.write("a.rom", testing::buildImage(spec)), info));
        EXPECT_TRUE(messages.messages().empty());

        const testing::BoardOffsets& at = testing::locationsOf(board);
        EXPECT_EQ(info.vendorId, 0x10DE);
        EXPECT_EQ(info.deviceId, testing::deviceIdOf(board));
        EXPECT_EQ(info.gpuClock.offset, at.gpuClock);
        EXPECT_EQ(info.gpuClock.value, 1058.5f);
        EXPECT_EQ(info.boostClock.value, 0.5f);
        EXPECT_EQ(info.memClock.value, -2048.0f);
        EXPECT_EQ(info.memClock.secondOffset, at.memClockSecond);
        EXPECT_EQ(info.boostTable[0].value, 1006.0f);
        EXPECT_EQ(info.boostTable[1].value, 1019.5f);
        EXPECT_EQ(info.boostTable[44].value, 2000.0f);
        EXPECT_EQ(info.boostTable[44].offset, at.boostTableFirst + 220);
        EXPECT_EQ(info.powerDefault.value, 170u);
        EXPECT_EQ(info.powerMax.value, 225u);
        EXPECT_EQ(info.powerLimitLo.value, 150u);
        EXPECT_EQ(info.powerLimitHi.value, 4294967u);
        EXPECT_EQ(info.fanMin.value, 0);
        EXPECT_EQ(info.fanMax.value, 255);
        EXPECT_EQ(info.voltage[0].value, 1175u);
        EXPECT_EQ(info.versionText.shown(), "ABCDEFGHIJKLMN");
        EXPECT_EQ(info.versionText.text[14], 0);
        EXPECT_EQ(info.versionText.text[31], 0);
        EXPECT_EQ(info.boardText.shown(), "Board");
        EXPECT_EQ(info.dateText.shown(), "03/22/12");
        EXPECT_EQ(info.checksumStored, info.checksumComputed);
        EXPECT_EQ(info.checksumReadOffset, at.checksumReadOffset);
        EXPECT_EQ(romImage().loadedLength, spec.length);
    }
}

TEST(Load, TheLocationTablesHoldTheKnownOffsets)
{
    // A few offsets checked against the boards' own images.
    EXPECT_EQ(testing::locationsOf(BoardModel::Gtx670).checksumReadOffset, 62975u);
    EXPECT_EQ(testing::locationsOf(BoardModel::Gtx670).boostTableFirst + 5 * 44, 28685u);
    EXPECT_EQ(testing::locationsOf(BoardModel::Gtx660Ti).boostTableFirst + 5 * 44, 28813u);
    EXPECT_EQ(testing::locationsOf(BoardModel::Gtx680).boostTableFirst + 5 * 44, 28526u);
    EXPECT_EQ(testing::locationsOf(BoardModel::Gtx670).fanMin, 21651u);
}

TEST(Load, AShortFileReadsTheFieldsBeyondItsEndAsZero)
{
    ImageSpec spec;
    spec.board = BoardModel::Gtx680;
    spec.length = 30000;  // ends inside the power block, before fan and checksum
    const testing::TempDir dir;
    testing::MessageRecorder messages;
    BiosInfo info;
    ASSERT_TRUE(loadRomFile(dir.write("short.rom", testing::buildImage(spec)), info));
    EXPECT_EQ(info.powerDefault.value, 0u);
    EXPECT_EQ(info.fanMin.value, 0);
    EXPECT_EQ(info.checksumStored, 0);
    EXPECT_EQ(info.gpuClock.value, 1006.0f);
    EXPECT_EQ(romImage().loadedLength, 30000u);
    EXPECT_EQ(romImage().bytes[30000], 0);
}

// Each way a load can fail: its message, and nothing of the loaded image or
// the caller's record changes.
TEST(Load, AFailedLoadReportsItsCauseAndChangesNothing)
{
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> bend;
        std::vector<std::string> messages;
    } const cases[] = {
        {"vendor", [](auto& b) { testing::putU16(b, vendorIdOffset, 0x10DF); }, {"Unknow model!"}},
        {"device", [](auto& b) { testing::putU16(b, deviceIdOffset, 0x1400); }, {"Unknow model!"}},
        {"660", [](auto& b) { testing::putU16(b, deviceIdOffset, 0x11C0); }, {"Geforce GTX 660 is not supported!"}},
        {"770", [](auto& b) { testing::putU16(b, deviceIdOffset, 0x1184); }, {"GeForce GTX 770 is not supported!"}},
        {"ids beyond the end", [](auto& b) { b.resize(1000); }, {"Unknow model!"}},
        {"voltage slot 5",
         [](auto& b) { testing::putU32(b, testing::locationsOf(BoardModel::Gtx670).voltage[5], 11760000); },
         {"Read voltage error!"}},
        {"voltage slot 1",
         [](auto& b) { testing::putU32(b, testing::locationsOf(BoardModel::Gtx670).voltage[1], 1174999); },
         {"Read voltage error!"}},
        {"too large", [](auto& b) { b.resize(RomImage::capacity + 1); }, {"Bios file is too large!"}},
    };
    const testing::TempDir dir;
    ImageSpec firstSpec;
    firstSpec.board = BoardModel::Gtx680;
    firstSpec.gpuClockWord = 1800;
    const auto first = testing::buildImage(firstSpec);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::MessageRecorder messages;
        BiosInfo info;
        ASSERT_TRUE(loadRomFile(dir.write("first.rom", first), info));
        const std::vector<std::uint8_t> imageBefore = romImage().bytes;
        const std::uint32_t lengthBefore = romImage().loadedLength;

        ImageSpec spec;
        spec.board = BoardModel::Gtx670;
        auto bytes = testing::buildImage(spec);
        c.bend(bytes);
        EXPECT_FALSE(loadRomFile(dir.write("second.rom", bytes), info));
        EXPECT_EQ(messages.messages(), c.messages);
        EXPECT_EQ(romImage().bytes, imageBefore);
        EXPECT_EQ(romImage().loadedLength, lengthBefore);
        EXPECT_EQ(info.deviceId, 0x1180);
        EXPECT_EQ(info.gpuClock.value, 900.0f);
        EXPECT_EQ(info.checksumReadOffset, 65535u);
    }
}

TEST(Load, AFileThatCannotBeOpenedIsReported)
{
    const testing::TempDir dir;
    testing::MessageRecorder messages;
    BiosInfo info;
    std::vector<std::filesystem::path> unopenable = {dir / "missing.rom", dir.path()};
#ifdef _WIN32
    // Device names, which every folder has: none is a file to read.
    for (const char* device : {"NUL", "CON", "COM1", "aux.rom", "lpt1 .txt", "\\\\.\\NUL"})
        unopenable.push_back(dir / device);
#else
    unopenable.push_back("/dev/null");
#endif
    for (const auto& path : unopenable) {
        SCOPED_TRACE(path);
        messages.clear();
        EXPECT_FALSE(loadRomFile(path, info));
        EXPECT_EQ(messages.messages(), std::vector<std::string>{"Cannot open bios file!"});
    }
}

TEST(Load, AFileOfExactlyTheCapacityLoads)
{
    ImageSpec spec;
    spec.length = RomImage::capacity;
    const testing::TempDir dir;
    BiosInfo info;
    EXPECT_TRUE(loadRomFile(dir.write("full.rom", testing::buildImage(spec)), info));
    EXPECT_EQ(romImage().loadedLength, RomImage::capacity);
}

// Whole-flash dumps run past the 204800 bytes the built-in locations need:
// every file up to the capacity loads, whether the fields come from the
// built-in locations or the image's tables, and a save writes it whole with
// every byte past the image as it was; a byte more is too large, from a
// file or from memory.
TEST(Load, FilesUpToTheCapacityLoadAndSaveWhole)
{
    const testing::TempDir dir;
    for (const std::uint32_t length : {RomImage::minimumSpan, 205312u, 262144u, RomImage::capacity}) {
        for (const bool tables : {false, true}) {
            SCOPED_TRACE(std::to_string(length) + (tables ? ", image tables" : ", built-in locations"));
            std::vector<std::uint8_t> bytes;
            std::uint32_t imageEnd = 0x10000;
            if (tables) {
                testing::StructuredSpec spec = testing::familySpec(testing::BoardFamily::Gtx780);
                const testing::StructuredImage sized = testing::buildStructuredImage(spec);
                spec.trailingLength = length - static_cast<std::uint32_t>(sized.bytes.size());
                const testing::StructuredImage image = testing::buildStructuredImage(spec);
                bytes = image.bytes;
                imageEnd = image.imageOffset + image.imageLength;
            } else {
                ImageSpec spec;
                spec.length = length;
                bytes = testing::buildImage(spec);
            }
            ASSERT_EQ(bytes.size(), length);
            testing::MessageRecorder messages;
            BiosInfo info;
            ASSERT_TRUE(loadRomFile(dir.write("flash.rom", bytes), info));
            EXPECT_EQ(romImage().loadedLength, length);
            EXPECT_EQ(info.layout.source, tables ? LayoutSource::ImageTables : LayoutSource::BuiltInTable);

            info.fanMax.value = 77;
            ASSERT_TRUE(saveRomFile(dir / "saved.rom", info));
            const std::vector<std::uint8_t> saved = testing::readBytes(dir / "saved.rom");
            ASSERT_EQ(saved.size(), length);
            EXPECT_EQ(saved[info.fanMax.offset], 77);
            EXPECT_TRUE(std::equal(saved.begin() + imageEnd, saved.end(), bytes.begin() + imageEnd));

            bytes.push_back(0);
            EXPECT_EQ(loadRomBytes(bytes.data(), bytes.size(), info), length < RomImage::capacity);
            EXPECT_EQ(messages.messages(), length < RomImage::capacity
                                               ? std::vector<std::string>{}
                                               : std::vector<std::string>{"Bios file is too large!"});
        }
    }
}

TEST(BoardSelection, ReplacesEveryLocationOfTheEarlierBoard)
{
    BiosInfo info;
    info.vendorId = 0x10DE;
    info.deviceId = 0x1180;
    ASSERT_TRUE(selectBoardModel(info));
    info.deviceId = 0x1183;
    ASSERT_TRUE(selectBoardModel(info));

    BiosInfo fresh;
    fresh.vendorId = 0x10DE;
    fresh.deviceId = 0x1183;
    ASSERT_TRUE(selectBoardModel(fresh));
    EXPECT_EQ(info.fanMin.offset, fresh.fanMin.offset);
    EXPECT_EQ(info.memClock.secondOffset, fresh.memClock.secondOffset);
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        EXPECT_EQ(info.boostTable[k].offset, fresh.boostTable[k].offset);
    for (std::size_t s = 0; s < voltageSlotCount; ++s)
        EXPECT_EQ(info.voltage[s].offset, fresh.voltage[s].offset);
    EXPECT_EQ(info.checksumWriteOffset, fresh.checksumWriteOffset);
}

TEST(BoardSelection, AnUnsupportedBoardChangesNoLocation)
{
    testing::MessageRecorder messages;
    BiosInfo info;
    info.vendorId = 0x10DE;
    info.deviceId = 0x1189;
    ASSERT_TRUE(selectBoardModel(info));
    for (std::uint16_t device : {std::uint16_t{0x11C0}, std::uint16_t{0x1184}, std::uint16_t{0x1400}}) {
        BiosInfo bent = info;
        bent.deviceId = device;
        EXPECT_FALSE(selectBoardModel(bent));
        EXPECT_EQ(bent.gpuClock.offset, info.gpuClock.offset);
        EXPECT_EQ(bent.checksumReadOffset, 62975u);
    }
    EXPECT_EQ(messages.messages(), (std::vector<std::string>{"Geforce GTX 660 is not supported!",
                                                             "GeForce GTX 770 is not supported!", "Unknow model!"}));
}

}  // namespace
}  // namespace veltra
