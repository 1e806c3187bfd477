#pragma once

// Images of the boards that open only through their own tables: a
// structured GK104 image under another board's ids, bent into the shapes
// those boards' files come in (values left out, a longer or shorter boost
// ladder, the tables of the read-only values).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/structured_image.h"

namespace veltra::testing {

constexpr std::uint16_t gtx770DeviceId = 0x1184;

// A GTX 680-shaped image with every value, named as a GTX 770.
StructuredImage keplerImage(std::uint16_t deviceId = gtx770DeviceId);

// What a bend leaves out or changes.
enum class Bend {
    NoPower,       // the power table names no entry for its limits nor for its defaults
    NoVoltage,     // the voltage map names no entry for the maximum voltage
    NoBoostClock,  // the clock table names no boost entry
    NoFan,         // the thermal table has no fan entry
};
void bend(StructuredImage& image, Bend what);

// The boost ladder runs from its first extra entry to `highest` (46 as
// built: 45 entries; at most 52, the extra entries the builder writes).
void setLadderEnd(StructuredImage& image, std::uint8_t highest);
// The file offset of ladder entry k (from 0), wherever the ladder ends.
std::uint32_t ladderEntryOffset(const StructuredImage& image, std::uint32_t k);

// The NAME of ladder entry k (from 0): boost-01 ...
std::string boostName(std::size_t k);

// Adds the clock-range table (its P0 maximum a clock word in half-MHz) and
// the fan cooler table (its entry 0's limits in %), where the P token
// points to them.
struct ReadOnlyPlaces {
    std::uint32_t boostLimit, coolerFanMin, coolerFanMax;
};
ReadOnlyPlaces addReadOnlyTables(StructuredImage& image, std::uint16_t limitWord, std::uint8_t fanMin,
                                 std::uint8_t fanMax);

// Makes the legacy image's bytes sum to zero again after a bend.
void fixImageChecksum(StructuredImage& image);

}  // namespace veltra::testing
