// Every way a save can fail on one machine must leave the user's file byte
// for byte as it was, no temporary file beside it, and the image in memory
// as it was, with one clear message.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rom/rom.h"
#include "tests/hardening/child_process.h"
#include "tests/hardening/failing_allocation.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* cannotSave = "Cannot save bios file!";
constexpr const char* cannotWrite = "Cannot write bios file!";
constexpr const char* changedMeanwhile = "Bios file was changed by another program!";

class InjectedFailure {
public:
    explicit InjectedFailure(FileStep step) { injectFileFailureForTesting(step); }
    ~InjectedFailure() { injectFileFailureForTesting(FileStep::None); }
};

class SaveFault : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Traversable by the unprivileged child of the permission cases.
        fs::permissions(dir.path(), fs::perms(0755));
        original = buildImage(ImageSpec{});
        target = dir.write("card.rom", original);
        load();
    }

    void load()
    {
        MessageRecorder quiet;
        ASSERT_TRUE(loadRomFile(target, info));
        loadedFrom = romImage().source;
        // An edit, so that any write that got through would show on disk.
        info.gpuClock.value = 1100.0f;
        infoBefore = dump(info);
        imageBefore = ImageSnapshot::ofRomImage();
        entriesBefore = folderEntries(dir.path());
    }

    // Called by the child: one save, described in one line.
    std::string saveAndDescribe(const fs::path& path, const std::optional<FileIdentity>& unchangedSince = {})
    {
        MessageRecorder recorder;
        const bool ok = saveRomFile(path, info, unchangedSince);
        return describe(ok, recorder.messages(), ImageSnapshot::ofRomImage() == imageBefore);
    }

    void expectNothingChanged()
    {
        EXPECT_EQ(readBytes(target), original);
        EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
        EXPECT_EQ(dump(info), infoBefore);
        EXPECT_TRUE(ImageSnapshot::ofRomImage() == imageBefore);
    }

    static std::string refused(const char* message) { return describe(false, {message}, true); }

    TempDir dir;
    std::vector<std::uint8_t> original;
    fs::path target;
    BiosInfo info;
    std::optional<FileIdentity> loadedFrom;
    std::string infoBefore;
    ImageSnapshot imageBefore;
    std::set<std::string> entriesBefore;
};

// A file that is not ours to replace, or a step of the file system that
// fails: nothing changes, wherever the save stopped.

TEST_F(SaveFault, RefusedOrFailedSaveChangesNothing)
{
    struct Case {
        const char* name;
        std::function<fs::path(const TempDir&)> makeTarget;
        FileStep injected;
        const char* message;
    };
    const Case cases[] = {
        {"target is a folder", [](const TempDir& d) { fs::create_directory(d / "folder.rom"); return d / "folder.rom"; },
         FileStep::None, cannotSave},
        {"folder missing", [](const TempDir& d) { return d / "missing" / "card.rom"; }, FileStep::None, cannotSave},
        {"target is a pipe", [](const TempDir& d) { ::mkfifo((d / "pipe.rom").c_str(), 0644); return d / "pipe.rom"; },
         FileStep::None, cannotSave},
        {"symbolic link loop",
         [](const TempDir& d) {
             fs::create_symlink(d / "b.rom", d / "a.rom");
             fs::create_symlink(d / "a.rom", d / "b.rom");
             return d / "a.rom";
         },
         FileStep::None, cannotSave},
        {"link to a file that does not exist",
         [](const TempDir& d) { fs::create_symlink(d / "gone.rom", d / "dangling.rom"); return d / "dangling.rom"; },
         FileStep::None, cannotSave},
        {"a file taken for a folder: card.rom/../card.rom",
         [](const TempDir& d) { return d / "card.rom" / ".." / "card.rom"; }, FileStep::None, cannotSave},
        {"path ends in a slash", [](const TempDir& d) { return fs::path(d.path().string() + "/card.rom/"); },
         FileStep::None, cannotSave},
        {"empty path", [](const TempDir&) { return fs::path(); }, FileStep::None, cannotSave},
        {"temporary file cannot be created", [](const TempDir& d) { return d / "card.rom"; }, FileStep::OpenTemporary,
         cannotSave},
        {"ACL or other attributes cannot be carried over", [](const TempDir& d) { return d / "card.rom"; },
         FileStep::CarryAttributes, cannotSave},
        {"write fails", [](const TempDir& d) { return d / "card.rom"; }, FileStep::Write, cannotWrite},
        {"flush fails", [](const TempDir& d) { return d / "card.rom"; }, FileStep::Flush, cannotWrite},
        {"rename fails", [](const TempDir& d) { return d / "card.rom"; }, FileStep::Rename, cannotWrite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = c.makeTarget(dir);
        entriesBefore = folderEntries(dir.path());
        std::string outcome;
        {
            InjectedFailure failure(c.injected);
            outcome = saveAndDescribe(path);
        }
        EXPECT_EQ(outcome, refused(c.message));
        expectNothingChanged();
    }
    // The pipe is still a pipe and the dangling link still a link to the
    // same name: a refused save never replaces what it names.
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "pipe.rom").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(fs::read_symlink(dir / "dangling.rom"), dir / "gone.rom");
}

