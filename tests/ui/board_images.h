#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/support/structured_image.h"

// Images of a board that opens through its own tables alone (a GeForce GTX
// 770, device 0x1184), bent through the tables' own headers into the shape
// a test needs.
namespace veltra::testing {

using TableBend = std::function<void(StructuredImage&)>;

// The image, each bend applied in turn, its checksum correct again.
StructuredImage otherBoardImage(const std::vector<TableBend>& bends = {});

// The boost ladder: P0's voltage-frequency range from `lowest` to `highest`,
// a ladder of highest - lowest entries.
TableBend ladderRange(std::uint8_t lowest, std::uint8_t highest);
// No P0 entry in the voltage-frequency table: no ladder.
TableBend noLadder();
// Byte `at` of a table's header.
TableBend headerByte(std::uint32_t TableStarts::*table, std::uint32_t at, std::uint8_t value);
// No thermal entry of the fan.
TableBend noFanEntry();

// The word of ladder entry `k` (from 0) as the file holds it.
std::uint16_t ladderWord(const StructuredImage& image, std::size_t k);

}  // namespace veltra::testing
