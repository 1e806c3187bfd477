// The file-system calls the standard library lacks (flush to disk, atomic
// replace, attributes, locks), for Windows. Every path goes to the system in
// its long form (\\?\ before the absolute path), so that neither its length
// nor the characters of its names are limited; device names are refused
// before that form would make them ordinary names.
#include "file.h"

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <utility>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "message.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

constexpr const char* cannotOpen = "Cannot open bios file!";
constexpr const char* cannotSave = "Cannot save bios file!";
constexpr const char* cannotWrite = "Cannot write bios file!";
constexpr const char* changedMeanwhile = "Bios file was changed by another program!";

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The attributes a save carries from the file it replaces to the new one.
constexpr DWORD carriedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

FileStep injectedFailure = FileStep::None;

bool injected(FileStep step)
{
    if (injectedFailure != step)
        return false;
    ::SetLastError(step == FileStep::Write ? ERROR_DISK_FULL : ERROR_IO_DEVICE);
    return true;
}

// A handle that closes itself.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) noexcept : m_handle(handle) {}
    Handle(Handle&& other) noexcept : m_handle(other.release()) {}
    Handle& operator=(Handle&& other) noexcept { std::swap(m_handle, other.m_handle); return *this; }
    ~Handle() { if (ok()) ::CloseHandle(m_handle); }
    HANDLE get() const { return m_handle; }
    bool ok() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE release() { return std::exchange(m_handle, INVALID_HANDLE_VALUE); }

private:
    HANDLE m_handle;
};

