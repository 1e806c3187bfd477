#include "json_view.h"

#include "image_view.h"

namespace veltra::cli {

Json imageJson(const std::string& file, const BiosInfo& info, std::uint32_t fileLength)
{
    Json boostTable = Json::array();
    for (const auto& entry : info.boostTable) boostTable.push_back(entry.value);
    const bool checkable = info.checksumReadOffset < fileLength;
    const Json ok = checkable ? Json(info.checksumStored == info.checksumComputed) : Json(nullptr);

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
                          {"checkable", checkable},
                          {"ok", ok}}},
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

std::string jsonLine(const Json& json)
{
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace veltra::cli
