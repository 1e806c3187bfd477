#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "rom/rom.h"

namespace veltra::testing {

// Every member of a BiosInfo as text, floats by their bits, so that "nothing
// changed" can be asserted with one comparison and a readable difference.
std::string dump(const BiosInfo& info);

// A copy of romImage(), to show it untouched after a failure.
struct ImageSnapshot {
    std::vector<std::uint8_t> bytes;
    std::uint32_t loadedLength = 0;

    static ImageSnapshot ofRomImage();
    bool operator==(const ImageSnapshot&) const = default;
};

// The bytes that a save may change: every located field and the checksum
// byte, as (offset, width) spans, and as a map indexed by file offset,
// RomImage::capacity long.
std::vector<std::pair<std::uint32_t, std::uint32_t>> ownedSpans(const BiosInfo& info);
std::vector<bool> ownedBytes(const BiosInfo& info);

// One line for a child process or a table row: the result, every message,
// and whether romImage() kept its contents.
std::string describe(bool result, const std::vector<std::string>& messages, bool imageUnchanged);

}  // namespace veltra::testing
