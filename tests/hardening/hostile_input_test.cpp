// Whatever a user types or pastes into a page edit: the rule's message or a
// refusal, never a crash, an undefined conversion or a value that slips
// through a range check by wrapping around.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr std::int32_t intMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t intMin = std::numeric_limits<std::int32_t>::min();

struct Hostile {
    const char* name;
    std::string text;
    float clock;          // parseClock
    std::int32_t integer; // parseLeadingInt
    bool clockPasses;     // 300..2000
    bool memPasses;       // 1000..2000
    bool voltagePasses;   // 800..1500
};

const std::vector<Hostile>& hostileTexts()
{
    static const std::vector<Hostile> texts = {
        {"overflowing exponent", "1e309", inf, 1, false, false, false},
        {"negative overflow", "-1e309", -inf, -1, false, false, false},
        {"nan", "nan", 0, 0, false, false, false},
        {"inf", "inf", 0, 0, false, false, false},
        {"hexadecimal", "0x200", 0, 0, false, false, false},
        {"twenty digits", "99999999999999999999", 1e20f, intMax, false, false, false},
        {"negative zero", "-0", -0.0f, 0, false, false, false},
        {"blanks only", "   ", 0, 0, false, false, false},
        {"empty", "", 0, 0, false, false, false},
        {"ten thousand nines", std::string(10000, '9'), inf, intMax, false, false, false},
        {"ten thousand characters after a valid number", "1500" + std::string(9996, 'x'), 1500, 1500, true, true, true},
        {"embedded NUL after a valid number", std::string("1200\0" "9999", 9), 1200, 1200, true, true, true},
        {"leading NUL", std::string("\0" "1200", 5), 0, 0, false, false, false},
        {"underflow", "1e-400", 0, 1, false, false, false},
        {"huge exponent", "1e99999999999999999999", inf, 1, false, false, false},
        {"would wrap to a valid voltage", "4294968096", 4294968096.0f, intMax, false, false, false},
        {"below the 32-bit range", "-2147483649", -2147483649.0f, intMin, false, false, false},
        {"just above the ceiling", "2000.0001", 2000.0001f, 2000, false, false, false},
        {"rounds onto the ceiling", "2000.00001", 2000.0f, 2000, true, true, false},
        {"comma as decimal point", "1071,5", 1071.0f, 1071, true, true, true},
    };
    return texts;
}

TEST(HostileText, ConversionsReadTheLeadingNumberOrNothing)
{
    for (const Hostile& h : hostileTexts()) {
        SCOPED_TRACE(h.name);
        const float clock = parseClock(h.text);
        EXPECT_FALSE(std::isnan(clock));
        EXPECT_EQ(clock, h.clock);
        EXPECT_EQ(std::signbit(clock), std::signbit(h.clock));
        EXPECT_EQ(parseLeadingInt(h.text), h.integer);
        // None of them is a whole unsigned number that fits in 32 bits.
        EXPECT_EQ(parseUnsigned32(h.text), std::nullopt);
    }
}

TEST(HostileText, UnsignedExchangeRefusesAllButAPlainNumber)
{
    const struct {
        std::string text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"4294967295", 4294967295u}, {" 42 ", 42u},       {"4294967296", std::nullopt}, {"-1", std::nullopt},
        {"+5", std::nullopt},        {"5 5", std::nullopt}, {"0x10", std::nullopt},     {"1e3", std::nullopt},
        {std::string(10000, '0') + "7", 7u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        EXPECT_EQ(parseUnsigned32(c.text), c.value);
    }
}

class HostileWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        MessageRecorder quiet;
        path = dir.write("card.rom", buildImage(ImageSpec{}));
        ASSERT_TRUE(loadRomFile(path, loaded));
        valid = pageValuesFrom(loaded);
    }

    TempDir dir;
    std::filesystem::path path;
    BiosInfo loaded;
    PageValues valid;
};

