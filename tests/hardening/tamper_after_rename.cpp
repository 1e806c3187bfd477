// Put into veltra-cli with LD_PRELOAD: right after a save renames its file
// into place, it flips one byte of that file, as another program might
// before the file is read back. VELTRA_TAMPER_OFFSET says which byte.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

extern "C" int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept
{
    using Rename = int (*)(int, const char*, int, const char*);
    static const auto next = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "renameat"));
    const int result = next(fromFolder, from, toFolder, to);
    const char* offset = std::getenv("VELTRA_TAMPER_OFFSET");
    if (result != 0 || !offset)
        return result;
    const int fd = ::openat(toFolder, to, O_RDWR | O_CLOEXEC);
    const off_t at = std::strtol(offset, nullptr, 10);
    unsigned char byte = 0;
    if (fd >= 0 && ::pread(fd, &byte, 1, at) == 1) {
        byte ^= 0xFF;
        (void)::pwrite(fd, &byte, 1, at);
    }
    if (fd >= 0)
        ::close(fd);
    return result;
}
