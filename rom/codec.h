#pragma once

#include <filesystem>

#include "bios_info.h"
#include "image.h"

namespace veltra {

// Reads the file, identifies the board and decodes every field into `info`.
// The work is staged: romImage() and `info` change only when the whole load
// succeeds. Every failure has been reported, except an empty checksum range.
bool loadRomFile(const std::filesystem::path& path, BiosInfo& info);

// Encodes every value of `info` into a copy of romImage(), recomputes the
// checksum byte and writes the image at its loaded length. On success
// romImage() and info.checksumComputed hold what was written; on failure the
// message has been reported and nothing has changed, on disk or in memory.
// With no image loaded it refuses with "Cannot save bios file!".
bool saveRomFile(const std::filesystem::path& path, BiosInfo& info);

// The single steps of the two sequences, over a given image.
void decodeTexts(const RomImage& image, BiosInfo& info);
void decodeClocks(const RomImage& image, BiosInfo& info);
void decodeBoostTable(const RomImage& image, BiosInfo& info);
void decodePower(const RomImage& image, BiosInfo& info);
void decodeFan(const RomImage& image, BiosInfo& info);
// False, after "Read voltage error!", when a slot disagrees with slot 0.
bool decodeVoltage(const RomImage& image, BiosInfo& info);

void encodeClocks(RomImage& image, const BiosInfo& info);
void encodeBoostTable(RomImage& image, const BiosInfo& info);
void encodePower(RomImage& image, const BiosInfo& info);
void encodeFan(RomImage& image, const BiosInfo& info);
void encodeVoltage(RomImage& image, const BiosInfo& info);

// Clock words: half-MHz, the memory clock biased by 16384. Encoding
// truncates toward zero in single precision.
float decodeClockWord(std::uint16_t word);
float decodeMemClockWord(std::uint16_t word);
std::uint16_t encodeClockWord(float mhz);
std::uint16_t encodeMemClockWord(float mhz);

}  // namespace veltra
