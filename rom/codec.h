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
