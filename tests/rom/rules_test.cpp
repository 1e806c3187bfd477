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

// Each case breaks one rule with every earlier value valid: exactly that
// rule's message, and nothing more.
TEST(SaveRules, TheFirstBrokenRuleIsReportedAlone)
{
    struct Case {
        std::size_t rule;
        std::function<void(PageValues&)> bend;
    };
    std::vector<Case> cases = {
        {0, [](PageValues& v) { v.gpuClock = "299.99"; }},
        {0, [](PageValues& v) { v.gpuClock = "2000.01"; }},
        {0, [](PageValues& v) { v.gpuClock = ""; }},
        {0, [](PageValues& v) { v.gpuClock = "1e309"; }},
        {1, [](PageValues& v) { v.boostClock = "abc"; }},
        {2, [](PageValues& v) { v.memClock = "999.99"; }},
        {2, [](PageValues& v) { v.memClock = "2001"; }},
        {48, [](PageValues& v) { v.powerDefault = 600; v.powerMax = 500; }},
        {49, [](PageValues& v) { v.powerLimitLo = 200; v.powerLimitHi = 150; }},
        {50, [](PageValues& v) { v.powerDefault = 450; v.powerMax = 501; }},
        {50, [](PageValues& v) { v.powerLimitHi = 4294967295u; }},
        {51, [](PageValues& v) { v.fanMin = 60; v.fanMax = 50; }},
        {52, [](PageValues& v) { v.fanMin = 5; v.fanMax = 50; }},
        {52, [](PageValues& v) { v.fanMin = 50; v.fanMax = 300; }},
        {52, [](PageValues& v) { v.fanMin = 50; v.fanMax = 356; }},  // byte 100, still refused
        {53, [](PageValues& v) { v.voltage = "799"; }},
        {53, [](PageValues& v) { v.voltage = "1501"; }},
        {53, [](PageValues& v) { v.voltage = "-5"; }},
        {53, [](PageValues& v) { v.voltage = ""; }},
        {53, [](PageValues& v) { v.voltage = "99999999999999999999"; }},
        {53, [](PageValues& v) { v.voltage = "-4294966096"; }},  // would wrap to 1200 as unsigned
    };
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        cases.push_back({3 + k, [k](PageValues& v) { v.boostTable[k] = k % 2 ? "250" : "2000.5"; }});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        PageValues values = validValues();
        c.bend(values);
        BiosInfo info;
        const Outcome outcome = commit(values, info);
        EXPECT_EQ(outcome.failed, &saveRules[c.rule]);
        EXPECT_EQ(outcome.messages, std::vector<std::string>{saveRules[c.rule].message});
    }
}

TEST(SaveRules, TheBoundsThemselvesPass)
{
    const std::vector<std::function<void(PageValues&)>> cases = {
        [](PageValues& v) { v.gpuClock = "300"; v.boostClock = "2000"; v.memClock = "1000"; },
        [](PageValues& v) { v.gpuClock = "2000.00001"; v.memClock = "2000"; },
        [](PageValues& v) { v.gpuClock = "1500abc"; },
        [](PageValues& v) { v.boostTable.fill("300"); v.boostTable[44] = "2000"; },
        [](PageValues& v) { v.powerDefault = v.powerMax = 300; v.powerLimitLo = v.powerLimitHi = 500; },
        [](PageValues& v) { v.fanMin = 10; v.fanMax = 100; },
        [](PageValues& v) { v.fanMin = v.fanMax = 50; },
        [](PageValues& v) { v.voltage = "800"; },
        [](PageValues& v) { v.voltage = "1500mV"; },
        [](PageValues& v) { v.voltage = "1200.7"; },
    };
    for (const auto& bend : cases) {
        PageValues values = validValues();
        bend(values);
        BiosInfo info;
        const Outcome outcome = commit(values, info);
        EXPECT_EQ(outcome.failed, nullptr) << outcome.failed->message;
        EXPECT_TRUE(outcome.messages.empty());
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
