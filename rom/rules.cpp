#include "rules.h"

#include <optional>

#include "conversions.h"
#include "message.h"

namespace veltra {
namespace {

using Values = PageValues;

// Inclusive, in single precision; NaN and infinity fail.
constexpr bool clockWithin(float mhz, float lowest, float highest)
{
    return mhz >= lowest && mhz <= highest;
}

constexpr const char* defaultFrequencyMessage = "300Mhz <= Default Frequency <= 2000Mhz";
constexpr const char* boostFrequencyMessage = "300Mhz <= Boost Frequency <= 2000Mhz";
constexpr const char* memoryFrequencyMessage = "1000Mhz <= Memory Frequency <= 2000Mhz";

constexpr SaveRule gpuClockRule{
    EditGroup::Frequency, 0,
    [](const Values& v, BiosInfo& info, std::size_t) { info.gpuClock.value = parseClock(v.gpuClock); },
    [](const Values&, const BiosInfo& info, std::size_t) { return clockWithin(info.gpuClock.value, 300, 2000); },
    defaultFrequencyMessage};

constexpr SaveRule boostClockRule{
    EditGroup::Frequency, 0,
    [](const Values& v, BiosInfo& info, std::size_t) { info.boostClock.value = parseClock(v.boostClock); },
    [](const Values&, const BiosInfo& info, std::size_t) { return clockWithin(info.boostClock.value, 300, 2000); },
    boostFrequencyMessage};

constexpr SaveRule memClockRule{
    EditGroup::Frequency, 0,
    [](const Values& v, BiosInfo& info, std::size_t) { info.memClock.value = parseClock(v.memClock); },
    [](const Values&, const BiosInfo& info, std::size_t) { return clockWithin(info.memClock.value, 1000, 2000); },
    memoryFrequencyMessage};

// The boost table's rules differ only in their entry; the message does not
// say which entry failed.
constexpr SaveRule boostEntryRule(std::size_t entry)
{
    return {EditGroup::Boost, entry,
            [](const Values& v, BiosInfo& info, std::size_t k) { info.boostTable[k].value = parseClock(v.boostTable[k]); },
            [](const Values&, const BiosInfo& info, std::size_t k) { return clockWithin(info.boostTable[k].value, 300, 2000); },
            boostFrequencyMessage};
}

// All four power values are stored before the first of their checks.
constexpr SaveRule powerOrderRule{
    EditGroup::Power, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        info.powerDefault.value = v.powerDefault;
        info.powerMax.value = v.powerMax;
        info.powerLimitLo.value = v.powerLimitLo;
        info.powerLimitHi.value = v.powerLimitHi;
    },
    [](const Values&, const BiosInfo& info, std::size_t) { return info.powerDefault.value <= info.powerMax.value; },
    "Default Power <= Max Power"};

constexpr SaveRule powerLimitOrderRule{
    EditGroup::Power, 0, nullptr,
    [](const Values&, const BiosInfo& info, std::size_t) { return info.powerLimitLo.value <= info.powerLimitHi.value; },
    "Power Limit Lo <= Power Limit Hi"};

constexpr SaveRule powerCeilingRule{
    EditGroup::Power, 0, nullptr,
    [](const Values&, const BiosInfo& info, std::size_t) {
        return info.powerDefault.value <= 500 && info.powerMax.value <= 500 && info.powerLimitLo.value <= 500 &&
               info.powerLimitHi.value <= 500;
    },
    "Power <= 500W"};

// The file keeps one byte per fan value, but the checks see the numbers as
// entered, so 356 (byte 100) still fails.
constexpr SaveRule fanOrderRule{
    EditGroup::Fan, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        info.fanMin.value = static_cast<std::uint8_t>(v.fanMin);
        info.fanMax.value = static_cast<std::uint8_t>(v.fanMax);
    },
    [](const Values& v, const BiosInfo&, std::size_t) { return v.fanMin <= v.fanMax; },
    "Minimum Fan Speed <= Max Fan Speed"};

constexpr SaveRule fanRangeRule{
    EditGroup::Fan, 0, nullptr,
    [](const Values& v, const BiosInfo&, std::size_t) { return v.fanMin >= 10 && v.fanMax <= 100; },
    "10% <= FanSpeed <= 100%"};

constexpr SaveRule voltageRule{
    EditGroup::Voltage, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        info.voltage[0].value = static_cast<std::uint32_t>(parseLeadingInt(v.voltage));
    },
    // Checked as the signed number typed: a negative voltage is out of range.
    [](const Values& v, const BiosInfo&, std::size_t) {
        const std::int32_t millivolts = parseLeadingInt(v.voltage);
        return millivolts >= 800 && millivolts <= 1500;
    },
    "800mV <= Max Voltage <= 1500mV"};

constexpr std::array<SaveRule, saveRuleCount> makeSaveRules()
{
    std::array<SaveRule, saveRuleCount> rules{};
    std::size_t at = 0;
    rules[at++] = gpuClockRule;
    rules[at++] = boostClockRule;
    rules[at++] = memClockRule;
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        rules[at++] = boostEntryRule(k);
    for (const SaveRule& rule : {powerOrderRule, powerLimitOrderRule, powerCeilingRule, fanOrderRule, fanRangeRule, voltageRule})
        rules[at++] = rule;
    return rules;
}

}  // namespace

constinit const std::array<SaveRule, saveRuleCount> saveRules = makeSaveRules();

PageValues pageValuesFrom(const BiosInfo& info)
{
    PageValues values;
    values.gpuClock = formatClock(info.gpuClock.value);
    values.boostClock = formatClock(info.boostClock.value);
    values.memClock = formatClock(info.memClock.value);
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        values.boostTable[k] = formatClock(info.boostTable[k].value);
    values.powerDefault = info.powerDefault.value;
    values.powerMax = info.powerMax.value;
    values.powerLimitLo = info.powerLimitLo.value;
    values.powerLimitHi = info.powerLimitHi.value;
    values.fanMin = info.fanMin.value;
    values.fanMax = info.fanMax.value;
    // A decoded voltage is at most 2^32 / 1000, so as a signed number it is
    // the value itself.
    values.voltage = std::to_string(static_cast<std::int32_t>(info.voltage[0].value));
    return values;
}

const SaveRule* commitPageValues(PageValues& values, BiosInfo& info, const PageReader& readPage)
{
    std::optional<EditGroup> page;
    for (const SaveRule& rule : saveRules) {
        if (page != rule.group) {
            page = rule.group;
            if (readPage && !readPage(rule.group, values))
                return &rule;
        }
        if (rule.store != nullptr)
            rule.store(values, info, rule.entry);
        if (!rule.passes(values, info, rule.entry)) {
            reportMessage(rule.message);
            return &rule;
        }
    }
    return nullptr;
}

}  // namespace veltra
