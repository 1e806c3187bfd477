// A load that fails, at whatever step, leaves the image in memory and the
// caller's record as they were; one that succeeds on a short file reads
// what lies beyond its end as zero.
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "rom/rom.h"
#include "tests/hardening/child_process.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* cannotOpen = "Cannot open bios file!";
constexpr const char* cannotRead = "Cannot read bios file!";
constexpr const char* tooLarge = "Bios file is too large!";
constexpr const char* unknownModel = "Unknow model!";
constexpr const char* voltageError = "Read voltage error!";

class LoadFault : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::permissions(dir.path(), fs::perms(0755));
        // A different board than the files under test, so that a load that
        // leaked anything would show.
        ImageSpec earlier;
        earlier.board = BoardModel::Gtx670;
        MessageRecorder quiet;
        ASSERT_TRUE(loadRomFile(dir.write("earlier.rom", buildImage(earlier)), info));
        infoBefore = dump(info);
        imageBefore = ImageSnapshot::ofRomImage();
    }

    std::string loadAndDescribe(const fs::path& path)
    {
        MessageRecorder recorder;
        const bool ok = loadRomFile(path, info);
        return describe(ok, recorder.messages(), ImageSnapshot::ofRomImage() == imageBefore);
    }

    void expectNothingChanged()
    {
        EXPECT_EQ(dump(info), infoBefore);
        EXPECT_TRUE(ImageSnapshot::ofRomImage() == imageBefore);
    }

    static std::string refused(const char* message) { return describe(false, {message}, true); }

    TempDir dir;
    BiosInfo info;
    std::string infoBefore;
    ImageSnapshot imageBefore;
};

TEST_F(LoadFault, FileThatCannotBeReadWholeChangesNothing)
{
    const ImageSpec valid;
    const struct {
        const char* name;
        std::function<fs::path(const TempDir&)> makePath;
        const char* message;
    } cases[] = {
        {"removed after it was chosen", [](const TempDir& d) { return d / "gone.rom"; }, cannotOpen},
        {"a folder", [](const TempDir& d) { fs::create_directory(d / "dir.rom"); return d / "dir.rom"; }, cannotOpen},
        // Must not block waiting for a writer.
        {"a pipe", [](const TempDir& d) { ::mkfifo((d / "pipe.rom").c_str(), 0644); return d / "pipe.rom"; },
         cannotOpen},
        {"a dangling symbolic link",
         [](const TempDir& d) { fs::create_symlink(d / "nowhere.rom", d / "dangling.rom"); return d / "dangling.rom"; },
         cannotOpen},
        {"one byte past the capacity",
         [&](const TempDir& d) {
             ImageSpec spec = valid;
             spec.length = RomImage::capacity + 1;
             return d.write("large.rom", buildImage(spec));
         },
         tooLarge},
        {"truncated to nothing", [](const TempDir& d) { return d.write("empty.rom", {}); }, unknownModel},
        {"one byte", [](const TempDir& d) { return d.write("one.rom", {0x55}); }, unknownModel},
        {"GTX 660, recognised but not editable",
         [&](const TempDir& d) {
             ImageSpec spec = valid;
             spec.deviceId = 0x11C0;
             return d.write("660.rom", buildImage(spec));
         },
         "Geforce GTX 660 is not supported!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(loadAndDescribe(c.makePath(dir)), refused(c.message));
        expectNothingChanged();
    }
}

// A file that claims more bytes than it delivers: kernel attribute files
// report a length of one page and hold a few bytes.
TEST_F(LoadFault, ShortReadIsReportedAndChangesNothing)
{
    const char* candidates[] = {"/sys/kernel/mm/transparent_hugepage/enabled", "/sys/kernel/profiling",
                                "/sys/power/state"};
    for (const char* candidate : candidates) {
        std::error_code ec;
        const bool claimsAPage = fs::is_regular_file(candidate, ec) && fs::file_size(candidate, ec) == 4096;
        if (!claimsAPage || ::access(candidate, R_OK) != 0)
            continue;
        EXPECT_EQ(loadAndDescribe(candidate), refused(cannotRead));
        expectNothingChanged();
        return;
    }
    GTEST_SKIP() << "no file on this machine reads shorter than its length";
}

TEST_F(LoadFault, UnreadableForAnOrdinaryUser)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    const fs::path path = dir.write("secret.rom", buildImage(ImageSpec{}));
    fs::permissions(path, fs::perms(0600));  // root's, not nobody's
    const ChildOutcome child = runInChild(asNobody(), [&] { return loadAndDescribe(path); });
    ASSERT_TRUE(child.exitedNormally);
    ASSERT_EQ(child.exitCode, 0);
    EXPECT_EQ(child.report, refused(cannotOpen));
}