// Each hostile text in each clock and voltage edit, everything else valid:
// either the one message of that edit's rule, or a value that saves and
// reads back as what the conversion read.
TEST_F(HostileWalk, EveryEditGivesItsRulesMessageOrSavesWhatWasRead)
{
    struct Edit {
        const char* name;
        std::string PageValues::*text;  // null: a boost entry
        std::size_t entry;
        const char* message;
        bool Hostile::*passes;
        std::function<float(const BiosInfo&)> stored;
    };
    const char* boostMessage = "300Mhz <= Boost Frequency <= 2000Mhz";
    const Edit edits[] = {
        {"GPU clock", &PageValues::gpuClock, 0, "300Mhz <= Default Frequency <= 2000Mhz", &Hostile::clockPasses,
         [](const BiosInfo& i) { return i.gpuClock.value; }},
        {"boost clock", &PageValues::boostClock, 0, boostMessage, &Hostile::clockPasses,
         [](const BiosInfo& i) { return i.boostClock.value; }},
        {"memory clock", &PageValues::memClock, 0, "1000Mhz <= Memory Frequency <= 2000Mhz", &Hostile::memPasses,
         [](const BiosInfo& i) { return i.memClock.value; }},
        {"boost entry 0", nullptr, 0, boostMessage, &Hostile::clockPasses,
         [](const BiosInfo& i) { return i.boostTable[0].value; }},
        {"boost entry 44", nullptr, 44, boostMessage, &Hostile::clockPasses,
         [](const BiosInfo& i) { return i.boostTable[44].value; }},
        {"voltage", &PageValues::voltage, 0, "800mV <= Max Voltage <= 1500mV", &Hostile::voltagePasses,
         [](const BiosInfo& i) { return static_cast<float>(i.voltage[0].value); }},
    };
    for (const Edit& edit : edits) {
        for (const Hostile& h : hostileTexts()) {
            SCOPED_TRACE(std::string(edit.name) + ": " + h.name);
            PageValues values = valid;
            (edit.text ? values.*edit.text : values.boostTable[edit.entry]) = h.text;
            BiosInfo info = loaded;
            MessageRecorder recorder;
            const SaveRule* failed = commitPageValues(values, info, {});

            // Encoding whatever was stored must stay defined behaviour.
            RomImage scratch = romImage();
            encodeClocks(scratch, info);
            encodeBoostTable(scratch, info);
            encodeVoltage(scratch, info);

            if (!(h.*edit.passes)) {
                ASSERT_NE(failed, nullptr);
                EXPECT_EQ(recorder.messages(), std::vector<std::string>{edit.message});
                continue;
            }
            ASSERT_EQ(failed, nullptr);
            EXPECT_TRUE(recorder.messages().empty());
            const float read = edit.text == &PageValues::voltage ? static_cast<float>(h.integer) : h.clock;
            EXPECT_EQ(edit.stored(info), read);
            ASSERT_TRUE(saveRomFile(path, info));
            BiosInfo reloaded;
            ASSERT_TRUE(loadRomFile(path, reloaded));
            EXPECT_EQ(edit.stored(reloaded), read);
        }
    }
}

TEST_F(HostileWalk, ExtremeUnsignedPowerAndFanValuesFailTheirRule)
{
    constexpr std::uint32_t most = std::numeric_limits<std::uint32_t>::max();
    const struct {
        const char* name;
        std::function<void(PageValues&)> edit;
        const char* message;
    } cases[] = {
        {"default above maximum", [](PageValues& v) { v.powerDefault = most; }, "Default Power <= Max Power"},
        {"all four at the top", [](PageValues& v) { v.powerDefault = v.powerMax = v.powerLimitLo = v.powerLimitHi = most; },
         "Power <= 500W"},
        // 4294967196 would wrap to 100 in a byte.
        {"fan maximum that wraps to 100", [](PageValues& v) { v.fanMax = most - 99; }, "10% <= FanSpeed <= 100%"},
        {"both fan values at the top", [](PageValues& v) { v.fanMin = v.fanMax = most; }, "10% <= FanSpeed <= 100%"},
        {"fan minimum that wraps to 10", [](PageValues& v) { v.fanMin = 266; }, "Minimum Fan Speed <= Max Fan Speed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageValues values = valid;
        c.edit(values);
        BiosInfo info = loaded;
        MessageRecorder recorder;
        EXPECT_NE(commitPageValues(values, info, {}), nullptr);
        EXPECT_EQ(recorder.messages(), std::vector<std::string>{c.message});
    }
}

}  // namespace
}  // namespace veltra::testing
