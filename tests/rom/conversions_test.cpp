#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>

#include "rom/rom.h"

namespace veltra {
namespace {

constexpr float inf = std::numeric_limits<float>::infinity();

struct ClockCase {
    std::string text;
    float expected;
};

const std::vector<ClockCase>& clockCases()
{
    static const std::vector<ClockCase> cases = {
        {"1071.7", 1071.7f}, {"1500abc", 1500.0f}, {"  \t1500", 1500.0f}, {"", 0.0f}, {"abc", 0.0f},
        {"0x200", 0.0f}, {"inf", 0.0f}, {"nan", 0.0f}, {"-5", -5.0f}, {"+7.5", 7.5f}, {"1e3", 1000.0f},
        {"1e", 1.0f}, {"2E+", 2.0f}, {".5", 0.5f}, {"5.", 5.0f}, {".", 0.0f}, {"-", 0.0f}, {"1071,5", 1071.0f},
        {"2000.00001", 2000.0f}, {"299.99", 299.99f}, {"1e309", inf}, {"-1e309", -inf}, {"0.5e400", inf},
        {"1e-400", 0.0f}, {"1e39", inf}, {"3.4028235e38", 3.4028235e38f}, {std::string(10000, '9'), inf},
        {"0." + std::string(400, '0') + "1", 0.0f}, {std::string("12\0" "34", 5), 12.0f},
    };
    return cases;
}

TEST(Conversions, ClockTextsReadTheirLeadingDecimalNumber)
{
    for (const ClockCase& c : clockCases())
        EXPECT_EQ(parseClock(c.text), c.expected) << '"' << c.text.substr(0, 20) << '"';
    EXPECT_TRUE(std::signbit(parseClock("-0")));
}

TEST(Conversions, VoltageTextsReadTheirLeadingInteger)
{
    const struct {
        std::string text;
        std::int32_t expected;
    } cases[] = {
        {"1200.7", 1200}, {"1500mV", 1500}, {"  1500mV", 1500}, {"-5", -5}, {"+12", 12}, {"", 0}, {"abc", 0},
        {"0x200", 0}, {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"99999999999999999999", 2147483647}, {"-99999999999999999999", -2147483647 - 1}, {"1e5", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseLeadingInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Conversions, PowerAndFanTextsMustBeWholeUnsignedNumbers)
{
    const struct {
        std::string text;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {"0", 0u}, {"170", 170u}, {" 12 ", 12u}, {"4294967295", 4294967295u}, {"4294967296", std::nullopt},
        {"-1", std::nullopt}, {"+1", std::nullopt}, {"12abc", std::nullopt}, {"", std::nullopt},
        {"   ", std::nullopt}, {"abc", std::nullopt}, {"1.5", std::nullopt}, {"1 2", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseUnsigned32(c.text), c.expected) << '"' << c.text << '"';
}

const struct {
    float mhz;
    const char* text;
} formatCases[] = {
    {1071.5f, "1071.50"}, {1006.0f, "1006.00"}, {0.5f, "0.50"}, {-2048.0f, "-2048.00"}, {1058.75f, "1058.75"},
};

TEST(Conversions, ClocksShowWithTwoDecimals)
{
    for (const auto& c : formatCases)
        EXPECT_EQ(formatClock(c.mhz), c.text);
}

// The user's locale must change nothing: a dot is the only decimal point.
TEST(Conversions, ACommaDecimalLocaleChangesNothing)
{
#ifdef _WIN32
    // The C library's locale is the one that formats and parses numbers
    // there; the C++ library knows only "C".
    ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
    const std::locale previous = std::locale::global(std::locale::classic());
#else
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the comma locale was not generated";
    const std::locale previous = std::locale::global(std::locale("de_DE.UTF-8"));
#endif
    for (const auto& c : formatCases)
        EXPECT_EQ(formatClock(c.mhz), c.text);
    for (const ClockCase& c : clockCases())
        EXPECT_EQ(parseClock(c.text), c.expected) << '"' << c.text.substr(0, 20) << '"';
    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace veltra