bool startsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// The names Windows keeps for devices in every folder, whatever extension
// or trailing spaces follow: a file of that name cannot be made or opened.
bool isDeviceName(std::wstring name)
{
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towupper(c));
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL" || name == L"CONIN$" ||
        name == L"CONOUT$")
        return true;
    if (name.size() != 4 || (name.compare(0, 3, L"COM") != 0 && name.compare(0, 3, L"LPT") != 0))
        return false;
    const wchar_t digit = name[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

// The long form of `path`, or nothing when it names a device (NUL, COM1,
// \\.\...) or nothing at all. Relative paths and ".." are resolved as
// Windows resolves them, against the current folder.
std::optional<std::wstring> longPath(const fs::path& path)
{
    const std::wstring& given = path.native();
    if (given.empty())
        return std::nullopt;
    if (startsWith(given, L"\\\\?\\"))
        return given;
    if (startsWith(given, L"\\\\.\\") || startsWith(given, L"//./") || isDeviceName(path.filename().native()))
        return std::nullopt;
    DWORD size = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (size == 0 || size >= full.size())
        return std::nullopt;
    full.resize(size);
    if (startsWith(full, L"\\\\.\\"))
        return std::nullopt;  // a device, by a name the check above did not know
    if (startsWith(full, L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    // Hundreds of nanoseconds since 1601.
    const std::uint64_t ticks = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime;
    return {info.dwVolumeSerialNumber,
            (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
            (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
            static_cast<std::int64_t>(ticks / 10'000'000),
            static_cast<std::int64_t>(ticks % 10'000'000 * 100)};
}

// Opens an existing file for `access`, sharing everything: reading an image
// must not stop another program from replacing it.
Handle openExisting(const std::wstring& name, DWORD access, DWORD flags = FILE_ATTRIBUTE_NORMAL)
{
    return Handle(::CreateFileW(name.c_str(), access, shareAll, nullptr, OPEN_EXISTING, flags, nullptr));
}

// True for a handle on an ordinary file (not a folder, pipe or device).
bool isOrdinaryFile(const Handle& handle, BY_HANDLE_FILE_INFORMATION& info)
{
    return handle.ok() && ::GetFileType(handle.get()) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(handle.get(), &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What the long path `name` names now, links followed, or nothing.
std::optional<FileIdentity> identityNamed(const std::wstring& name)
{
    const Handle handle = openExisting(name, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS);
    BY_HANDLE_FILE_INFORMATION info {};
    if (!handle.ok() || !::GetFileInformationByHandle(handle.get(), &info))
        return std::nullopt;
    return identityOf(info);
}

// The path a handle's file has once every link on the way is followed.
std::optional<std::wstring> finalPath(const Handle& handle)
{
    constexpr DWORD longest = 32768;  // the longest path Windows has
    std::wstring name(longest, L'\0');
    const DWORD size = ::GetFinalPathNameByHandleW(handle.get(), name.data(), longest,
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (size == 0 || size >= longest)
        return std::nullopt;
    name.resize(size);
    return name;
}

// A name beside the target that no other save picks at the same time.
std::wstring temporaryNameFor(const std::wstring& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto slash = target.rfind(L'\\');
    const std::wstring folder = target.substr(0, slash + 1);
    const std::wstring name = target.substr(slash + 1);
    // The target's own name is shortened so that the temporary name stays
    // within the 255-character limit of a name whatever the target is called.
    constexpr std::size_t nameRoom = 200;
    const auto tick = ::GetTickCount64();
    return folder + L"." + name.substr(0, nameRoom) + L".veltra-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L"-" + std::to_wstring((tick + attempt) & 0xFFFFFF);
}

}  // namespace

void injectFileFailureForTesting(FileStep step)
{
    injectedFailure = step;
}

// Windows has no file-size limit signal.
void ignoreFileSizeLimitSignal() {}

bool readFile(const fs::path& path, RomImage& image)
{
    const std::optional<std::wstring> name = longPath(path);
    const Handle handle = name ? openExisting(*name, GENERIC_READ) : Handle();
    BY_HANDLE_FILE_INFORMATION info {};
    if (!isOrdinaryFile(handle, info)) {
        reportMessage(cannotOpen);
        return false;
    }
    const FileIdentity identity = identityOf(info);
    if (identity.size > RomImage::capacity) {
        reportMessage("Bios file is too large!");
        return false;
    }
    const auto length = static_cast<std::uint32_t>(identity.size);
    std::uint8_t* into = image.receive(length);
    std::uint32_t done = 0;
    while (done < length) {
        DWORD got = 0;
        if (!::ReadFile(handle.get(), into + done, length - done, &got, nullptr) || got == 0)
            break;
        done += got;
    }
    if (done != length) {
        reportMessage("Cannot read bios file!");
        return false;
    }
    image.received(length);
    image.source = identity;
    return true;
}

std::optional<FileIdentity> fileIdentity(const fs::path& path)
{
    const std::optional<std::wstring> name = longPath(path);
    return name ? identityNamed(*name) : std::nullopt;
}

SaveFile::SaveFile(std::wstring target, bool replaces, const std::optional<FileIdentity>& unchangedSince) noexcept
    : m_target(std::move(target)), m_replaces(replaces), m_unchangedSince(unchangedSince)
{
}

SaveFile::SaveFile(SaveFile&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_temporary(std::move(other.m_temporary)),
      m_handle(std::exchange(other.m_handle, nullptr)),
      m_replaces(other.m_replaces),
      m_attributes(other.m_attributes),
      m_unchangedSince(other.m_unchangedSince)
{
    other.m_temporary.clear();
}

SaveFile::~SaveFile()
{
    discard();
}

void SaveFile::discard() noexcept
{
    if (m_handle != nullptr)
        ::CloseHandle(std::exchange(m_handle, nullptr));
    if (!m_temporary.empty())
        ::DeleteFileW(m_temporary.c_str());
    m_temporary.clear();
}

std::optional<SaveFile> openSaveFile(const fs::path& path, const std::optional<FileIdentity>& unchangedSince)
{
    const auto refuse = [](const char* message) {
        reportMessage(message);
        return std::optional<SaveFile>();
    };
    std::optional<std::wstring> target = longPath(path);
    if (!target || target->back() == L'\\')
        return refuse(cannotSave);

    // An existing target must be an ordinary file that we may write and
    // delete now: not read-only, not a folder, not held by a program that
    // shares it with nobody. A link at the target is followed to the file it
    // names, which is the one replaced.
    std::optional<FileIdentity> identity;
    DWORD attributes = 0;
    {
        const Handle replaced = openExisting(*target, GENERIC_READ | GENERIC_WRITE | DELETE);
        const DWORD error = replaced.ok() ? ERROR_SUCCESS : ::GetLastError();
        BY_HANDLE_FILE_INFORMATION info {};
        if (replaced.ok()) {
            // The read-only attribute binds every program, an administrator's
            // too, even where the system would let the open through.
            if (!isOrdinaryFile(replaced, info) || (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
                return refuse(cannotSave);
            const DWORD named = ::GetFileAttributesW(target->c_str());
            if (named == INVALID_FILE_ATTRIBUTES)
                return refuse(cannotSave);
            if (named & FILE_ATTRIBUTE_REPARSE_POINT) {
                const std::optional<std::wstring> linked = finalPath(replaced);
                target = linked ? longPath(*linked) : std::nullopt;
                if (!target)
                    return refuse(cannotSave);
            }
            identity = identityOf(info);
            attributes = info.dwFileAttributes & carriedAttributes;
        } else if (error != ERROR_FILE_NOT_FOUND) {
            return refuse(cannotSave);
        }
    }
    if (unchangedSince && identity != unchangedSince)
        return refuse(changedMeanwhile);

    // Allocated before the temporary file exists: running out of memory must
    // not leave it behind.
    std::wstring candidate = temporaryNameFor(*target, 0);
    SaveFile file(std::move(*target), identity.has_value(), unchangedSince);
    file.m_attributes = attributes;
    for (unsigned attempt = 1;; ++attempt) {
        if (injected(FileStep::OpenTemporary))
            return refuse(cannotSave);
        HANDLE handle = ::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            file.m_handle = handle;
            file.m_temporary.swap(candidate);
            break;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS || attempt == 16)
            return refuse(cannotSave);
        candidate = temporaryNameFor(file.m_target, attempt);
    }
    if (injected(FileStep::CarryAttributes)) {
        file.discard();
        return refuse(cannotSave);
    }
    return file;
}

bool writeFile(SaveFile&& moved, RomImage& image)
{
    SaveFile file(std::move(moved));  // whatever happens, the temporary goes with it
    const auto fail = [&file](const char* message) {
        file.discard();
        reportMessage(message);
        return false;
    };
    const auto length = static_cast<std::uint32_t>(std::min<std::size_t>(image.loadedLength, image.bytes.size()));
    std::uint32_t done = 0;
    while (done < length && !injected(FileStep::Write)) {
        DWORD wrote = 0;
        if (!::WriteFile(file.m_handle, image.bytes.data() + done, length - done, &wrote, nullptr) || wrote == 0)
            break;
        done += wrote;
    }
    // The attributes of the file it replaces, set while the handle is ours
    // (read-only never: such a target was refused).
    FILE_BASIC_INFO basic {};
    basic.FileAttributes = file.m_attributes != 0 ? file.m_attributes : FILE_ATTRIBUTE_NORMAL;
    BY_HANDLE_FILE_INFORMATION written {};
    bool ok = done == length && !injected(FileStep::Flush) && ::FlushFileBuffers(file.m_handle) &&
              (!file.m_replaces ||
               ::SetFileInformationByHandle(file.m_handle, FileBasicInfo, &basic, sizeof basic)) &&
              ::GetFileInformationByHandle(file.m_handle, &written);
    ok = ::CloseHandle(std::exchange(file.m_handle, nullptr)) && ok;
    if (!ok)
        return fail(cannotWrite);
    if (file.m_unchangedSince && identityNamed(file.m_target) != file.m_unchangedSince)
        return fail(changedMeanwhile);
    if (injected(FileStep::Rename))
        return fail(cannotWrite);

    if (file.m_replaces) {
        // The target keeps its security settings and other streams, and
        // takes the new contents.
        if (!::ReplaceFileW(file.m_target.c_str(), file.m_temporary.c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
            // Past this error the old file is gone and only the temporary one
            // holds the image: it is moved into place or, failing that, kept.
            if (::GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT)
                return fail(cannotWrite);
            if (!::MoveFileExW(file.m_temporary.c_str(), file.m_target.c_str(), MOVEFILE_WRITE_THROUGH)) {
                file.m_temporary.clear();
                reportMessage(cannotWrite);
                return false;
            }
        }
    } else if (!::MoveFileExW(file.m_temporary.c_str(), file.m_target.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(cannotWrite);
    }
    file.m_temporary.clear();
    // Replacing may stamp the file anew; the identity a later save checks
    // against is the one it has in place.
    image.source = identityNamed(file.m_target).value_or(identityOf(written));
    return true;
}

FileLock::FileLock(FileLock&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

FileLock::~FileLock()
{
    if (m_handle != nullptr)
        ::CloseHandle(m_handle);
}

std::optional<FileLock> lockFile(const fs::path& path)
{
    const std::optional<std::wstring> name = longPath(path);
    if (!name)
        return std::nullopt;
    // Windows locks keep every other handle, our own loads among them, from
    // the bytes they cover: the lock covers one byte far past any image,
    // which only the locks of other saves ask for.
    OVERLAPPED pastTheImage {};
    pastTheImage.OffsetHigh = 0x7FFFFFFF;
    // A save replaces the file, so the one we waited for may have left the
    // path by the time the lock is ours: then it is the new one's turn.
    for (int attempt = 0; attempt < 100; ++attempt) {
        Handle handle = openExisting(*name, GENERIC_READ);
        BY_HANDLE_FILE_INFORMATION held {};
        if (!isOrdinaryFile(handle, held) || !::LockFileEx(handle.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &pastTheImage))
            return std::nullopt;
        const std::optional<FileIdentity> named = identityNamed(*name);
        if (named && named->sameFileAs(identityOf(held)))
            return FileLock(handle.release());
    }
    return std::nullopt;
}

}  // namespace veltra