// Another program's change between load and save is never overwritten: the
// file was replaced, rewritten or removed, before the save began or while
// its temporary file was being written.
TEST_F(SaveFault, AFileChangedSinceItWasLoadedIsLeftAsTheOtherProgramMadeIt)
{
    std::vector<std::uint8_t> theirs = original;
    theirs[2000] ^= 0xFF;
    const struct {
        const char* name;
        std::function<void()> change;
        bool whileWriting;
    } cases[] = {
        {"replaced by another file", [&] { fs::rename(dir.write("theirs.rom", theirs), target); }, false},
        {"rewritten in place, one byte longer",
         [&] {
             auto longer = theirs;
             longer.push_back(0);
             writeBytes(target, longer);
         },
         false},
        {"rewritten in place, same length, a minute later",
         [&] {
             const auto loadedAt = fs::last_write_time(target);
             writeBytes(target, theirs);
             fs::last_write_time(target, loadedAt + std::chrono::minutes(1));
         },
         false},
        {"removed", [&] { fs::remove(target); }, false},
        {"replaced while the temporary file was written", [&] { fs::rename(dir.write("theirs.rom", theirs), target); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(target);
        writeBytes(target, original);
        load();
        std::string outcome;
        std::set<std::string> entriesLeft;
        std::optional<std::vector<std::uint8_t>> bytesLeft;
        const auto changeAndNote = [&] {
            c.change();
            entriesLeft = folderEntries(dir.path());
            if (fs::exists(target))
                bytesLeft = readBytes(target);
        };
        if (c.whileWriting) {
            MessageRecorder recorder;
            std::optional<SaveFile> file = openSaveFile(target, loadedFrom);
            ASSERT_TRUE(file);
            changeAndNote();
            RomImage image = romImage();
            const bool ok = writeFile(std::move(*file), image);
            outcome = describe(ok, recorder.messages(), ImageSnapshot::ofRomImage() == imageBefore);
        } else {
            changeAndNote();
            outcome = saveAndDescribe(target, loadedFrom);
        }
        EXPECT_EQ(outcome, refused(changedMeanwhile));
        EXPECT_EQ(dump(info), infoBefore);
        if (bytesLeft) {
            EXPECT_EQ(readBytes(target), *bytesLeft);
        } else {
            EXPECT_FALSE(fs::exists(target));
        }
        // Whatever the other program left, and no temporary file of ours.
        std::erase_if(entriesLeft, [](const std::string& name) { return name.starts_with(".card.rom.veltra-"); });
        EXPECT_EQ(folderEntries(dir.path()), entriesLeft);
    }

    // The file as loaded saves, and the image then names the written file.
    fs::remove(target);
    writeBytes(target, original);
    load();
    EXPECT_EQ(saveAndDescribe(target, loadedFrom), describe(true, {}, false));
    EXPECT_EQ(romImage().source, fileIdentity(target));
    EXPECT_NE(romImage().source, loadedFrom);
}

// Permission bits do not stop root; these run in a child that has become an
// ordinary user.
TEST_F(SaveFault, PermissionsOfAnOrdinaryUserAreRespected)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    struct Case {
        const char* name;
        bool folderOurs;        // folder owned by the child's user
        fs::perms targetMode;   // target owned by the child's user
        bool folderReadOnlyAfterOpen;
        const char* message;
    };
    const Case cases[] = {
        {"target read-only", true, fs::perms(0444), false, cannotSave},
        {"folder not writable", false, fs::perms(0644), false, cannotSave},
        {"rename refused: folder made read-only after the temporary was opened", true, fs::perms(0644), true,
         cannotWrite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::chown(dir.path().c_str(), c.folderOurs ? nobodyId : 0, c.folderOurs ? nobodyId : 0), 0);
        fs::permissions(dir.path(), fs::perms(0755));
        ASSERT_EQ(::chown(target.c_str(), nobodyId, nobodyId), 0);
        fs::permissions(target, c.targetMode);
        entriesBefore = folderEntries(dir.path());

        const ChildOutcome child = runInChild(asNobody(), [&] {
            if (!c.folderReadOnlyAfterOpen)
                return saveAndDescribe(target);
            MessageRecorder recorder;
            std::optional<SaveFile> file = openSaveFile(target);
            if (!file)
                return std::string("openSaveFile failed");
            ::chmod(dir.path().c_str(), 0555);
            const bool ok = writeFile(std::move(*file), romImage());
            ::chmod(dir.path().c_str(), 0755);
            return describe(ok, recorder.messages(), ImageSnapshot::ofRomImage() == imageBefore);
        });
        ASSERT_TRUE(child.exitedNormally);
        ASSERT_EQ(child.exitCode, 0);
        EXPECT_EQ(child.report, refused(c.message));
        EXPECT_EQ(readBytes(target), original);
        EXPECT_EQ(fs::status(target).permissions(), c.targetMode);
        std::set<std::string> entries = folderEntries(dir.path());
        if (c.folderReadOnlyAfterOpen) {
            // A folder that turned read-only cannot lose the temporary file
            // either; at most the one, hidden and named after the target.
            std::erase_if(entries, [](const std::string& name) { return name.starts_with(".card.rom.veltra-"); });
            for (const auto& entry : fs::directory_iterator(dir.path()))
                if (entry.path().filename().string().starts_with(".card.rom.veltra-"))
                    fs::remove(entry.path());
        }
        EXPECT_EQ(entries, entriesBefore);
    }
}

// A full disk, as the file-size limit of a child process: the write stops
// part way and must not cost the user the file already on disk.
TEST_F(SaveFault, FullDiskDuringTheWrite)
{
    const struct {
        const char* name;
        const char* file;
        bool exists;
        rlim_t limit;
    } cases[] = {
        {"over an existing file, half written", "card.rom", true, original.size() / 2},
        {"over an existing file, one byte short", "card.rom", true, original.size() - 1},
        {"to a new file", "new.rom", false, 4096},
        {"nothing at all can be written", "card.rom", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir / c.file;
        const ChildOutcome child = runInChild(withFileSizeLimit(c.limit), [&] {
            ignoreFileSizeLimitSignal();  // as every program that saves does first
            return saveAndDescribe(path);
        });
        ASSERT_TRUE(child.exitedNormally);
        ASSERT_EQ(child.exitCode, 0);
        EXPECT_EQ(child.report, refused(cannotWrite));
        EXPECT_EQ(fs::exists(path), c.exists);
        EXPECT_EQ(readBytes(target), original);
        EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
    }
}

// Out of memory at any one allocation of a save: it stops with its message,
// and neither the file, the folder nor the image in memory shows a trace.
TEST_F(SaveFault, RunningOutOfMemoryAnywhereInASaveLeavesNoTrace)
{
    for (long allocation = 0;; ++allocation) {
        ASSERT_LT(allocation, 1000) << "a save that never stops allocating";
        std::vector<std::string> messages;
        messages.reserve(4);
        // Showing the message must not fail in turn.
        setMessageHandler([&](const std::string& text) {
            stopFailingAllocations();
            messages.push_back(text);
        });
        failAllocationAfter(allocation);
        const bool saved = saveRomFile(target, info);
        stopFailingAllocations();
        const bool ranOutOfMemory = allocationFailed();
        setMessageHandler({});
        if (!ranOutOfMemory) {
            // Past the save's last allocation: it went through.
            EXPECT_TRUE(saved);
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(folderEntries(dir.path()), entriesBefore);
            break;
        }
        SCOPED_TRACE("allocation " + std::to_string(allocation));
        EXPECT_FALSE(saved);
        EXPECT_EQ(messages, std::vector<std::string>{cannotSave});
        expectNothingChanged();
    }
}

// An append-only folder lets a file be created but neither renamed nor
// removed: the target keeps every byte, and the one temporary file that
// cannot go stays, hidden and named after the target.
TEST_F(SaveFault, AFolderMadeAppendOnlyBeforeTheRenameKeepsTheFile)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    int flags = 0;
    const auto setAppendOnly = [&](bool on) {
        const int wanted = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
        return ::ioctl(folder, FS_IOC_SETFLAGS, &wanted) == 0;
    };
    if (::ioctl(folder, FS_IOC_GETFLAGS, &flags) != 0 || !setAppendOnly(false)) {
        ::close(folder);
        GTEST_SKIP() << "this file system has no append-only folders";
    }

    MessageRecorder recorder;
    std::optional<SaveFile> file = openSaveFile(target);
    ASSERT_TRUE(file);
    ASSERT_TRUE(setAppendOnly(true));
    RomImage image = romImage();
    const bool ok = writeFile(std::move(*file), image);
    setAppendOnly(false);
    ::close(folder);

    EXPECT_EQ(describe(ok, recorder.messages(), true), refused(cannotWrite));
    EXPECT_EQ(readBytes(target), original);
    std::set<std::string> entries = folderEntries(dir.path());
    const auto left = std::erase_if(entries, [](const std::string& name) { return name.starts_with(".card.rom.veltra-"); });
    EXPECT_EQ(left, 1u);
    EXPECT_EQ(entries, entriesBefore);
}

}  // namespace
}  // namespace veltra::testing
