#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "bios_info.h"

namespace veltra {

// The page a value is edited on, in the order they are committed.
enum class EditGroup { Frequency, Boost, Power, Fan, Voltage };

// What the five pages hold at a save: clock and voltage texts as typed, power
// and fan values as the pages' unsigned exchange delivered them.
struct PageValues {
    std::string gpuClock;
    std::string boostClock;
    std::string memClock;
    std::array<std::string, boostEntryCount> boostTable;
    std::uint32_t powerDefault = 0;
    std::uint32_t powerMax = 0;
    std::uint32_t powerLimitLo = 0;
    std::uint32_t powerLimitHi = 0;
    std::uint32_t fanMin = 0;
    std::uint32_t fanMax = 0;
    std::string voltage;
};

// What the pages show right after `info` was loaded: clocks as "%.2f",
// voltage as "%d" of slot 0, power and fan as their numbers.
PageValues pageValuesFrom(const BiosInfo& info);

// One save rule. Walking a rule first stores its values into BiosInfo
// (`store`, may be null when an earlier rule of the group stored them), then
// checks them. `entry` is the boost table entry of rules 4 to 48.
struct SaveRule {
    EditGroup group;
    std::size_t entry;
    void (*store)(const PageValues&, BiosInfo&, std::size_t entry);
    bool (*passes)(const PageValues&, const BiosInfo&, std::size_t entry);
    const char* message;
};

constexpr std::size_t saveRuleCount = 54;
extern const std::array<SaveRule, saveRuleCount> saveRules;

// Called when the walk reaches a page, before its first rule: the window runs
// that page's exchange here and fills its part of `values`. False when the
// page could not be read; the reader has said why.
using PageReader = std::function<bool(EditGroup, PageValues&)>;

// Walks the rules in order: stores each value into `info` before its check,
// stops at the first failing rule, reports its message and returns it. A page
// the reader could not read stops the walk at the page's first rule, with
// nothing of that page stored and nothing more reported. Returns null when
// every value passed.
const SaveRule* commitPageValues(PageValues& values, BiosInfo& info, const PageReader& readPage = {});

}  // namespace veltra
