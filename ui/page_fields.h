#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "rom/rules.h"
#include "ui/res/resource_ids.h"
#include "ui/res/strings.h"

namespace veltra {

// One value a page edits: its page, its edit, where the page values hold it
// and what a page's line calls it when the image lacks it. Which value a
// failed rule speaks of comes from the rule (SaveRule::breaking); this table
// turns it into an edit.
struct PageField {
    EditGroup group;
    EditField field;
    int controlId;  // the ladder's first entry's; entry k is controlId + k
    const char* name;
    // Exactly one is set, except for the ladder, whose page holds its texts.
    std::string PageValues::*text;
    std::uint32_t PageValues::*number;
};

// In the order of the pages and, on each, of its rules.
inline constexpr std::array pageFields = {
    PageField{EditGroup::Frequency, EditField::GpuClock, res::gpuClockEditId, res::defaultFrequencyName,
              &PageValues::gpuClock, nullptr},
    PageField{EditGroup::Frequency, EditField::BoostClock, res::boostClockEditId, res::boostFrequencyName,
              &PageValues::boostClock, nullptr},
    PageField{EditGroup::Frequency, EditField::MemClock, res::memClockEditId, res::memoryFrequencyName,
              &PageValues::memClock, nullptr},
    PageField{EditGroup::Boost, EditField::BoostEntry, res::firstBoostEditId, res::boostTableName, nullptr, nullptr},
    PageField{EditGroup::Power, EditField::PowerDefault, res::powerDefaultEditId, res::defaultPowerName, nullptr,
              &PageValues::powerDefault},
    PageField{EditGroup::Power, EditField::PowerMax, res::powerMaxEditId, res::maxPowerName, nullptr,
              &PageValues::powerMax},
    PageField{EditGroup::Power, EditField::PowerLimitLo, res::powerLimitLoEditId, res::powerLimitLoName, nullptr,
              &PageValues::powerLimitLo},
    PageField{EditGroup::Power, EditField::PowerLimitHi, res::powerLimitHiEditId, res::powerLimitHiName, nullptr,
              &PageValues::powerLimitHi},
    PageField{EditGroup::Fan, EditField::FanMin, res::fanMinEditId, res::fanSpeedRangeName, nullptr,
              &PageValues::fanMin},
    PageField{EditGroup::Fan, EditField::FanMax, res::fanMaxEditId, res::fanSpeedRangeName, nullptr,
              &PageValues::fanMax},
    PageField{EditGroup::Voltage, EditField::Voltage, res::voltageEditId, res::maxVoltageName, &PageValues::voltage,
              nullptr},
};

// The table's row of `field`.
const PageField& pageFieldOf(EditField field);

// "This bios has no A, B and C!" for the names in order, a name repeated
// just after itself said once; empty for none.
std::string lackingLine(const std::vector<const char*>& names);

}  // namespace veltra
