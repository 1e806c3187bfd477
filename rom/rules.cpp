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
// Other boards run their memory below 1000 MHz from the factory (DDR3 boards
// at 800 to 915): their own stock value must stay savable.
constexpr const char* otherMemoryFrequencyMessage = "300Mhz <= Memory Frequency <= 2000Mhz";

template <EditField field>
constexpr bool present(const BiosInfo& info, std::size_t entry)
{
    return isPresent(info, field, entry);
}

template <EditField field>
constexpr EditField speaksOf(const Values&, std::size_t)
{
    return field;
}

constexpr SaveRule gpuClockRule{
    EditGroup::Frequency, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        if (info.gpuClock.present)
            info.gpuClock.value = parseClock(v.gpuClock);
    },
    [](const Values&, const BiosInfo& info, std::size_t) { return clockWithin(info.gpuClock.value, 300, 2000); },
    defaultFrequencyMessage, present<EditField::GpuClock>, speaksOf<EditField::GpuClock>};

constexpr SaveRule boostClockRule{
    EditGroup::Frequency, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        if (info.boostClock.present)
            info.boostClock.value = parseClock(v.boostClock);
    },
    [](const Values&, const BiosInfo& info, std::size_t) { return clockWithin(info.boostClock.value, 300, 2000); },
    boostFrequencyMessage, present<EditField::BoostClock>, speaksOf<EditField::BoostClock>};

constexpr SaveRule memClockRule{
    EditGroup::Frequency, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        if (info.memClock.present)
            info.memClock.value = parseClock(v.memClock);
    },
    [](const Values&, const BiosInfo& info, std::size_t) { return clockWithin(info.memClock.value, 1000, 2000); },
    memoryFrequencyMessage,
    [](const BiosInfo& info, std::size_t) { return info.memClock.present && hasBuiltInRules(info); },
    speaksOf<EditField::MemClock>};

constexpr SaveRule otherMemClockRule{
    EditGroup::Frequency, 0, nullptr,
    [](const Values&, const BiosInfo& info, std::size_t) { return clockWithin(info.memClock.value, 300, 2000); },
    otherMemoryFrequencyMessage,
    [](const BiosInfo& info, std::size_t) { return info.memClock.present && !hasBuiltInRules(info); },
    speaksOf<EditField::MemClock>};

// The boost table's rules differ only in their entry; the message does not
// say which entry failed.
constexpr SaveRule boostEntryRule(std::size_t entry)
{
    return {EditGroup::Boost, entry,
            [](const Values& v, BiosInfo& info, std::size_t k) {
                if (k < info.boostTable.size())
                    info.boostTable[k].value = parseClock(v.boostTable[k]);
            },
            [](const Values&, const BiosInfo& info, std::size_t k) { return clockWithin(info.boostTable[k].value, 300, 2000); },
            boostFrequencyMessage, present<EditField::BoostEntry>, speaksOf<EditField::BoostEntry>};
}

// Each power value the image holds is stored before the first of their
// checks; a check of values the image lacks is skipped.
constexpr SaveRule powerOrderRule{
    EditGroup::Power, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        for (auto [field, typed] : {std::pair{&info.powerDefault, v.powerDefault}, std::pair{&info.powerMax, v.powerMax},
                                    std::pair{&info.powerLimitLo, v.powerLimitLo},
                                    std::pair{&info.powerLimitHi, v.powerLimitHi}})
            if (field->present)
                field->value = typed;
    },
    [](const Values&, const BiosInfo& info, std::size_t) { return info.powerDefault.value <= info.powerMax.value; },
    "Default Power <= Max Power",
    [](const BiosInfo& info, std::size_t) { return info.powerDefault.present && info.powerMax.present; },
    speaksOf<EditField::PowerDefault>};

constexpr SaveRule powerLimitOrderRule{
    EditGroup::Power, 0, nullptr,
    [](const Values&, const BiosInfo& info, std::size_t) { return info.powerLimitLo.value <= info.powerLimitHi.value; },
    "Power Limit Lo <= Power Limit Hi",
    [](const BiosInfo& info, std::size_t) { return info.powerLimitLo.present && info.powerLimitHi.present; },
    speaksOf<EditField::PowerLimitLo>};

constexpr SaveRule powerCeilingRule{
    EditGroup::Power, 0, nullptr,
    [](const Values&, const BiosInfo& info, std::size_t) {
        for (const auto* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
            if (power->present && power->value > 500)
                return false;
        return true;
    },
    "Power <= 500W",
    [](const BiosInfo& info, std::size_t) {
        return info.powerDefault.present || info.powerMax.present || info.powerLimitLo.present ||
               info.powerLimitHi.present;
    },
    // The first value above the ceiling, in the page's order.
    [](const Values& v, std::size_t) {
        if (v.powerDefault > 500)
            return EditField::PowerDefault;
        if (v.powerMax > 500)
            return EditField::PowerMax;
        return v.powerLimitLo > 500 ? EditField::PowerLimitLo : EditField::PowerLimitHi;
    }};

// The file keeps one byte per fan value, but the checks see the numbers as
// entered, so 356 (byte 100) still fails.
constexpr SaveRule fanOrderRule{
    EditGroup::Fan, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        if (!info.fanMin.present)
            return;
        info.fanMin.value = static_cast<std::uint8_t>(v.fanMin);
        info.fanMax.value = static_cast<std::uint8_t>(v.fanMax);
    },
    [](const Values& v, const BiosInfo&, std::size_t) { return v.fanMin <= v.fanMax; },
    "Minimum Fan Speed <= Max Fan Speed", present<EditField::FanMin>, speaksOf<EditField::FanMin>};

