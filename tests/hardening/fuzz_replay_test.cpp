// Every seed of the fuzz targets and every input a fuzzer once crashed on
// (fuzz/regressions/) runs through the same targets in the ordinary suite,
// without libFuzzer. A violated property aborts the test.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "tests/support/temp_dir.h"

namespace veltra::fuzz {
namespace {

namespace fs = std::filesystem;

std::size_t replay(const fs::path& folder, int (*target)(const std::uint8_t*, std::size_t))
{
    std::size_t count = 0;
    if (!fs::is_directory(folder))
        return 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename().string().starts_with("."))
            continue;
        SCOPED_TRACE(entry.path().string());
        const std::vector<std::uint8_t> bytes = testing::readBytes(entry.path());
        target(bytes.data(), bytes.size());
        ++count;
    }
    return count;
}

TEST(FuzzReplay, SeedsAndRegressionInputsHoldEveryProperty)
{
    const char* seeds = std::getenv("VELTRA_FUZZ_SEEDS");
    ASSERT_NE(seeds, nullptr) << "VELTRA_FUZZ_SEEDS names the generated seed folder";
    const struct {
        const char* name;
        int (*target)(const std::uint8_t*, std::size_t);
    } targets[] = {{"load", loadTarget}, {"conversions", conversionsTarget}, {"roundtrip", roundTripTarget}};
    for (const auto& t : targets) {
        SCOPED_TRACE(t.name);
        EXPECT_GT(replay(fs::path(seeds) / t.name, t.target), 10u);
        replay(fs::path(VELTRA_FUZZ_REGRESSIONS) / t.name, t.target);
    }
}

}  // namespace
}  // namespace veltra::fuzz
