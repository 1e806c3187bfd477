#include "json_view.h"

#include "image_view.h"
#include "rom/bios_info.h"
#include "settable_values.h"

namespace veltra::cli {

Json errorsJson(const std::vector<const FileMessages*>& messages)
{
    Json errors = Json::array();
    for (const FileMessages* each : messages)
        for (const FileMessages::Message& message : each->messages())
            errors.push_back(Json{{"file", message.file}, {"message", message.text}});
    return errors;
}

Json recordJson(std::string_view command, const std::string& file, const FileMessages& messages, bool ok)
{
    return Json{
        {"format", jsonFormatVersion},
        {"command", command},
        {"file", file},
        {"ok", ok},
        {"errors", errorsJson({&messages})},
    };
}

Json imageJson(const LoadedImage& image)
{
    const BiosInfo& info = image.info;
    const std::optional<bool> right = checksumRight(image);
    Json json{
        {"name", boardName(info)},
        {"board", latin1ToUtf8(info.boardText.shown())},
        {"date", latin1ToUtf8(info.dateText.shown())},
        {"version", latin1ToUtf8(info.versionText.shown())},
        {"device-id", Json{{"vendor", info.vendorId}, {"device", info.deviceId}}},
        {"checksum", Json{{"stored", info.checksumStored},
                          {"computed", info.checksumComputed},
                          {"right", right ? Json(*right) : Json(nullptr)}}},
        {"image", info.layout.imageOffset ? Json(*info.layout.imageOffset) : Json(nullptr)},
        {"layout", layoutName(info)},
    };
    // The values as show prints them, read as JSON numbers: exactly the
    // text's number, in the text's unit. A value the image lacks is null,
    // but the ladder and the read-only values run only as far as the image's.
    for (const ValueLine& line : allValueLines(info)) {
        if (line.text)
            json[line.name] = Json::parse(*line.text);
        else if (const SettableValue* value = findSettable(line.name); value && !value->boostEntry)
            json[line.name] = nullptr;
    }
    return json;
}

Json offsetsJson(const BiosInfo& info)
{
    Json offsets = Json::object();
    for (const OffsetLine& line : offsetList(info)) {
        if (line.offsets.empty())
            offsets[line.name] = nullptr;
        else
            offsets[line.name] = line.offsets.size() == 1 ? Json(line.offsets.front()) : Json(line.offsets);
    }
    return offsets;
}

void addMembers(Json& record, const Json& source)
{
    for (const auto& [name, value] : source.items())
        record[name] = value;
}

std::string jsonLine(const Json& json)
{
    return json.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
}

}  // namespace veltra::cli
