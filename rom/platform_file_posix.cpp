// The file-system calls the standard library lacks (flush to disk, permission
// bits, atomic replace), for POSIX systems. A Windows port replaces this file.
#include "file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "message.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

FileStep injectedFailure = FileStep::None;

bool injected(FileStep step)
{
    if (injectedFailure != step)
        return false;
    errno = step == FileStep::Write ? ENOSPC : EIO;
    return true;
}

// Opens without following the caller into a blocking open of a pipe; the
// caller checks the kind of file with fstat.
int openForReading(const fs::path& path)
{
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Reads until `length` bytes arrived or the file ended; returns the count.
std::size_t readFully(int fd, std::uint8_t* into, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::read(fd, into + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool writeFully(int fd, const std::uint8_t* from, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        if (injected(FileStep::Write))
            return false;
        const ssize_t n = ::write(fd, from + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool writableByUs(const fs::path& path, int mode)
{
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

// A name beside the target that no other save picks at the same time.
fs::path temporaryNameFor(const fs::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    // The target's own name is shortened so that the temporary name stays
    // within the usual 255-byte limit whatever the target is called.
    constexpr std::size_t nameRoom = 200;
    const std::string stem = target.filename().string().substr(0, nameRoom);
    std::string name = "." + stem + ".veltra-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                       std::to_string((tick + attempt) & 0xFFFFFF);
    return target.parent_path() / name;
}

void syncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Some file systems refuse fsync on a folder; the rename has happened by
    // now and the file itself is on disk, so the save stands either way.
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

void injectFileFailureForTesting(FileStep step)
{
    injectedFailure = step;
}

void ignoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

bool readFile(const fs::path& path, RomImage& image)
{
    const int fd = openForReading(path);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        reportMessage("Cannot open bios file!");
        return false;
    }
    if (st.st_size > static_cast<off_t>(RomImage::capacity)) {
        ::close(fd);
        reportMessage("Bios file is too large!");
        return false;
    }
    const auto length = static_cast<std::uint32_t>(st.st_size);
    const std::size_t got = readFully(fd, image.bytes.data(), length);
    ::close(fd);
    if (got != length) {
        reportMessage("Cannot read bios file!");
        return false;
    }
    std::fill(image.bytes.begin() + length, image.bytes.end(), std::uint8_t{0});
    image.loadedLength = length;
    return true;
}

SaveFile::SaveFile(fs::path target, fs::path temporary, int fd, unsigned mode)
    : m_target(std::move(target)), m_temporary(std::move(temporary)), m_fd(fd), m_mode(mode)
{
}

SaveFile::SaveFile(SaveFile&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_temporary(std::move(other.m_temporary)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_mode(other.m_mode)
{
    other.m_temporary.clear();
}

SaveFile::~SaveFile()
{
    discard();
}

void SaveFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

std::optional<SaveFile> openSaveFile(const fs::path& path)
{
    auto refuse = [] {
        reportMessage("Cannot save bios file!");
        return std::nullopt;
    };

    // A symbolic link is followed: the file it names is the one replaced.
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(path, ec);
    if (ec || target.filename().empty())
        return refuse();

    struct stat st {};
    unsigned mode = 0;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (!S_ISREG(st.st_mode) || !writableByUs(target, W_OK))
            return refuse();
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return refuse();
    }
    const fs::path folder = target.parent_path();
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode) || !writableByUs(folder, W_OK | X_OK))
        return refuse();

    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const fs::path temporary = temporaryNameFor(target, attempt);
        if (injected(FileStep::OpenTemporary))
            return refuse();
        // 0666 before the umask: what a new file would get from any editor.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0)
            return SaveFile(target, temporary, fd, exists ? mode : SaveFile::newFileMode);
        if (errno != EEXIST && errno != EINTR)
            return refuse();
    }
    return refuse();
}

bool writeFile(SaveFile&& moved, const RomImage& image)
{
    SaveFile file(std::move(moved));  // whatever happens, the temporary goes with it
    const std::size_t length = std::min<std::size_t>(image.loadedLength, RomImage::capacity);
    const bool replacesExisting = file.m_mode != SaveFile::newFileMode;

    bool ok = (!replacesExisting || ::fchmod(file.m_fd, static_cast<mode_t>(file.m_mode)) == 0) &&
              writeFully(file.m_fd, image.bytes.data(), length) && !injected(FileStep::Flush) &&
              ::fsync(file.m_fd) == 0;
    // A close can report a delayed write error; it counts like any other.
    ok = ::close(std::exchange(file.m_fd, -1)) == 0 && ok;
    ok = ok && !injected(FileStep::Rename) && ::rename(file.m_temporary.c_str(), file.m_target.c_str()) == 0;
    if (!ok) {
        reportMessage("Cannot write bios file!");
        return false;
    }
    file.m_temporary.clear();
    syncFolder(file.m_target.parent_path());
    return true;
}

}  // namespace veltra
