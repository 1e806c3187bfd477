#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "output.h"

namespace veltra::cli {

// The members keep the order in which the text form shows the items.
using Json = nlohmann::ordered_json;

// Raised whenever a record's members change meaning or go away.
constexpr int jsonFormatVersion = 1;

// What every record starts with: format, command, file, ok and the
// messages met, each {file, message}.
Json recordJson(std::string_view command, const std::string& file, const FileMessages& messages, bool ok);
Json errorsJson(const std::vector<const FileMessages*>& messages);

// A loaded image's items, named as the text form names them: the identity
// (name, board, date, version, device-id, checksum, image, layout), then
// every value by its NAME as a number in its unit (MHz, W, %, mV): null
// for a value the image lacks, boost entries as far as its ladder runs, and
// the read-only values only where the image has them.
Json imageJson(const LoadedImage& image);

// Where each item lies: an object with the names of show --offsets, each a
// file offset or an array of them, null for a value the image lacks.
Json offsetsJson(const BiosInfo& info);

// `source` merged into `record`, member by member.
void addMembers(Json& record, const Json& source);

// One line of JSON with its newline. Invalid UTF-8 (a file name in another
// encoding) is replaced rather than refused, so that printing cannot fail.
std::string jsonLine(const Json& json);

}  // namespace veltra::cli
