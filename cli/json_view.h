#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "rom/bios_info.h"

namespace veltra::cli {

// The keys keep the order in which the window shows the items.
using Json = nlohmann::ordered_json;

// One loaded image: the BiosInfo member names plus file, name, board, date,
// version and the checksum pair with its agreement. A file of `fileLength`
// bytes that ends before the checksum byte cannot be checked: its "ok" is
// null.
Json imageJson(const std::string& file, const BiosInfo& info, std::uint32_t fileLength);

// One line of JSON. Invalid UTF-8 (a file name in another encoding) is
// replaced rather than refused, so that printing cannot fail.
std::string jsonLine(const Json& json);

}  // namespace veltra::cli
