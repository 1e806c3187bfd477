#include <gtest/gtest.h>

#include <functional>

#include "rom/rom.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

PageValues validValues()
{
    PageValues v;
    v.gpuClock = "1006.00";
    v.boostClock = "1058.50";
    v.memClock = "1502.50";
    v.boostTable.fill("1006.00");
    v.powerDefault = 170;
    v.powerMax = 225;
    v.powerLimitLo = 150;
    v.powerLimitHi = 250;
    v.fanMin = 30;
    v.fanMax = 85;
    v.voltage = "1175";
    return v;
}

struct Outcome {
    const SaveRule* failed;
    std::vector<std::string> messages;
};

// A board of the generation without built-in locations, its ladder of
// `ladder` entries; `adjust` leaves out what its tables do not hold.
BiosInfo otherBoard(std::size_t ladder = maxBoostEntryCount, const std::function<void(BiosInfo&)>& adjust = {})
{
    BiosInfo info;
    info.vendorId = 0x10DE;
    info.deviceId = 0x1184;
    info.boostTable.resize(ladder);
    if (adjust)
        adjust(info);
    return info;
}

Outcome commit(PageValues values, BiosInfo& info)
{
    testing::MessageRecorder recorder;
    const SaveRule* failed = commitPageValues(values, info);
    return {failed, recorder.messages()};
}

TEST(SaveRules, AreFiftyFourInTheirCheckOrder)
{
    EXPECT_STREQ(saveRules[0].message, "300Mhz <= Default Frequency <= 2000Mhz");
    EXPECT_STREQ(saveRules[1].message, "300Mhz <= Boost Frequency <= 2000Mhz");
    EXPECT_STREQ(saveRules[2].message, "1000Mhz <= Memory Frequency <= 2000Mhz");
    for (std::size_t k = 0; k < boostEntryCount; ++k) {
        EXPECT_EQ(saveRules[3 + k].group, EditGroup::Boost);
        EXPECT_EQ(saveRules[3 + k].entry, k);
        EXPECT_STREQ(saveRules[3 + k].message, "300Mhz <= Boost Frequency <= 2000Mhz");
    }
    EXPECT_STREQ(saveRules[48].message, "Default Power <= Max Power");
    EXPECT_STREQ(saveRules[49].message, "Power Limit Lo <= Power Limit Hi");
    EXPECT_STREQ(saveRules[50].message, "Power <= 500W");
    EXPECT_STREQ(saveRules[51].message, "Minimum Fan Speed <= Max Fan Speed");
    EXPECT_STREQ(saveRules[52].message, "10% <= FanSpeed <= 100%");
    EXPECT_STREQ(saveRules[53].message, "800mV <= Max Voltage <= 1500mV");
}

// The other boards' rules follow, so that the three boards' numbers stay.
TEST(SaveRules, TheLongerLaddersAndTheOtherBoardsMemoryFollow)
{
    ASSERT_EQ(saveRules.size(), 74u);
    for (std::size_t k = boostEntryCount; k < maxBoostEntryCount; ++k) {
        const SaveRule& rule = saveRules[54 + k - boostEntryCount];
        EXPECT_EQ(rule.group, EditGroup::Boost);
        EXPECT_EQ(rule.entry, k);
        EXPECT_STREQ(rule.message, "300Mhz <= Boost Frequency <= 2000Mhz");
    }
    EXPECT_EQ(saveRules[73].group, EditGroup::Frequency);
    EXPECT_STREQ(saveRules[73].message, "300Mhz <= Memory Frequency <= 2000Mhz");
}

