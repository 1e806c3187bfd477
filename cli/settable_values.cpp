#include "settable_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "rom/conversions.h"

namespace veltra::cli {

namespace {

using Spans = std::function<std::vector<ByteSpan>(const BiosInfo&)>;

// Clocks are 16-bit words, power values 32-bit, fan values one byte.
template <typename T>
Spans fieldSpans(FieldLoc<T> BiosInfo::*field, std::uint32_t width)
{
    return [field, width](const BiosInfo& info) {
        const FieldLoc<T>& loc = info.*field;
        return loc.present ? std::vector<ByteSpan>{{loc.offset, width, loc.origin}} : std::vector<ByteSpan>{};
    };
}

std::vector<ByteSpan> memClockSpans(const BiosInfo& info)
{
    const MemClockLoc& loc = info.memClock;
    if (!loc.present) return {};
    std::vector<ByteSpan> spans = {{loc.offset, 2, loc.origin}};
    if (loc.secondOffset != 0) spans.push_back({loc.secondOffset, 2, loc.secondOrigin});
    return spans;
}

std::vector<ByteSpan> voltageSpans(const BiosInfo& info)
{
    std::vector<ByteSpan> spans;
    for (const auto& slot : info.voltage)
        if (slot.present) spans.push_back({slot.offset, 4, slot.origin});
    return spans;
}

SettableValue textValue(const char* name, Reading reading, EditField field, std::string PageValues::*text,
                        Spans spans)
{
    SettableValue value{name, reading, field, nullptr, nullptr, std::nullopt, std::move(spans)};
    value.text = text;
    return value;
}

SettableValue numberValue(const char* name, EditField field, std::uint32_t PageValues::*number, Spans spans)
{
    SettableValue value{name, Reading::Unsigned, field, nullptr, nullptr, std::nullopt, std::move(spans)};
    value.number = number;
    return value;
}

SettableValue boostValue(std::size_t entry)
{
    SettableValue value{boostEntryName(entry), Reading::Decimal, EditField::BoostEntry, nullptr, nullptr, entry, {}};
    value.spans = [entry](const BiosInfo& info) {
        if (entry >= info.boostTable.size()) return std::vector<ByteSpan>{};
        const FieldLoc<float>& loc = info.boostTable[entry];
        return std::vector<ByteSpan>{{loc.offset, 2, loc.origin}};
    };
    return value;
}

std::vector<SettableValue> buildSettableValues()
{
    std::vector<SettableValue> values = {
        textValue("gpu-clock", Reading::Decimal, EditField::GpuClock, &PageValues::gpuClock,
                  fieldSpans(&BiosInfo::gpuClock, 2)),
        textValue("boost-clock", Reading::Decimal, EditField::BoostClock, &PageValues::boostClock,
                  fieldSpans(&BiosInfo::boostClock, 2)),
        textValue("mem-clock", Reading::Decimal, EditField::MemClock, &PageValues::memClock, memClockSpans),
    };
    // Every entry the longest ladder has; an image has the first few of them.
    for (std::size_t k = 0; k < maxBoostEntryCount; ++k) values.push_back(boostValue(k));
    values.insert(values.end(), {
        numberValue("power-default", EditField::PowerDefault, &PageValues::powerDefault,
                    fieldSpans(&BiosInfo::powerDefault, 4)),
        numberValue("power-max", EditField::PowerMax, &PageValues::powerMax, fieldSpans(&BiosInfo::powerMax, 4)),
        numberValue("power-limit-lo", EditField::PowerLimitLo, &PageValues::powerLimitLo,
                    fieldSpans(&BiosInfo::powerLimitLo, 4)),
        numberValue("power-limit-hi", EditField::PowerLimitHi, &PageValues::powerLimitHi,
                    fieldSpans(&BiosInfo::powerLimitHi, 4)),
        numberValue("fan-min", EditField::FanMin, &PageValues::fanMin, fieldSpans(&BiosInfo::fanMin, 1)),
        numberValue("fan-max", EditField::FanMax, &PageValues::fanMax, fieldSpans(&BiosInfo::fanMax, 1)),
        textValue("voltage", Reading::Integer, EditField::Voltage, &PageValues::voltage, voltageSpans),
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

bool isPresent(const BiosInfo& info, const SettableValue& value)
{
    return veltra::isPresent(info, value.field, value.boostEntry.value_or(0));
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

namespace {

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits with at most one point and at least one digit, a sign before them:
// no exponent, no comma, no words.
bool isDecimal(std::string_view text)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    const auto point = text.find('.');
    if (point == std::string_view::npos) return allDigits(text);
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = text.substr(point + 1);
    return (allDigits(whole) || whole.empty()) && (allDigits(fraction) || fraction.empty()) &&
           !(whole.empty() && fraction.empty());
}

}  // namespace

bool isValueText(const SettableValue& value, std::string_view text)
{
    switch (value.reading) {
    case Reading::Decimal:
        return isDecimal(text);
    case Reading::Integer:
        return allDigits(text);
    case Reading::Unsigned:
        return allDigits(text) && parseUnsigned32(text).has_value();
    }
    return false;
}

std::string valueForm(const SettableValue& value)
{
    // Clocks are in MHz, the voltage (the one Integer value) in mV.
    if (value.reading == Reading::Decimal) return "a decimal number in MHz";
    if (value.reading == Reading::Integer) return "a whole number in mV";
    return "a whole number from 0 to 4294967295";
}

double decimalValue(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
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
