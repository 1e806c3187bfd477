#include "read_only_values.h"

#include <algorithm>

#include "rom/conversions.h"

namespace veltra::cli {

bool isReadOnlyName(std::string_view name)
{
    return std::find(readOnlyNames.begin(), readOnlyNames.end(), name) != readOnlyNames.end();
}

std::vector<ReadOnlyValue> readOnlyValues(const BiosInfo& info)
{
    std::vector<ReadOnlyValue> values;
    // The limit is a clock word, the cooler's limits a byte each.
    const auto add = [&](std::string_view name, const auto& field, std::string text, std::uint32_t width) {
        if (field.present) values.push_back({std::string(name), std::move(text), {field.offset, width, field.origin}});
    };
    add(readOnlyNames[0], info.boostLimit, formatClock(info.boostLimit.value), 2);
    add(readOnlyNames[1], info.coolerFanMin, std::to_string(info.coolerFanMin.value), 1);
    add(readOnlyNames[2], info.coolerFanMax, std::to_string(info.coolerFanMax.value), 1);
    return values;
}

}  // namespace veltra::cli
