#include "settable_values.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "rom/conversions.h"

namespace veltra::cli {

namespace {

SettableValue textValue(const char* name, Reading reading, std::string PageValues::*text)
{
    SettableValue value{name, reading, nullptr, nullptr, std::nullopt};
    value.text = text;
    return value;
}

SettableValue numberValue(const char* name, std::uint32_t PageValues::*number)
{
    SettableValue value{name, Reading::Unsigned, nullptr, nullptr, std::nullopt};
    value.number = number;
    return value;
}

SettableValue boostValue(std::size_t entry)
{
    SettableValue value{boostEntryName(entry), Reading::Decimal, nullptr, nullptr, std::nullopt};
    value.boostEntry = entry;
    return value;
}

std::vector<SettableValue> buildSettableValues()
{
    std::vector<SettableValue> values = {
        textValue("gpu-clock", Reading::Decimal, &PageValues::gpuClock),
        textValue("boost-clock", Reading::Decimal, &PageValues::boostClock),
        textValue("mem-clock", Reading::Decimal, &PageValues::memClock),
    };
    for (std::size_t k = 0; k < boostEntryCount; ++k) values.push_back(boostValue(k));
    values.insert(values.end(), {
        numberValue("power-default", &PageValues::powerDefault),
        numberValue("power-max", &PageValues::powerMax),
        numberValue("power-limit-lo", &PageValues::powerLimitLo),
        numberValue("power-limit-hi", &PageValues::powerLimitHi),
        numberValue("fan-min", &PageValues::fanMin),
        numberValue("fan-max", &PageValues::fanMax),
        textValue("voltage", Reading::Integer, &PageValues::voltage),
    });
    return values;
}

// The text of a Decimal or Integer value, const as `values` is.
template <typename Values>
auto textOf(Values& values, const SettableValue& value) -> decltype(&values.voltage)
{
    if (value.boostEntry) return &values.boostTable[*value.boostEntry];
    return &(values.*value.text);
}

}  // namespace

std::string boostEntryName(std::size_t entry)
{
    // Entries are numbered from 01, as the Boost page captions them.
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "boost-%02zu", entry + 1);
    return text.data();
}

const std::vector<SettableValue>& settableValues()
{
    static const std::vector<SettableValue> values = buildSettableValues();
    return values;
}

const SettableValue* findSettable(std::string_view name)
{
    const auto& values = settableValues();
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const SettableValue& value) { return value.name == name; });
    return it == values.end() ? nullptr : &*it;
}

std::string valueText(const PageValues& values, const SettableValue& value)
{
    if (value.reading == Reading::Unsigned) return std::to_string(values.*value.number);
    return *textOf(values, value);
}

bool assignValue(PageValues& values, const SettableValue& value, std::string_view text)
{
    if (value.reading != Reading::Unsigned) {
        *textOf(values, value) = std::string(text);
        return true;
    }
    const std::optional<std::uint32_t> number = parseUnsigned32(text);
    if (!number) return false;
    values.*value.number = *number;
    return true;
}

}  // namespace veltra::cli
