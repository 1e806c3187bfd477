#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "tests/support/temp_dir.h"

namespace veltra::fuzz {
namespace {

struct Folder {
    Folder()
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        path = base / ("veltra-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path);
    }
    ~Folder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

}  // namespace

void check(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

const std::filesystem::path& workFolder()
{
    static Folder folder;
    return folder.path;
}

std::filesystem::path writeInput(const char* name, const std::uint8_t* data, std::size_t size)
{
    const auto path = workFolder() / name;
    testing::writeBytes(path, std::vector<std::uint8_t>(data, data + size));
    return path;
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

}  // namespace veltra::fuzz
