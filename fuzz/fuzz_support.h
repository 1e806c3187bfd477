#pragma once

// What the three fuzz targets share. Each target is a plain function, so
// that the regression replay in the test suite can call it without libFuzzer.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace veltra::fuzz {

int loadTarget(const std::uint8_t* data, std::size_t size);
int conversionsTarget(const std::uint8_t* data, std::size_t size);
int roundTripTarget(const std::uint8_t* data, std::size_t size);

// Aborts with `what` when a property does not hold: the fuzzer keeps the
// input as a crash.
void check(bool holds, const char* what);

// Two files in one input, for the staged-load target.
constexpr std::string_view fileSeparator = "\n--VELTRA-NEXT-FILE--\n";

// Page texts in one input: one per line, in commit order.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace veltra::fuzz

#ifndef VELTRA_FUZZ_REPLAY
#define VELTRA_FUZZ_ENTRY(target)                                                     \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) \
    {                                                                                 \
        return veltra::fuzz::target(data, size);                                      \
    }
#else
#define VELTRA_FUZZ_ENTRY(target)
#endif
