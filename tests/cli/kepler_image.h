#pragma once

// Images of the boards that open only through their own tables, for the
// tests of what veltra-cli shows, sets and compares on them.

#include <cstddef>
#include <cstdio>
#include <string>

#include "tests/support/structured_image.h"

namespace veltra::testing {

// A board without built-in offsets (a GTX 770's ids) whose tables give every
// value, laid out as the three boards' are; change its contents to leave
// values out.
inline StructuredSpec otherBoardSpec()
{
    StructuredSpec spec;
    spec.values.board = BoardModel::Other;
    spec.values.deviceId = 0x1184;
    return spec;
}

// The NAME of ladder entry k (from 0): boost-01 ...
inline std::string boostName(std::size_t k)
{
    char name[32];
    std::snprintf(name, sizeof name, "boost-%02zu", k + 1);
    return name;
}

}  // namespace veltra::testing
