#pragma once

#include <cstdint>
#include <optional>

#include "file_bytes.h"

namespace veltra {

// The legacy (x86) image of an option ROM: where the file holds it.
struct LegacyImage {
    std::uint32_t offset = 0;      // its 55 AA
    std::uint32_t pcirOffset = 0;  // its PCI data structure, which holds the ids
    std::uint32_t length = 0;      // bytes; its last byte is the checksum byte
    // Bytes of the UEFI image right after it, 0 when there is none. Tables
    // placed after that image are addressed as if it were not there.
    std::uint32_t uefiLength = 0;
};

// The result of looking for the legacy image.
struct OptionRomSearch {
    bool ok = true;  // false: the image was found but is unusable, and that was reported
    std::optional<LegacyImage> image;  // none: no option-ROM signature in the file
};

// Walks the file's 512-byte boundaries for the first 55 AA whose pointer
// leads to "PCIR" inside the file. An image whose length is zero or runs
// past the end of the file is reported ("Bios image length is wrong!",
// "Bios image does not fit in the file!").
OptionRomSearch findLegacyImage(const FileBytes& file);

}  // namespace veltra
