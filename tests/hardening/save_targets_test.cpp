// Where a save writes, and what the replaced file keeps: a save never writes
// where the user did not mean, and never widens who may read or run the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

// The output of a shell command, or nothing when it failed.
std::optional<std::string> commandOutput(const std::string& command)
{
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buffer[512];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    return ::pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

std::string quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

struct Owner {
    uid_t uid;
    gid_t gid;
    bool operator==(const Owner&) const = default;
};

Owner ownerOf(const fs::path& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return {st.st_uid, st.st_gid};
}

unsigned modeOf(const fs::path& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// One save of the target with the given owner and mode, by the suite's own
// user or by uid 65534; and what the replacement got.
struct OwnerCase {
    const char* name;
    bool asNobody;
    Owner owner;
    unsigned mode;
    Owner ownerAfter;
    unsigned modeAfter;
};

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

    void expectSavedOwnership(const OwnerCase& c)
    {
        SCOPED_TRACE(c.name);
        writeBytes(target, original);
        ASSERT_EQ(::chown(target.c_str(), c.owner.uid, c.owner.gid), 0);
        ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
        if (c.asNobody) {
            ASSERT_EQ(::chown(dir.path().c_str(), nobodyId, nobodyId), 0);
            const ChildOutcome child = runInChild(asNobody(), [&] { return save(target); });
            EXPECT_EQ(child.report, "saved");
            ASSERT_EQ(::chown(dir.path().c_str(), 0, 0), 0);
        } else {
            EXPECT_EQ(save(target), "saved");
        }
        EXPECT_TRUE(edited(target));
        EXPECT_EQ(ownerOf(target), c.ownerAfter);
        EXPECT_EQ(modeOf(target), c.modeAfter);
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

// What a successful save must also get right when the target is not a plain
// file in a plain folder.
TEST_F(SaveTarget, SaveThroughLinksOddNamesAndPermissionsKeepsWhatTheUserHad)
{
    MessageRecorder recorder;

    // A symbolic link is followed: the link stays, the file it names changes.
    const fs::path link = dir / "link.rom";
    fs::create_symlink(target, link);
    ASSERT_TRUE(saveRomFile(link, info));
    EXPECT_TRUE(fs::is_symlink(link));
    BiosInfo reloaded;
    ASSERT_TRUE(loadRomFile(target, reloaded));
    EXPECT_EQ(reloaded.gpuClock.value, 1100.0f);

    // Permission bits survive the replacement.
    fs::permissions(target, fs::perms(0640));
    ASSERT_TRUE(saveRomFile(target, info));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));

    // Spaces and non-ASCII in folder and file name.
    const fs::path folder = dir / "Mein \xC3\x96rdner";
    fs::create_directory(folder);
    const fs::path odd = folder / "BIOS \xC3\xB1 680 (copy).rom";
    ASSERT_TRUE(saveRomFile(odd, info));
    ASSERT_TRUE(loadRomFile(odd, reloaded));
    EXPECT_EQ(reloaded.gpuClock.value, 1100.0f);

    // A longer file is replaced by exactly the loaded length.
    writeBytes(target, std::vector<std::uint8_t>(RomImage::capacity, 0xAB));
    ASSERT_TRUE(saveRomFile(target, info));
    EXPECT_EQ(fs::file_size(target), original.size());

    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(folderEntries(dir.path()),
              (std::set<std::string>{"card.rom", "link.rom", "Mein \xC3\x96rdner"}));
    EXPECT_EQ(folderEntries(folder), (std::set<std::string>{"BIOS \xC3\xB1 680 (copy).rom"}));
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

// The replacement keeps the owner and group wherever the saving user may set
// them, and never carries the setuid or setgid bit: a file that is both an
// image and a program must not become a root setuid program. A group that
// cannot be kept gains nothing only the old group had.
TEST_F(SaveTarget, OwnFilesKeepOwnerGroupAndPermissionBitsButNeverSetuid)
{
    const Owner me{::geteuid(), ::getegid()};
    const OwnerCase cases[] = {
        {"one's own setuid file", false, me, 04755, me, 0755},
        {"one's own setgid file, group-writable", false, me, 02775, me, 0775},
        {"one's own private file", false, me, 0600, me, 0600},
    };
    for (const OwnerCase& c : cases)
        expectSavedOwnership(c);
}

TEST_F(SaveTarget, OtherUsersFilesKeepOwnerGroupAndPermissionBitsButNeverSetuid)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    const Owner nobody{nobodyId, nobodyId};
    const OwnerCase cases[] = {
        {"root saving another user's setuid program", false, nobody, 04755, nobody, 0755},
        {"root saving another user's private file", false, nobody, 0600, nobody, 0600},
        {"an ordinary user's own file", true, nobody, 0640, nobody, 0640},
        {"an ordinary user, a group they are not in", true, {nobodyId, 0}, 0660, nobody, 0600},
        {"an ordinary user, a file of root's they may write", true, {0, 0}, 0666, nobody, 0666},
    };
    for (const OwnerCase& c : cases)
        expectSavedOwnership(c);
}

// The ACL and the other extended attributes come along. A default ACL of the
// folder does not give the replacement an ACL the old file did not have.
TEST_F(SaveTarget, AclAndExtendedAttributesAreCarriedOver)
{
    const auto acl = [](const fs::path& path) { return commandOutput("getfacl --numeric --omit-header " + quoted(path)); };
    if (!commandOutput("setfacl -m u:" + std::to_string(nobodyId) + ":rw,m::rw " + quoted(target)))
        GTEST_SKIP() << "setfacl cannot set an ACL here (package acl missing, or no ACL support)";
    ASSERT_EQ(::setxattr(target.c_str(), "user.veltra.note", "kept", 4, 0), 0);
    const auto aclBefore = acl(target);
    ASSERT_TRUE(aclBefore && aclBefore->find("user:" + std::to_string(nobodyId) + ":rw-") != std::string::npos);
    const unsigned modeBefore = modeOf(target);

    EXPECT_EQ(save(target), "saved");
    EXPECT_TRUE(edited(target));
    EXPECT_EQ(acl(target), aclBefore);
    EXPECT_EQ(modeOf(target), modeBefore);
    char note[16] = {};
    EXPECT_EQ(::getxattr(target.c_str(), "user.veltra.note", note, sizeof note), 4);
    EXPECT_STREQ(note, "kept");

    // No ACL before, a default ACL on the folder: still none after.
    const fs::path plain = dir.write("plain.rom", original);
    ASSERT_TRUE(commandOutput("setfacl -d -m u:" + std::to_string(nobodyId) + ":rwx " + quoted(dir.path())));
    const auto plainAcl = acl(plain);
    const unsigned plainMode = modeOf(plain);
    EXPECT_EQ(save(plain), "saved");
    EXPECT_EQ(acl(plain), plainAcl);
    EXPECT_EQ(modeOf(plain), plainMode);

}

// What lets a program file run with more power stays behind, like setuid.
TEST_F(SaveTarget, FileCapabilitiesAreNotCarriedOver)
{
    if (!runningAsRoot())
        GTEST_SKIP() << needsRoot;
    // cap_net_raw, permitted and effective.
    vfs_cap_data caps{};
    caps.magic_etc = VFS_CAP_REVISION_2 | VFS_CAP_FLAGS_EFFECTIVE;
    caps.data[0].permitted = 1u << CAP_NET_RAW;
    ASSERT_EQ(::setxattr(target.c_str(), "security.capability", &caps, XATTR_CAPS_SZ_2, 0), 0);
    EXPECT_EQ(save(target), "saved");
    EXPECT_TRUE(edited(target));
    EXPECT_LT(::getxattr(target.c_str(), "security.capability", nullptr, 0), 0);
}

}  // namespace
}  // namespace veltra::testing
