// The file-system calls the standard library lacks (flush to disk, owners,
// permission bits and extended attributes, atomic replace, locks), for
// POSIX systems. A Windows port replaces this file.
#include "file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "message.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

constexpr const char* cannotSave = "Cannot save bios file!";
constexpr const char* cannotWrite = "Cannot write bios file!";
constexpr const char* changedMeanwhile = "Bios file was changed by another program!";

#ifndef O_PATH
#define O_PATH O_RDONLY
#endif
// A handle on a folder that only serves to reach the names in it.
constexpr int folderHandle = O_PATH | O_DIRECTORY | O_CLOEXEC;

constexpr const char* accessAcl = "system.posix_acl_access";

FileStep injectedFailure = FileStep::None;

bool injected(FileStep step)
{
    if (injectedFailure != step)
        return false;
    errno = step == FileStep::Write ? ENOSPC : EIO;
    return true;
}

// A file descriptor that closes itself.
class Fd {
public:
    explicit Fd(int fd = -1) noexcept : m_fd(fd) {}
    Fd(Fd&& other) noexcept : m_fd(other.release()) {}
    Fd& operator=(Fd&& other) noexcept { std::swap(m_fd, other.m_fd); return *this; }
    ~Fd() { if (m_fd >= 0) ::close(m_fd); }
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

template <typename Call>
int retryOnSignal(Call call)
{
    int result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

FileIdentity identityOf(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
            static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

// Opens without following the caller into a blocking open of a pipe; the
// caller checks the kind of file with fstat.
int openForReading(const fs::path& path)
{
    return retryOnSignal([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); });
}

// Reads or writes, a step at a time, until `length` bytes have moved, the
// file ended or a step failed; returns the count.
template <typename Step>
std::size_t transfer(std::size_t length, Step step)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = step(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// A name beside the target that no other save picks at the same time.
std::string temporaryNameFor(const std::string& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    // The target's own name is shortened so that the temporary name stays
    // within the usual 255-byte limit whatever the target is called.
    constexpr std::size_t nameRoom = 200;
    return "." + target.substr(0, nameRoom) + ".veltra-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + "-" + std::to_string((tick + attempt) & 0xFFFFFF);
}

void syncFolder(int folder)
{
    const Fd fd(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems refuse fsync on a folder; the rename has happened by
    // now and the file itself is on disk, so the save stands either way.
    if (fd.ok())
        (void)::fsync(fd.get());
}

// Where a save puts its file: the folder that holds it and its name there.
struct Place {
    Fd folder;
    std::string name;
};

// Splits a path as the kernel reads it: up to the last slash is the folder,
// the rest the name. False when the path names nothing a save could replace.
bool splitPath(const std::string& path, std::string& folder, std::string& name)
{
    const auto slash = path.rfind('/');
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return !name.empty() && name != "." && name != "..";
}

// The rule the kernel applies to opens where it is switched on: in a sticky
// folder that anyone may write, a link is followed only when it belongs to
// us or to the folder's owner, so no other user can plant one there.
bool mayFollow(const struct stat& folder, const struct stat& link)
{
    const bool shared = (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

constexpr int maxLinks = 40;  // the kernel's own limit

// Follows the links that name the file one at a time, under the rule above
// whatever the system is set to. The folders on the way are the kernel's to
// resolve, so "x.rom/../" means what it means to any other program. A link
// that names nothing is refused: the user meant the file it names, not a
// new file in the link's place.
std::optional<Place> findPlace(const std::string& path)
{
    std::string folderPart;
    std::string name;
    if (!splitPath(path, folderPart, name))
        return std::nullopt;
    Fd folder(::openat(AT_FDCWD, folderPart.c_str(), folderHandle));
    for (int links = 0; folder.ok(); ++links) {
        struct stat st {};
        if (::fstatat(folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && links == 0)
                return Place{std::move(folder), std::move(name)};
            return std::nullopt;
        }
        if (!S_ISLNK(st.st_mode))
            return Place{std::move(folder), std::move(name)};
        struct stat folderStat {};
        if (links == maxLinks || ::fstat(folder.get(), &folderStat) != 0 || !mayFollow(folderStat, st))
            return std::nullopt;
        char target[PATH_MAX];
        const ssize_t n = ::readlinkat(folder.get(), name.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) == sizeof target ||
            !splitPath(std::string(target, static_cast<std::size_t>(n)), folderPart, name))
            return std::nullopt;
        folder = Fd(::openat(folder.get(), folderPart.c_str(), folderHandle));
    }
    return std::nullopt;
}

// Every extended attribute of `from` onto `to`, the ACL among them. What
// lets a program file run with more power (security.capability) stays
// behind, as the setuid bit does.
bool carryExtendedAttributes(int from, int to)
{
    constexpr std::size_t room = 65536;  // the most a list or a value can hold
    std::vector<char> names(room);
    std::vector<char> value(room);
    const ssize_t listed = ::flistxattr(from, names.data(), names.size());
    if (listed < 0)
        return errno == ENOTSUP;
    bool hasAcl = false;
    for (std::size_t at = 0; at < static_cast<std::size_t>(listed); at += std::strlen(&names[at]) + 1) {
        const char* name = &names[at];
        if (std::strcmp(name, "security.capability") == 0)
            continue;
        const ssize_t size = ::fgetxattr(from, name, value.data(), value.size());
        if (size < 0 || ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(size), 0) != 0)
            return false;
        hasAcl = hasAcl || std::strcmp(name, accessAcl) == 0;
    }
    // A default ACL of the folder gave the temporary file one that the file
    // it replaces did not have.
    return hasAcl || ::fremovexattr(to, accessAcl) == 0 || errno == ENODATA || errno == ENOTSUP;
}

// The owner and group of the file being replaced, wherever we may set them
// (root always). An ordinary user cannot give a file away; when the group
// cannot be kept either, its group bits shrink to what everyone may do, so
// that the new group gains nothing only the old one had.
bool carryOwner(int to, const struct stat& st, mode_t& mode)
{
    if (::fchown(to, st.st_uid, st.st_gid) == 0)
        return true;
    if (errno != EPERM)
        return false;
    if (::fchown(to, static_cast<uid_t>(-1), st.st_gid) == 0)
        return true;
    if (errno != EPERM)
        return false;
    mode &= ~(S_IRWXG & ~(mode << 3));
    return true;
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
    const Fd fd(openForReading(path));
    struct stat st {};
    if (!fd.ok() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        reportMessage("Cannot open bios file!");
        return false;
    }
    if (st.st_size > static_cast<off_t>(RomImage::capacity)) {
        reportMessage("Bios file is too large!");
        return false;
    }
    const auto length = static_cast<std::uint32_t>(st.st_size);
    std::uint8_t* into = image.receive(length);
    if (transfer(length, [&](std::size_t done) { return ::read(fd.get(), into + done, length - done); }) != length) {
        reportMessage("Cannot read bios file!");
        return false;
    }
    image.received(length);
    image.source = identityOf(st);
    return true;
}

std::optional<FileIdentity> fileIdentity(const fs::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

SaveFile::SaveFile(int folder, std::string name, const std::optional<FileIdentity>& unchangedSince) noexcept
    : m_folder(folder), m_name(std::move(name)), m_unchangedSince(unchangedSince)
{
}

SaveFile::SaveFile(SaveFile&& other) noexcept
    : m_folder(std::exchange(other.m_folder, -1)),
      m_name(std::move(other.m_name)),
      m_temporary(std::move(other.m_temporary)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_unchangedSince(other.m_unchangedSince)
{
    other.m_temporary.clear();
}

SaveFile::~SaveFile()
{
    discard();
    if (m_folder >= 0)
        ::close(m_folder);
}

void SaveFile::discard() noexcept
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    // A folder that no longer lets us remove names keeps the temporary file;
    // nothing more can be done about it from here.
    if (!m_temporary.empty())
        ::unlinkat(m_folder, m_temporary.c_str(), 0);
    m_temporary.clear();
}

std::optional<SaveFile> openSaveFile(const fs::path& path, const std::optional<FileIdentity>& unchangedSince)
{
    const auto refuse = [](const char* message) {
        reportMessage(message);
        return std::optional<SaveFile>();
    };
    std::optional<Place> place = findPlace(path.native());
    if (!place)
        return refuse(cannotSave);
    const int folder = place->folder.get();

    // The file being replaced is held open, so that all that is carried over
    // comes from the one file that was checked.
    struct stat st {};
    Fd replaced;
    if (::fstatat(folder, place->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(st.st_mode))
            return refuse(cannotSave);
        replaced = Fd(::openat(folder, place->name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat held {};
        if (!replaced.ok() || ::fstat(replaced.get(), &held) != 0 || held.st_dev != st.st_dev ||
            held.st_ino != st.st_ino || ::faccessat(folder, place->name.c_str(), W_OK, AT_EACCESS) != 0)
            return refuse(cannotSave);
        st = held;
    } else if (errno != ENOENT) {
        return refuse(cannotSave);
    }
    if (unchangedSince && (!replaced.ok() || identityOf(st) != *unchangedSince))
        return refuse(changedMeanwhile);

    // Allocated before the temporary file exists: running out of memory must
    // not leave it behind.
    std::string candidate = temporaryNameFor(place->name, 0);
    SaveFile file(place->folder.release(), std::move(place->name), unchangedSince);
    for (unsigned attempt = 1;; ++attempt) {
        if (injected(FileStep::OpenTemporary))
            return refuse(cannotSave);
        // A new file gets what the umask gives it; a replacement starts
        // private and takes the old file's attributes below.
        const int fd = ::openat(folder, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                                replaced.ok() ? 0600 : 0666);
        if (fd >= 0) {
            file.m_fd = fd;
            file.m_temporary.swap(candidate);
            break;
        }
        if ((errno != EEXIST && errno != EINTR) || attempt == 16)
            return refuse(cannotSave);
        candidate = temporaryNameFor(file.m_name, attempt);
    }

    if (replaced.ok()) {
        // An image is not a program: never setuid or setgid.
        mode_t mode = st.st_mode & 0777;
        if (!carryOwner(file.m_fd, st, mode) || injected(FileStep::CarryAttributes) ||
            !carryExtendedAttributes(replaced.get(), file.m_fd) || ::fchmod(file.m_fd, mode) != 0) {
            file.discard();
            return refuse(cannotSave);
        }
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
    const std::size_t length = std::min<std::size_t>(image.loadedLength, image.bytes.size());
    struct stat written {};
    const auto writeStep = [&](std::size_t done) -> ssize_t {
        return injected(FileStep::Write) ? -1 : ::write(file.m_fd, image.bytes.data() + done, length - done);
    };
    bool ok = transfer(length, writeStep) == length && !injected(FileStep::Flush) &&
              ::fsync(file.m_fd) == 0 && ::fstat(file.m_fd, &written) == 0;
    // A close can report a delayed write error; it counts like any other.
    ok = ::close(std::exchange(file.m_fd, -1)) == 0 && ok;
    if (!ok)
        return fail(cannotWrite);
    if (file.m_unchangedSince) {
        struct stat now {};
        if (::fstatat(file.m_folder, file.m_name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
            identityOf(now) != *file.m_unchangedSince)
            return fail(changedMeanwhile);
    }
    if (injected(FileStep::Rename) ||
        ::renameat(file.m_folder, file.m_temporary.c_str(), file.m_folder, file.m_name.c_str()) != 0)
        return fail(cannotWrite);
    file.m_temporary.clear();
    syncFolder(file.m_folder);
    image.source = identityOf(written);
    return true;
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<FileLock> lockFile(const fs::path& path)
{
    // A save replaces the file, so the one we waited for may have left the
    // path by the time the lock is ours: then it is the new one's turn.
    for (int attempt = 0; attempt < 100; ++attempt) {
        Fd fd(openForReading(path));
        struct stat held {};
        struct stat named {};
        if (!fd.ok() || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) ||
            retryOnSignal([&] { return ::flock(fd.get(), LOCK_EX); }) != 0)
            return std::nullopt;
        if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            return FileLock(fd.release());
    }
    return std::nullopt;
}

}  // namespace veltra