constexpr SaveRule fanRangeRule{
    EditGroup::Fan, 0, nullptr,
    [](const Values& v, const BiosInfo&, std::size_t) { return v.fanMin >= 10 && v.fanMax <= 100; },
    "10% <= FanSpeed <= 100%", present<EditField::FanMin>,
    [](const Values& v, std::size_t) { return v.fanMin < 10 ? EditField::FanMin : EditField::FanMax; }};

constexpr SaveRule voltageRule{
    EditGroup::Voltage, 0,
    [](const Values& v, BiosInfo& info, std::size_t) {
        if (info.voltage[0].present)
            info.voltage[0].value = static_cast<std::uint32_t>(parseLeadingInt(v.voltage));
    },
    // Checked as the signed number typed: a negative voltage is out of range.
    [](const Values& v, const BiosInfo&, std::size_t) {
        const std::int32_t millivolts = parseLeadingInt(v.voltage);
        return millivolts >= 800 && millivolts <= 1500;
    },
    "800mV <= Max Voltage <= 1500mV", present<EditField::Voltage>, speaksOf<EditField::Voltage>};

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
    for (std::size_t k = boostEntryCount; k < maxBoostEntryCount; ++k)
        rules[at++] = boostEntryRule(k);
    rules[at++] = otherMemClockRule;
    return rules;
}

constexpr EditGroup pageOrder[] = {EditGroup::Frequency, EditGroup::Boost, EditGroup::Power, EditGroup::Fan,
                                   EditGroup::Voltage};

}  // namespace

constinit const std::array<SaveRule, saveRuleCount> saveRules = makeSaveRules();

bool isPresent(const BiosInfo& info, EditField field, std::size_t entry)
{
    switch (field) {
    case EditField::GpuClock:
        return info.gpuClock.present;
    case EditField::BoostClock:
        return info.boostClock.present;
    case EditField::MemClock:
        return info.memClock.present;
    case EditField::BoostEntry:
        return entry < info.boostTable.size();
    case EditField::PowerDefault:
        return info.powerDefault.present;
    case EditField::PowerMax:
        return info.powerMax.present;
    case EditField::PowerLimitLo:
        return info.powerLimitLo.present;
    case EditField::PowerLimitHi:
        return info.powerLimitHi.present;
    case EditField::FanMin:
        return info.fanMin.present;
    case EditField::FanMax:
        return info.fanMax.present;
    case EditField::Voltage:
        return info.voltage[0].present;
    }
    return false;
}

PageValues pageValuesFrom(const BiosInfo& info)
{
    const auto clock = [](const FieldLoc<float>& field) { return field.present ? formatClock(field.value) : ""; };
    const auto number = [](const auto& field) { return field.present ? std::uint32_t{field.value} : 0u; };
    PageValues values;
    values.gpuClock = clock(info.gpuClock);
    values.boostClock = clock(info.boostClock);
    values.memClock = clock(info.memClock);
    for (std::size_t k = 0; k < info.boostTable.size() && k < maxBoostEntryCount; ++k)
        values.boostTable[k] = clock(info.boostTable[k]);
    values.powerDefault = number(info.powerDefault);
    values.powerMax = number(info.powerMax);
    values.powerLimitLo = number(info.powerLimitLo);
    values.powerLimitHi = number(info.powerLimitHi);
    values.fanMin = number(info.fanMin);
    values.fanMax = number(info.fanMax);
    // A decoded voltage is at most 2^32 / 1000, so as a signed number it is
    // the value itself.
    if (info.voltage[0].present)
        values.voltage = std::to_string(static_cast<std::int32_t>(info.voltage[0].value));
    return values;
}

const SaveRule* commitPageValues(PageValues& values, BiosInfo& info, const PageReader& readPage)
{
    for (const EditGroup page : pageOrder) {
        bool read = false;
        for (const SaveRule& rule : saveRules) {
            if (rule.group != page)
                continue;
            if (!read) {
                read = true;
                if (readPage && !readPage(page, values))
                    return &rule;
            }
            if (rule.store != nullptr)
                rule.store(values, info, rule.entry);
            if (rule.applies(info, rule.entry) && !rule.passes(values, info, rule.entry)) {
                reportMessage(rule.message);
                return &rule;
            }
        }
    }
    return nullptr;
}

}  // namespace veltra
