#pragma once

#include "bios_info.h"
#include "image.h"

namespace veltra {

// The field codec: the single steps of the load and save sequences, over a
// given image and the offsets already in `info`.
void decodeTexts(const RomImage& image, BiosInfo& info);
void decodeClocks(const RomImage& image, BiosInfo& info);
void decodeBoostTable(const RomImage& image, BiosInfo& info);
void decodePower(const RomImage& image, BiosInfo& info);
// The fan's values, and the read-only values of the image's other tables.
void decodeFan(const RomImage& image, BiosInfo& info);
// False, after "Read voltage error!", when a slot disagrees with slot 0 on
// the three boards; on other boards such a voltage becomes absent.
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

// A memory clock word in the given coding; encoding keeps the flag bits of
// the word `stored` where the coding has them.
float decodeMemClock(std::uint16_t word, MemClockCoding coding);
std::uint16_t encodeMemClock(float mhz, MemClockCoding coding, std::uint16_t stored);

}  // namespace veltra