// Each case breaks one rule with every earlier value valid: exactly that
// rule's message, and nothing more.
TEST(SaveRules, TheFirstBrokenRuleIsReportedAlone)
{
    using F = EditField;
    struct Case {
        std::size_t rule;
        std::function<void(PageValues&)> bend;
        EditField breaking;  // where the window puts the focus
        BiosInfo info = {};  // the three boards' rules unless given
    };
    std::vector<Case> cases = {
        {0, [](PageValues& v) { v.gpuClock = "299.99"; }, F::GpuClock},
        {0, [](PageValues& v) { v.gpuClock = "2000.01"; }, F::GpuClock},
        {0, [](PageValues& v) { v.gpuClock = ""; }, F::GpuClock},
        {0, [](PageValues& v) { v.gpuClock = "1e309"; }, F::GpuClock},
        {1, [](PageValues& v) { v.boostClock = "abc"; }, F::BoostClock},
        {2, [](PageValues& v) { v.memClock = "999.99"; }, F::MemClock},
        {2, [](PageValues& v) { v.memClock = "2001"; }, F::MemClock},
        {48, [](PageValues& v) { v.powerDefault = 600; v.powerMax = 500; }, F::PowerDefault},
        {49, [](PageValues& v) { v.powerLimitLo = 200; v.powerLimitHi = 150; }, F::PowerLimitLo},
        {50, [](PageValues& v) { v.powerDefault = 450; v.powerMax = 501; }, F::PowerMax},
        {50, [](PageValues& v) { v.powerLimitHi = 4294967295u; }, F::PowerLimitHi},
        {51, [](PageValues& v) { v.fanMin = 60; v.fanMax = 50; }, F::FanMin},
        {52, [](PageValues& v) { v.fanMin = 5; v.fanMax = 50; }, F::FanMin},
        {52, [](PageValues& v) { v.fanMin = 50; v.fanMax = 300; }, F::FanMax},
        {52, [](PageValues& v) { v.fanMin = 50; v.fanMax = 356; }, F::FanMax},  // byte 100, still refused
        {53, [](PageValues& v) { v.voltage = "799"; }, F::Voltage},
        {53, [](PageValues& v) { v.voltage = "1501"; }, F::Voltage},
        {53, [](PageValues& v) { v.voltage = "-5"; }, F::Voltage},
        {53, [](PageValues& v) { v.voltage = ""; }, F::Voltage},
        {53, [](PageValues& v) { v.voltage = "99999999999999999999"; }, F::Voltage},
        {53, [](PageValues& v) { v.voltage = "-4294966096"; }, F::Voltage},  // would wrap to 1200 as unsigned
        // The other boards: their memory from 300 MHz, their ladder to 64 entries.
        {73, [](PageValues& v) { v.memClock = "299.99"; }, F::MemClock, otherBoard()},
        {73, [](PageValues& v) { v.memClock = "2000.01"; }, F::MemClock, otherBoard()},
        {72, [](PageValues& v) { v.boostTable[63] = "250"; }, F::BoostEntry, otherBoard()},
        {3 + 22, [](PageValues& v) { v.boostTable[22] = "abc"; }, F::BoostEntry, otherBoard(23)},
        // The power ceiling looks only at the values the image holds.
        {50, [](PageValues& v) { v.powerMax = 501; v.powerLimitHi = 501; }, F::PowerMax,
         otherBoard(0, [](BiosInfo& i) { i.powerMax = i.powerDefault = absentField<std::uint32_t>(); })},
    };
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        cases.push_back({3 + k, [k](PageValues& v) { v.boostTable[k] = k % 2 ? "250" : "2000.5"; }, F::BoostEntry});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        PageValues values = validValues();
        c.bend(values);
        BiosInfo info = c.info;
        const Outcome outcome = commit(values, info);
        EXPECT_EQ(outcome.failed, &saveRules[c.rule]);
        EXPECT_EQ(outcome.messages, std::vector<std::string>{saveRules[c.rule].message});
        if (outcome.failed != nullptr) {
            EXPECT_EQ(outcome.failed->breaking(values, outcome.failed->entry), c.breaking);
        }
    }
}

TEST(SaveRules, TheBoundsThemselvesPass)
{
    const struct {
        std::function<void(PageValues&)> bend;
        BiosInfo info = {};
    } cases[] = {
        {[](PageValues& v) { v.gpuClock = "300"; v.boostClock = "2000"; v.memClock = "1000"; }},
        {[](PageValues& v) { v.gpuClock = "2000.00001"; v.memClock = "2000"; }},
        {[](PageValues& v) { v.gpuClock = "1500abc"; }},
        {[](PageValues& v) { v.boostTable.fill("300"); v.boostTable[44] = "2000"; }},
        {[](PageValues& v) { v.powerDefault = v.powerMax = 300; v.powerLimitLo = v.powerLimitHi = 500; }},
        {[](PageValues& v) { v.fanMin = 10; v.fanMax = 100; }},
        {[](PageValues& v) { v.fanMin = v.fanMax = 50; }},
        {[](PageValues& v) { v.voltage = "800"; }},
        {[](PageValues& v) { v.voltage = "1500mV"; }},
        {[](PageValues& v) { v.voltage = "1200.7"; }},
        // A DDR3 board's stock memory clock must stay savable.
        {[](PageValues& v) { v.memClock = "300"; }, otherBoard()},
        {[](PageValues& v) { v.memClock = "891.00"; }, otherBoard()},
        {[](PageValues& v) { v.boostTable.fill("300"); v.boostTable[63] = "2000"; }, otherBoard()},
    };
    for (const auto& c : cases) {
        PageValues values = validValues();
        c.bend(values);
        BiosInfo info = c.info;
        const Outcome outcome = commit(values, info);
        EXPECT_EQ(outcome.failed, nullptr) << outcome.failed->message;
        EXPECT_TRUE(outcome.messages.empty());
    }
}

