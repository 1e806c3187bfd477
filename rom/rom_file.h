#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "bios_info.h"
#include "image.h"

namespace veltra {

// Reads the file, finds the image in it, identifies the board, locates every
// field (from the image's own tables where it has them) and decodes it into
// `info`. The work is staged: romImage() and `info` change only when the
// whole load succeeds. Every failure has been reported, except an empty
// checksum range.
bool loadRomFile(const std::filesystem::path& path, BiosInfo& info);

// The same load over a file's bytes already in memory: everything
// loadRomFile does once the file has been read, with the same staging and
// messages ("Bios file is too large!" past the image's capacity).
bool loadRomBytes(const std::uint8_t* data, std::size_t size, BiosInfo& info);

// Encodes every value of `info` into a copy of romImage() at its located
// offsets, recomputes the checksum byte and writes the image at its loaded
// length; every other byte of the file stays as it was. On success
// romImage() and info.checksumComputed hold what was written; on failure the
// message has been reported and nothing has changed, on disk or in memory.
// With no image loaded it refuses with "Cannot save bios file!".
//
// With `unchangedSince` (what romImage().source said after the load), the
// file at `path` must still be that file, unchanged: otherwise the save
// refuses with "Bios file was changed by another program!", checked when
// the target is opened and again just before it is replaced.
bool saveRomFile(const std::filesystem::path& path, BiosInfo& info,
                 const std::optional<FileIdentity>& unchangedSince = std::nullopt);

// The encoding half of a save, which touches no file: `out` becomes
// romImage() with every value of `info` encoded at its offsets and the
// checksum byte recomputed; returns that byte. saveRomFile writes what this
// gives.
std::uint8_t encodeImage(const BiosInfo& info, RomImage& out);

}  // namespace veltra
