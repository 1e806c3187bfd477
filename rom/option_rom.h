#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "file_bytes.h"

namespace veltra {

// The signature of the information table that a legacy image holds (u16
// 0xB8FF, then "BIT" and a zero).
constexpr std::string_view informationTableSignature{"\xFF\xB8" "BIT\0", 6};

// The legacy (x86) image of an option ROM: where the file holds it.
struct LegacyImage {
    std::uint32_t offset = 0;      // its 55 AA
    std::uint32_t pcirOffset = 0;  // its PCI data structure, which holds the ids
    std::uint32_t length = 0;      // bytes summed by its checksum; its last byte is the checksum byte
    // Bytes up to where the next image starts, as its PCI structure says:
    // never less than `length`.
    std::uint32_t pciLength = 0;
    // Bytes of the UEFI image that starts there, 0 when there is none. Tables
    // placed after that image are addressed as if it were not there.
    std::uint32_t uefiLength = 0;
};

// The result of looking for the legacy image.
struct OptionRomSearch {
    bool ok = true;  // false: the image is damaged or unusable, and that was reported
    std::optional<LegacyImage> image;  // none: no option-ROM structure in the file at all
};

// Walks the file's 512-byte boundaries for the first 55 AA whose pointer
// leads to "PCIR" inside the file; it must be a legacy image. Reports what
// makes the file unusable:
// - "Bios image header is damaged!": no such image, yet the file shows signs
//   of one (55 AA at a 512-byte boundary, "PCIR" or the information table's
//   signature anywhere), or the first image found is no legacy image;
// - "Bios image length is wrong!": a length of zero, a vendor length past
//   the PCI structure's, or a vendor length short of it whose bytes do not
//   sum to zero, so that nothing vouches for it;
// - "Bios image does not fit in the file!".
OptionRomSearch findLegacyImage(const FileBytes& file);

}  // namespace veltra