// A value the image does not hold is neither checked nor stored, whatever
// its page holds (an absent value's edit is empty, or left over).
TEST(SaveRules, ARuleOfAnAbsentValueIsSkipped)
{
    const struct {
        const char* what;
        std::function<void(BiosInfo&)> leaveOut;
        std::function<void(PageValues&)> bend;
    } cases[] = {
        {"GPU clock", [](BiosInfo& i) { i.gpuClock = absentField<float>(); },
         [](PageValues& v) { v.gpuClock = "2500"; }},
        {"boost clock", [](BiosInfo& i) { i.boostClock = absentField<float>(); },
         [](PageValues& v) { v.boostClock = "abc"; }},
        {"memory clock", [](BiosInfo& i) { static_cast<FieldLoc<float>&>(i.memClock) = absentField<float>(); },
         [](PageValues& v) { v.memClock = "10"; }},
        {"ladder past its 23 entries", [](BiosInfo& i) { i.boostTable.resize(23); },
         [](PageValues& v) { std::fill(v.boostTable.begin() + 23, v.boostTable.end(), "abc"); }},
        {"no ladder", [](BiosInfo& i) { i.boostTable.clear(); }, [](PageValues& v) { v.boostTable.fill(""); }},
        {"default and maximum power",
         [](BiosInfo& i) { i.powerDefault = i.powerMax = absentField<std::uint32_t>(); },
         [](PageValues& v) { v.powerDefault = 900; v.powerMax = 800; }},
        {"every power value",
         [](BiosInfo& i) {
             i.powerDefault = i.powerMax = i.powerLimitLo = i.powerLimitHi = absentField<std::uint32_t>();
         },
         [](PageValues& v) { v.powerDefault = v.powerMax = v.powerLimitHi = 0; v.powerLimitLo = 999; }},
        {"fan", [](BiosInfo& i) { i.fanMin = i.fanMax = absentField<std::uint8_t>(); },
         [](PageValues& v) { v.fanMin = 0; v.fanMax = 0; }},
        {"voltage", [](BiosInfo& i) { i.voltage.fill(absentField<std::uint32_t>()); },
         [](PageValues& v) { v.voltage = ""; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BiosInfo info = otherBoard(maxBoostEntryCount, c.leaveOut);
        const BiosInfo before = info;
        PageValues values = validValues();
        c.bend(values);
        const Outcome outcome = commit(values, info);
        EXPECT_EQ(outcome.failed, nullptr) << outcome.failed->message;
        EXPECT_TRUE(outcome.messages.empty());
        // Nothing of an absent value was stored.
        const auto unchanged = [](const auto& now, const auto& was) { return now.present || now.value == was.value; };
        EXPECT_TRUE(unchanged(info.gpuClock, before.gpuClock) && unchanged(info.boostClock, before.boostClock) &&
                    unchanged(info.memClock, before.memClock) && unchanged(info.powerDefault, before.powerDefault) &&
                    unchanged(info.powerMax, before.powerMax) && unchanged(info.powerLimitLo, before.powerLimitLo) &&
                    unchanged(info.powerLimitHi, before.powerLimitHi) && unchanged(info.fanMin, before.fanMin) &&
                    unchanged(info.fanMax, before.fanMax) && unchanged(info.voltage[0], before.voltage[0]));
        EXPECT_EQ(info.boostTable.size(), before.boostTable.size());
    }
}

TEST(SaveRules, ValuesAreStoredBeforeTheirCheckAndLaterOnesAreNotRead)
{
    PageValues values = validValues();
    values.boostTable[17] = "250";
    BiosInfo info;
    for (auto& entry : info.boostTable)
        entry.value = 7.0f;
    info.powerDefault.value = 77;
    info.voltage[0].value = 7;

    std::vector<EditGroup> pagesRead;
    testing::MessageRecorder recorder;
    const SaveRule* failed =
        commitPageValues(values, info, [&](EditGroup page, PageValues&) {
            pagesRead.push_back(page);
            return true;
        });

    EXPECT_EQ(failed, &saveRules[3 + 17]);
    EXPECT_EQ(pagesRead, (std::vector<EditGroup>{EditGroup::Frequency, EditGroup::Boost}));
    EXPECT_EQ(info.gpuClock.value, 1006.0f);
    EXPECT_EQ(info.memClock.value, 1502.5f);
    for (std::size_t k = 0; k < 17; ++k)
        EXPECT_EQ(info.boostTable[k].value, 1006.0f);
    EXPECT_EQ(info.boostTable[17].value, 250.0f);
    for (std::size_t k = 18; k < boostEntryCount; ++k)
        EXPECT_EQ(info.boostTable[k].value, 7.0f);
    EXPECT_EQ(info.powerDefault.value, 77u);
    EXPECT_EQ(info.voltage[0].value, 7u);
}

TEST(SaveRules, APagesValuesAreAllStoredBeforeItsFirstCheck)
{
    PageValues values = validValues();
    values.powerDefault = 600;
    values.powerMax = 500;
    values.powerLimitLo = 11;
    values.powerLimitHi = 22;
    BiosInfo info;
    commit(values, info);
    EXPECT_EQ(info.powerDefault.value, 600u);
    EXPECT_EQ(info.powerLimitHi.value, 22u);

    values = validValues();
    values.fanMin = 300;  // low byte 44
    values.fanMax = 356;  // low byte 100
    commit(values, info);
    EXPECT_EQ(info.fanMin.value, 44);
    EXPECT_EQ(info.fanMax.value, 100);
}

// The reader fills each page's values when the walk reaches it, as the
// window's exchange does.
TEST(SaveRules, EachPageIsReadWhenTheWalkReachesIt)
{
    PageValues values;
    BiosInfo info;
    std::vector<EditGroup> pagesRead;
    const SaveRule* failed = commitPageValues(values, info, [&](EditGroup page, PageValues& v) {
        pagesRead.push_back(page);
        const PageValues valid = validValues();
        switch (page) {
        case EditGroup::Frequency: v.gpuClock = valid.gpuClock; v.boostClock = valid.boostClock; v.memClock = valid.memClock; break;
        case EditGroup::Boost: v.boostTable = valid.boostTable; break;
        case EditGroup::Power: v.powerMax = 500; break;
        case EditGroup::Fan: v.fanMin = 10; v.fanMax = 10; break;
        case EditGroup::Voltage: v.voltage = "1000"; break;
        }
        return true;
    });
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(pagesRead, (std::vector<EditGroup>{EditGroup::Frequency, EditGroup::Boost, EditGroup::Power,
                                                 EditGroup::Fan, EditGroup::Voltage}));
    EXPECT_EQ(info.voltage[0].value, 1000u);
}

// A page the window could not read (a number its exchange refused) ends the
// walk: nothing of it or after it is stored, and no rule speaks.
TEST(SaveRules, APageTheReaderRefusesEndsTheWalkSilently)
{
    BiosInfo info;
    info.powerDefault.value = 77;
    info.voltage[0].value = 7;
    std::vector<EditGroup> pagesRead;
    testing::MessageRecorder recorder;
    PageValues values = validValues();
    values.powerDefault = 999;
    const SaveRule* failed = commitPageValues(values, info, [&](EditGroup page, PageValues&) {
        pagesRead.push_back(page);
        return page != EditGroup::Power;
    });
    EXPECT_EQ(failed, &saveRules[3 + boostEntryCount]);
    EXPECT_EQ(pagesRead, (std::vector<EditGroup>{EditGroup::Frequency, EditGroup::Boost, EditGroup::Power}));
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(info.gpuClock.value, 1006.0f);
    EXPECT_EQ(info.powerDefault.value, 77u);
    EXPECT_EQ(info.voltage[0].value, 7u);
}

}  // namespace
}  // namespace veltra
