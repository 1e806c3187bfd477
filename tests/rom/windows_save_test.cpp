// What a save on Windows keeps, refuses and reaches, beyond the cases every
// system shares.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "rom/file.h"
#include "rom/rom.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;
using testing::ImageSpec;

struct Handle {
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : handle(h) {}
    Handle(const Handle&) = delete;
    ~Handle() { if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle); }
    HANDLE handle;
};

// Another program's handle on `path`, reading it and sharing it as `sharing` says.
Handle heldBy(const fs::path& path, DWORD sharing)
{
    return Handle(::CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
}

DWORD attributesOf(const fs::path& path)
{
    return ::GetFileAttributesW(path.c_str());
}

// The names in a folder given in the long form, which the C++ library's
// folder listing does not take.
std::set<std::wstring> namesIn(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..")
            names.insert(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// A GTX 680 image written at `path` and loaded.
BiosInfo writeAndLoad(const fs::path& path)
{
    testing::writeBytes(path, testing::buildImage({}));
    BiosInfo info;
    EXPECT_TRUE(loadRomFile(path, info));
    return info;
}

// card.rom in a fresh folder, loaded, then given `attributes`; `attributes`
// holds them as the system reports them (it may add some of its own).
struct Target {
    testing::TempDir dir;
    fs::path path = dir / "card.rom";
    BiosInfo info;
    DWORD attributes = 0;
};

std::unique_ptr<Target> targetWith(DWORD attributes)
{
    auto target = std::make_unique<Target>();
    target->info = writeAndLoad(target->path);
    EXPECT_TRUE(::SetFileAttributesW(target->path.c_str(), attributes));
    target->attributes = attributesOf(target->path);
    return target;
}

// Each target below exists and stays as it was: refused before a byte is
// written, no temporary file left, the image in memory unchanged.
TEST(WindowsSave, ATargetItMayNotWriteNowIsRefusedBeforeAnythingChanges)
{
    const struct {
        const char* what;
        DWORD attributes;  // set on the target before the save
        DWORD heldSharing;  // another program's handle on it, sharing this; none when ~0
    } cases[] = {
        {"read-only attribute", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, ~0u},
        {"read-only and hidden", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ~0u},
        {"held open, shared with nobody", FILE_ATTRIBUTE_ARCHIVE, 0},
        {"held open, shared for reading only", FILE_ATTRIBUTE_ARCHIVE, FILE_SHARE_READ},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto target = targetWith(c.attributes);
        const std::vector<std::uint8_t> fileBefore = testing::readBytes(target->path);
        const std::vector<std::uint8_t> imageBefore = romImage().bytes;
        const Handle held = c.heldSharing == ~0u ? Handle() : heldBy(target->path, c.heldSharing);
        ASSERT_TRUE(c.heldSharing == ~0u || held.handle != INVALID_HANDLE_VALUE);

        testing::MessageRecorder messages;
        target->info.fanMin.value = 66;
        EXPECT_FALSE(saveRomFile(target->path, target->info));
        EXPECT_EQ(messages.messages(), std::vector<std::string>{"Cannot save bios file!"});
        EXPECT_EQ(romImage().bytes, imageBefore);
        EXPECT_EQ(attributesOf(target->path), target->attributes);
        EXPECT_EQ(testing::folderEntries(target->dir.path()), std::set<std::string>{"card.rom"});
        ::SetFileAttributesW(target->path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (c.heldSharing & FILE_SHARE_READ) {
            EXPECT_EQ(testing::readBytes(target->path), fileBefore);
        }
    }
}

// A target that another program only reads, and lets others replace, is
// replaced; the attributes the user gave it stay.
TEST(WindowsSave, ReplacesTheFileAndKeepsItsAttributes)
{
    const struct {
        const char* what;
        DWORD attributes;
        bool heldForReading;
    } cases[] = {
        {"archive", FILE_ATTRIBUTE_ARCHIVE, false},
        {"hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, false},
        {"hidden system file", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false},
        {"open elsewhere, sharing everything", FILE_ATTRIBUTE_ARCHIVE, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto target = targetWith(c.attributes);
        {
            const Handle held = c.heldForReading
                                    ? heldBy(target->path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
                                    : Handle();
            target->info.fanMin.value = 61;
            ASSERT_TRUE(saveRomFile(target->path, target->info, romImage().source));
            EXPECT_EQ(testing::readBytes(target->path)[testing::locationsOf(BoardModel::Gtx680).fanMin], 61);
            EXPECT_EQ(attributesOf(target->path), target->attributes);
        }
        // The old file lasts as long as the other program's handle on it.
        EXPECT_EQ(testing::folderEntries(target->dir.path()), std::set<std::string>{"card.rom"});
        // The identity kept after the save is the file's own, so the next
        // save over it is not taken for another program's change.
        EXPECT_EQ(romImage().source, fileIdentity(target->path));
        target->info.fanMin.value = 62;
        EXPECT_TRUE(saveRomFile(target->path, target->info, romImage().source));
    }
}

// Any Unicode name and any length of path: a save creates the file, a second
// replaces it, a load reads it back.
TEST(WindowsSave, ReachesNamesInAnyScriptAndPathsOfAnyLength)
{
    const testing::TempDir dir;
    // Folders nested past the 260 characters older programs stop at, made
    // in the long form.
    std::wstring deep = L"\\\\?\\" + dir.path().wstring();
    for (int level = 0; level < 4; ++level) {
        deep += L"\\" + std::wstring(90, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    }
    const struct {
        const char* what;
        fs::path target;
    } cases[] = {
        {"Cyrillic, CJK and an emoji", dir.path() / L"\u043a\u0430\u0440\u0442\u0430 \u7de8\u96c6 \U0001F525.rom"},
        {"path over 260 characters", fs::path(deep.substr(4)) / "card.rom"},
        {"path in the long form", fs::path(deep) / L"\u00fc.rom"},
    };
    BiosInfo info = writeAndLoad(dir / "source.rom");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        info.fanMax.value = 90;
        ASSERT_TRUE(saveRomFile(c.target, info));
        info.fanMax.value = 91;
        ASSERT_TRUE(saveRomFile(c.target, info, fileIdentity(c.target)));
        BiosInfo again;
        ASSERT_TRUE(loadRomFile(c.target, again));
        EXPECT_EQ(again.fanMax.value, 91);
        EXPECT_EQ(again.checksumStored, again.checksumComputed);
    }
    // Nothing else beside them: no temporary file left.
    EXPECT_EQ(testing::folderEntries(dir.path()).size(), 3u);
    EXPECT_EQ(namesIn(deep), (std::set<std::wstring>{L"card.rom", L"\u00fc.rom"}));
}

// Windows byte-range locks keep other handles off the bytes they cover; the
// lock veltra-cli set holds must not keep its own load and save off the file.
TEST(WindowsSave, TheLockOnAFileLetsItsHolderLoadAndReplaceIt)
{
    const testing::TempDir dir;
    const fs::path target = dir / "card.rom";
    testing::writeBytes(target, testing::buildImage({}));
    const std::optional<FileLock> lock = lockFile(target);
    ASSERT_TRUE(lock);
    BiosInfo info;
    ASSERT_TRUE(loadRomFile(target, info));
    info.fanMin.value = 44;
    EXPECT_TRUE(saveRomFile(target, info, romImage().source));
    EXPECT_EQ(testing::readBytes(target)[testing::locationsOf(BoardModel::Gtx680).fanMin], 44);
}

}  // namespace
}  // namespace veltra
