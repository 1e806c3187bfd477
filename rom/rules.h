#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "bios_info.h"

namespace veltra {

// The page a value is edited on, in the order they are committed.
enum class EditGroup { Frequency, Boost, Power, Fan, Voltage };

// One value the pages edit; the boost ladder's entries are one field with an
// entry number.
enum class EditField {
    GpuClock,
    BoostClock,
    MemClock,
    BoostEntry,
    PowerDefault,
    PowerMax,
    PowerLimitLo,
    PowerLimitHi,
    FanMin,
    FanMax,
    Voltage,
};

// Whether the loaded image holds the value: a field its tables do not
// define, or a boost entry past its ladder, is absent.
bool isPresent(const BiosInfo& info, EditField field, std::size_t entry = 0);

// What the five pages hold at a save: clock and voltage texts as typed, power
// and fan values as the pages' unsigned exchange delivered them. The boost
// texts past the image's ladder are not used.
struct PageValues {
    std::string gpuClock;
    std::string boostClock;
    std::string memClock;
    std::array<std::string, maxBoostEntryCount> boostTable;
    std::uint32_t powerDefault = 0;
    std::uint32_t powerMax = 0;
    std::uint32_t powerLimitLo = 0;
    std::uint32_t powerLimitHi = 0;
    std::uint32_t fanMin = 0;
    std::uint32_t fanMax = 0;
    std::string voltage;
};

// What the pages show right after `info` was loaded: clocks as "%.2f",
// voltage as "%d" of slot 0, power and fan as their numbers; an absent
// value's text is empty and its number 0.
PageValues pageValuesFrom(const BiosInfo& info);

// One save rule. Walking a rule first stores its values into BiosInfo
// (`store`, may be null when an earlier rule of the group stored them; it
// stores only values the image has), then checks them if the rule applies.
// `entry` is the boost table entry of the boost rules.
struct SaveRule {
    EditGroup group;
    std::size_t entry;
    void (*store)(const PageValues&, BiosInfo&, std::size_t entry);
    bool (*passes)(const PageValues&, const BiosInfo&, std::size_t entry);
    const char* message;
    // Whether the rule is checked for this image: not when the values it
    // checks are absent, nor on boards it is not written for.
    bool (*applies)(const BiosInfo&, std::size_t entry);
    // The value the message speaks of, once the rule has failed.
    EditField (*breaking)(const PageValues&, std::size_t entry);
};

// Rules 0 to 53 are the three boards' rules in their check order. The boost
// entries past the 45th and the memory rule of the other boards follow them,
// so that those numbers stay; the walk takes the rules page by page.
constexpr std::size_t saveRuleCount = 54 + (maxBoostEntryCount - boostEntryCount) + 1;
extern const std::array<SaveRule, saveRuleCount> saveRules;

// Called when the walk reaches a page, before its first rule: the window runs
// that page's exchange here and fills its part of `values`. False when the
// page could not be read; the reader has said why.
using PageReader = std::function<bool(EditGroup, PageValues&)>;

// Walks the rules page by page, each page's in their order: stores each value
// into `info` before its check, stops at the first failing rule, reports its
// message and returns it. A page the reader could not read stops the walk
// at the page's first rule, with nothing of that page stored and nothing
// more reported. Returns null when every value passed.
const SaveRule* commitPageValues(PageValues& values, BiosInfo& info, const PageReader& readPage = {});

}  // namespace veltra
