// Where a save writes: never where the user did not mean.
#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

#include "rom/rom.h"
#include "tests/hardening/child_process.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* cannotSave = "Cannot save bios file!";
constexpr float editedClock = 1100.0f;

class SaveTarget : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::permissions(dir.path(), fs::perms(0755));
        original = buildImage(ImageSpec{});
        target = dir.write("card.rom", original);
        MessageRecorder quiet;
        ASSERT_TRUE(loadRomFile(target, info));
        info.gpuClock.value = editedClock;
    }

    // One save of the edited image, in one line.
    std::string save(const fs::path& path)
    {
        MessageRecorder recorder;
        const bool ok = saveRomFile(path, info);
        std::string line = ok ? "saved" : "refused";
        for (const std::string& message : recorder.messages())
            line += " | " + message;
        return line;
    }

    // Whether the file holds the edit: the save reached it.
    static bool edited(const fs::path& path)
    {
        MessageRecorder quiet;
        BiosInfo reloaded;
        return loadRomFile(path, reloaded) && reloaded.gpuClock.value == editedClock;
    }

    TempDir dir;
    std::vector<std::uint8_t> original;
    fs::path target;
    BiosInfo info;
};

// A relative name means what it means to the shell that typed it, and the
// folders on the way mean what the kernel makes of them: "x/.." is the
// folder above where x really lies, and a plain file is no folder.
TEST_F(SaveTarget, PathsMeanWhatTheKernelMakesOfThem)
{
    fs::create_directories(dir / "sub");
    fs::create_directories(dir / "other" / "inner");
    fs::create_directory_symlink(dir / "other" / "inner", dir / "linked");
    const struct {
        const char* name;
        const char* from;  // working folder, inside dir
        const char* path;
        const char* written;  // inside dir; null: refused
    } cases[] = {
        {"a bare name of a new file", ".", "new.rom", "new.rom"},
        {"a bare name of the loaded file", ".", "card.rom", "card.rom"},
        {"up and over", "sub", "../card.rom", "card.rom"},
        {"a folder, then back", ".", "sub/../new.rom", "new.rom"},
        {"doubled slashes", ".", "sub//new.rom", "sub/new.rom"},
        {"back out of a linked folder: beside the folder it names", ".", "linked/../new.rom", "other/new.rom"},
        {"back out of a plain file", ".", "card.rom/../new.rom", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(target, original);
        for (const char* made : {"new.rom", "sub/new.rom", "other/new.rom"})
            fs::remove(dir / made);
        const ChildOutcome child = runInChild({}, [&] {
            return ::chdir((dir / c.from).c_str()) == 0 ? save(c.path) : "cannot chdir";
        });
        ASSERT_TRUE(child.exitedNormally && child.exitCode == 0);
        EXPECT_EQ(child.report, c.written ? "saved" : std::string("refused | ") + cannotSave);
        for (const char* candidate : {"card.rom", "new.rom", "sub/new.rom", "other/new.rom"}) {
            const bool shouldHold = c.written && std::string(c.written) == candidate;
            EXPECT_EQ(fs::exists(dir / candidate) && edited(dir / candidate), shouldHold) << candidate;
        }
    }
}

// In a sticky folder that anyone may write, such as /tmp, a link is followed
// only when it is the saving user's or the folder owner's: another user
// cannot make root replace a file of their choosing.
TEST_F(SaveTarget, LinksInASharedFolderAreFollowedOnlyAsTheKernelWould)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    const struct {
        const char* name;
        fs::perms folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    } cases[] = {
        {"another user's link in a sticky folder anyone may write", fs::perms(01777), 0, nobodyId, false},
        {"the saving user's own link there", fs::perms(01777), 0, 0, true},
        {"a link of the folder's owner", fs::perms(01777), nobodyId, nobodyId, true},
        {"another user's link in a folder that is not sticky", fs::perms(0777), 0, nobodyId, true},
    };
    const fs::path shared = dir / "shared";
    const fs::path link = shared / "card.rom";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(target, original);
        fs::remove_all(shared);
        fs::create_directory(shared);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        fs::permissions(shared, c.folderMode);
        fs::create_symlink(target, link);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);

        EXPECT_EQ(save(link), c.followed ? "saved" : std::string("refused | ") + cannotSave);
        EXPECT_EQ(edited(target), c.followed);
        EXPECT_EQ(fs::read_symlink(link), target);
        EXPECT_EQ(folderEntries(shared), std::set<std::string>{"card.rom"});
        EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"card.rom", "shared"}));
    }
}

// A folder or link swapped in after the save opened its temporary file does
// not redirect the write: it lands where the save looked, and the file the
// swapped-in link names keeps every byte.
TEST_F(SaveTarget, SwapsBetweenOpenAndRenameCannotRedirectTheWrite)
{
    const fs::path work = dir / "work";
    const fs::path elsewhere = dir / "elsewhere";
    const struct {
        const char* name;
        std::function<void()> swap;
        fs::path written;
    } cases[] = {
        {"the folder renamed away and a link to another put in its place",
         [&] {
             fs::rename(work, dir / "work.old");
             fs::create_directory_symlink(elsewhere, work);
         },
         dir / "work.old" / "card.rom"},
        {"the file replaced by a link to another",
         [&] {
             fs::remove(work / "card.rom");
             fs::create_symlink(elsewhere / "card.rom", work / "card.rom");
         },
         work / "card.rom"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const fs::path& made : {work, elsewhere, dir / "work.old"})
            fs::remove_all(made);
        fs::create_directory(work);
        fs::create_directory(elsewhere);
        writeBytes(work / "card.rom", original);
        writeBytes(elsewhere / "card.rom", original);

        MessageRecorder recorder;
        std::optional<SaveFile> file = openSaveFile(work / "card.rom");
        ASSERT_TRUE(file);
        c.swap();
        RomImage image = romImage();
        image.writeU16(info.gpuClock.offset, 2200);
        EXPECT_TRUE(writeFile(std::move(*file), image));
        EXPECT_TRUE(recorder.messages().empty());
        EXPECT_EQ(readBytes(elsewhere / "card.rom"), original);
        EXPECT_EQ(fs::symlink_status(c.written).type(), fs::file_type::regular);
        EXPECT_EQ(getU16(readBytes(c.written), info.gpuClock.offset), 2200);
    }
}

}  // namespace
}  // namespace veltra::testing
