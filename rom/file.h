#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "image.h"

namespace veltra {

// The file half of a load: reads the whole file into `image` (zero-filling
// the rest) and sets its loadedLength and source. Reports "Cannot open bios
// file!", "Bios file is too large!" or "Cannot read bios file!". A file that
// cannot be opened or is too large leaves `image` as it was; after a failed
// read it may hold part of the file, which is why a load reads into a
// scratch image.
bool readFile(const std::filesystem::path& path, RomImage& image);

// The identity of the file a path names now (links followed, as a load
// follows them), or nothing when there is none.
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path);

// A save in progress: a temporary file in the folder that holds the file
// being replaced, renamed over it by writeFile. Both work through one handle
// on that folder, so that a folder or link swapped in meanwhile cannot
// redirect the write. Destroying one that was not written removes the
// temporary.
class SaveFile {
public:
    SaveFile(SaveFile&& other) noexcept;
    SaveFile& operator=(SaveFile&&) = delete;
    SaveFile(const SaveFile&) = delete;
    ~SaveFile();

private:
    friend std::optional<SaveFile> openSaveFile(const std::filesystem::path& path,
                                                const std::optional<FileIdentity>& unchangedSince);
    friend bool writeFile(SaveFile&& file, RomImage& image);
    void discard() noexcept;

#ifdef _WIN32
    SaveFile(std::wstring target, bool replaces, const std::optional<FileIdentity>& unchangedSince) noexcept;

    std::wstring m_target;      // the file being replaced, as a long path
    std::wstring m_temporary;   // beside it; empty once renamed or removed
    void* m_handle = nullptr;   // on the temporary file
    bool m_replaces = false;    // whether the target existed
    std::uint32_t m_attributes = 0;  // the target's, to carry over
#else
    SaveFile(int folder, std::string name, const std::optional<FileIdentity>& unchangedSince) noexcept;

    int m_folder = -1;          // the folder that holds the file being replaced
    std::string m_name;         // its name there
    std::string m_temporary;    // empty once renamed or removed
    int m_fd = -1;
#endif
    std::optional<FileIdentity> m_unchangedSince;
};

// First step of a save, before any byte of the image changes: finds the file
// to replace (following symbolic links only where the kernel's rule for
// shared folders allows), checks that it can be replaced, and opens the
// temporary file with the owner, group, permission bits, ACL and other
// extended attributes of the file it replaces. Reports "Cannot save bios
// file!" on failure. With `unchangedSince`, the file at `path` must still be
// the one it names; otherwise "Bios file was changed by another program!".
std::optional<SaveFile> openSaveFile(const std::filesystem::path& path,
                                     const std::optional<FileIdentity>& unchangedSince = std::nullopt);

// Last step of a save: writes the first loadedLength bytes of `image` to the
// temporary file, flushes it to disk and renames it over the target, after
// checking `unchangedSince` once more. Reports "Cannot write bios file!" (or
// that the file was changed) on failure; the target is then as it was and
// the temporary file is gone, unless the folder no longer lets it be
// removed. On success image.source names the written file.
bool writeFile(SaveFile&& file, RomImage& image);

// Holds an exclusive advisory lock on a file until destroyed. Every
// `veltra-cli set` takes one on the file it loads, so that two of them on
// one file run one after the other.
class FileLock {
public:
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&&) = delete;
    FileLock(const FileLock&) = delete;
    ~FileLock();

private:
    friend std::optional<FileLock> lockFile(const std::filesystem::path& path);
#ifdef _WIN32
    explicit FileLock(void* handle) : m_handle(handle) {}
    void* m_handle = nullptr;
#else
    explicit FileLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
#endif
};

// Waits for the lock on the file `path` names; once it is held, the path
// still names that file. Nothing when the file cannot be opened (the load
// then says why) or locked.
std::optional<FileLock> lockFile(const std::filesystem::path& path);

// A write past the process's file-size limit then fails like a full disk,
// with a message, instead of ending the program half way. Every program
// that saves calls this first.
void ignoreFileSizeLimitSignal();

// A seam for tests: makes one step of the file operations fail as the
// system would. FileStep::None (the default) injects nothing.
enum class FileStep { None, OpenTemporary, CarryAttributes, Write, Flush, Rename };
void injectFileFailureForTesting(FileStep step);

}  // namespace veltra
