#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "rom/bios_info.h"

namespace veltra::cli {

// The keys keep the order in which the window shows the items.
using Json = nlohmann::ordered_json;

// One loaded image: the BiosInfo member names plus file, name, board, date,
// version, the checksum pair with its agreement, where the image starts (null
// without a signature) and where its layout came from.
Json imageJson(const std::string& file, const BiosInfo& info);

// Where each item of one image lies: file, name, image, layout and an
// `offsets` object with the same member names, each a file offset or an
// array of them.
Json offsetsJson(const std::string& file, const BiosInfo& info);

// One line of JSON. Invalid UTF-8 (a file name in another encoding) is
// replaced rather than refused, so that printing cannot fail.
std::string jsonLine(const Json& json);

}  // namespace veltra::cli
