#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settable_values.h"

namespace veltra::cli {

// Values some images hold that show prints and set never writes: the
// highest clock a boost entry runs at, and the fan cooler table's own limits.
struct ReadOnlyValue {
    std::string name;
    std::string text;  // as show prints it: MHz with two decimals, or a whole %
    ByteSpan place;
};

// Every read-only NAME, in the order show prints them, after every value set takes.
constexpr std::array<std::string_view, 3> readOnlyNames = {"boost-limit", "cooler-fan-min", "cooler-fan-max"};

bool isReadOnlyName(std::string_view name);

// The read-only values the image has, in that order.
std::vector<ReadOnlyValue> readOnlyValues(const BiosInfo& info);

}  // namespace veltra::cli
