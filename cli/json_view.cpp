#include "json_view.h"

#include "image_view.h"

namespace veltra::cli {

namespace {

Json imageOffsetJson(const BiosInfo& info)
{
    return info.layout.imageOffset ? Json(*info.layout.imageOffset) : Json(nullptr);
}

}  // namespace

Json imageJson(const std::string& file, const BiosInfo& info)
{
    Json boostTable = Json::array();
    for (const auto& entry : info.boostTable) boostTable.push_back(entry.value);

    return Json{
        {"file", file},
        {"name", boardName(info)},
        {"board", latin1ToUtf8(info.boardText.shown())},
        {"date", latin1ToUtf8(info.dateText.shown())},
        {"version", latin1ToUtf8(info.versionText.shown())},
        {"vendorId", info.vendorId},
        {"deviceId", info.deviceId},
        {"checksum", Json{{"stored", info.checksumStored},
                          {"computed", info.checksumComputed},
                          {"ok", info.checksumStored == info.checksumComputed}}},
        {"image", imageOffsetJson(info)},
        {"layout", layoutName(info)},
        {"gpuClock", info.gpuClock.value},
        {"boostClock", info.boostClock.value},
        {"memClock", info.memClock.value},
        {"boostTable", boostTable},
        {"powerDefault", info.powerDefault.value},
        {"powerMax", info.powerMax.value},
        {"powerLimitLo", info.powerLimitLo.value},
        {"powerLimitHi", info.powerLimitHi.value},
        {"fanMin", info.fanMin.value},
        {"fanMax", info.fanMax.value},
        {"voltage", info.voltage[0].value},
    };
}

Json offsetsJson(const std::string& file, const BiosInfo& info)
{
    Json offsets = Json::object();
    for (const FieldOffsets& field : fieldOffsets(info)) {
        const bool single = field.offsets.size() == 1;
        offsets[field.jsonName] = single ? Json(field.offsets.front()) : Json(field.offsets);
    }
    return Json{
        {"file", file},
        {"name", boardName(info)},
        {"image", imageOffsetJson(info)},
        {"layout", layoutName(info)},
        {"offsets", offsets},
    };
}

std::string jsonLine(const Json& json)
{
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace veltra::cli