// The file ends just before a field (or inside it): the bytes beyond read as
// zero, which either loads with that field zero or fails at the step that
// meets it, and never reads past the image.
TEST_F(LoadFault, FileEndingBeforeEachField)
{
    struct Case {
        const char* name;
        std::function<std::uint32_t(const BoardOffsets&)> cutAt;
        const char* message;  // null: loads
        std::function<void(const BiosInfo&)> check;
    };
    const Case cases[] = {
        {"inside the vendor id", [](const BoardOffsets&) { return vendorIdOffset + 1; }, unknownModel, {}},
        {"before the device id", [](const BoardOffsets&) { return deviceIdOffset; }, unknownModel, {}},
        {"right after the ids", [](const BoardOffsets&) { return deviceIdOffset + 2; }, nullptr,
         [](const BiosInfo& i) {
             EXPECT_EQ(i.gpuClock.value, 0.0f);
             EXPECT_EQ(i.memClock.value, -8192.0f);  // a zero word is below the bias
             EXPECT_EQ(i.voltage[0].value, 0u);
             EXPECT_EQ(i.checksumStored, 0);
         }},
        {"before the memory clock", [](const BoardOffsets& t) { return t.memClock; }, nullptr,
         [](const BiosInfo& i) { EXPECT_EQ(i.memClock.value, -8192.0f); }},
        {"inside the GPU clock", [](const BoardOffsets& t) { return t.gpuClock + 1; }, nullptr,
         [](const BiosInfo& i) { EXPECT_EQ(i.gpuClock.value, (2012 & 0xFF) * 0.5f); }},
        {"before the last boost entry", [](const BoardOffsets& t) { return t.boostTableFirst + 44 * boostEntryStride; },
         nullptr, [](const BiosInfo& i) {
             EXPECT_EQ(i.boostTable[43].value, (2012 + 27 * 43) * 0.5f);
             EXPECT_EQ(i.boostTable[44].value, 0.0f);
         }},
        {"before the first voltage slot", [](const BoardOffsets& t) { return t.voltage[0]; }, nullptr,
         [](const BiosInfo& i) { EXPECT_EQ(i.voltage[0].value, 0u); }},
        {"after the first voltage slot", [](const BoardOffsets& t) { return t.voltage[1]; }, voltageError, {}},
        {"before the last voltage slot", [](const BoardOffsets& t) { return t.voltage[5]; }, voltageError, {}},
        {"before the fan maximum", [](const BoardOffsets& t) { return t.fanMax; }, nullptr,
         [](const BiosInfo& i) { EXPECT_EQ(i.fanMax.value, 0); }},
        {"before the last power value", [](const BoardOffsets& t) { return t.powerLimitHi; }, nullptr,
         [](const BiosInfo& i) {
             EXPECT_EQ(i.powerLimitLo.value, 150u);
             EXPECT_EQ(i.powerLimitHi.value, 0u);
         }},
        {"before the checksum byte", [](const BoardOffsets& t) { return t.checksumReadOffset; }, nullptr,
         [](const BiosInfo& i) { EXPECT_EQ(i.checksumStored, 0); }},
        {"exactly at the capacity", [](const BoardOffsets&) { return RomImage::capacity; }, nullptr,
         [](const BiosInfo& i) { EXPECT_EQ(i.checksumStored, i.checksumComputed); }},
    };
    for (BoardModel board : {BoardModel::Gtx660Ti, BoardModel::Gtx670, BoardModel::Gtx680}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " on board " + std::to_string(static_cast<int>(board)));
            const BoardOffsets& table = locationsOf(board);
            ImageSpec spec;
            spec.board = board;
            spec.length = RomImage::capacity;
            std::vector<std::uint8_t> bytes = buildImage(spec);
            const std::uint32_t length = c.cutAt(table);
            // The Gtx670 keeps its fan bytes below the voltage slots; cutting
            // there zeroes the voltage too, which still agrees.
            bytes.resize(length);
            const fs::path path = dir.write("cut.rom", bytes);

            if (c.message) {
                EXPECT_EQ(loadAndDescribe(path), refused(c.message));
                expectNothingChanged();
                continue;
            }
            MessageRecorder recorder;
            BiosInfo loaded;
            ASSERT_TRUE(loadRomFile(path, loaded));
            EXPECT_TRUE(recorder.messages().empty());
            EXPECT_EQ(romImage().loadedLength, length);
            EXPECT_TRUE(std::all_of(romImage().bytes.begin() + length, romImage().bytes.end(),
                                    [](std::uint8_t b) { return b == 0; }));
            c.check(loaded);
            // Put the earlier file back for the next row.
            ASSERT_TRUE(loadRomFile(dir / "earlier.rom", info));
        }
    }
}

TEST_F(LoadFault, LinksAndOddNamesLoadLikeThePlainFile)
{
    const std::vector<std::uint8_t> bytes = buildImage(ImageSpec{});
    const fs::path plain = dir.write("plain.rom", bytes);
    fs::create_symlink(plain, dir / "link.rom");
    fs::create_directory(dir / "B\xC3\xBCro Ordner");
    const fs::path odd = dir.write("B\xC3\xBCro Ordner/Karte \xE2\x84\x96 2.rom", bytes);

    MessageRecorder recorder;
    BiosInfo fromPlain, fromLink, fromOdd;
    ASSERT_TRUE(loadRomFile(plain, fromPlain));
    ASSERT_TRUE(loadRomFile(dir / "link.rom", fromLink));
    ASSERT_TRUE(loadRomFile(odd, fromOdd));
    EXPECT_EQ(dump(fromLink), dump(fromPlain));
    EXPECT_EQ(dump(fromOdd), dump(fromPlain));
    EXPECT_TRUE(recorder.messages().empty());
}

}  // namespace
}  // namespace veltra::testing
