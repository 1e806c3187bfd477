// The text conversions and the save rules over arbitrary page texts. The
// conversions are checked against the C library's readers in the "C" locale
// (which this process never leaves), with the differences the editor wants:
// no hexadecimal, no inf, no nan.
#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "fuzz/fuzz_support.h"
#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::fuzz {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

float expectedClock(const std::string& text)
{
    const char* at = text.c_str();  // the C reader stops at a NUL, as ours must
    while (isBlank(*at))
        ++at;
    const char* body = at + (*at == '+' || *at == '-');
    if ((body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) || std::isalpha(static_cast<unsigned char>(body[0])))
        return 0.0f;
    const double value = std::strtod(text.c_str(), nullptr);
    // Round to nearest, overflow to infinity, without the undefined cast.
    if (std::fabs(value) >= 0x1.ffffffp127)
        return value < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    if (std::fabs(value) > FLT_MAX)
        return value < 0 ? -FLT_MAX : FLT_MAX;
    return static_cast<float>(value);
}

std::int32_t expectedInt(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::optional<std::uint32_t> expectedUnsigned(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.size() > 10 || (text.size() == 10 && text > "4294967295"))
        return std::nullopt;
    return static_cast<std::uint32_t>(std::stoull(std::string(text)));
}

void checkConversions(const std::string& text)
{
    const float clock = parseClock(text);
    check(!std::isnan(clock), "a clock is never NaN");
    check(clock == expectedClock(text), "parseClock reads the leading decimal number");
    check(parseLeadingInt(text) == expectedInt(text), "parseLeadingInt reads the leading integer, saturated");
    check(parseUnsigned32(text) == expectedUnsigned(text), "parseUnsigned32 takes a whole 32-bit number only");

    char printed[64];
    std::snprintf(printed, sizeof printed, "%.2f", static_cast<double>(clock));
    const std::string shown = formatClock(clock);
    check(shown == printed, "formatClock is %.2f");
    if (std::isfinite(clock) && std::fabs(clock) < 65536.0f && std::trunc(clock * 2) == clock * 2)
        check(parseClock(shown) == clock, "a half-MHz clock survives being shown and read back");
}

bool within(float mhz, float lowest, float highest)
{
    return mhz >= lowest && mhz <= highest;
}

// The rules as the editor promises them for the three boards' 45-entry
// ladder, to walk beside the table.
std::size_t expectedFailure(const PageValues& v)
{
    std::size_t rule = 0;
    for (const std::string* clock : {&v.gpuClock, &v.boostClock}) {
        if (!within(parseClock(*clock), 300, 2000))
            return rule;
        ++rule;
    }
    if (!within(parseClock(v.memClock), 1000, 2000))
        return rule;
    ++rule;
    for (std::size_t k = 0; k < boostEntryCount; ++k) {
        if (!within(parseClock(v.boostTable[k]), 300, 2000))
            return rule;
        ++rule;
    }
    const bool checks[] = {
        v.powerDefault <= v.powerMax,
        v.powerLimitLo <= v.powerLimitHi,
        v.powerDefault <= 500 && v.powerMax <= 500 && v.powerLimitLo <= 500 && v.powerLimitHi <= 500,
        v.fanMin <= v.fanMax,
        v.fanMin >= 10 && v.fanMax <= 100,
        parseLeadingInt(v.voltage) >= 800 && parseLeadingInt(v.voltage) <= 1500,
    };
    for (bool passes : checks) {
        if (!passes)
            return rule;
        ++rule;
    }
    return saveRules.size();
}

const BiosInfo& loadedInfo()
{
    static const BiosInfo info = [] {
        testing::MessageRecorder quiet;
        BiosInfo loaded;
        const auto bytes = testing::buildImage(testing::ImageSpec{});
        check(loadRomBytes(bytes.data(), bytes.size(), loaded), "the base image loads");
        return loaded;
    }();
    return info;
}

}  // namespace

int conversionsTarget(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string_view> lines = splitLines({reinterpret_cast<const char*>(data), size});
    auto line = [&](std::size_t i) { return i < lines.size() ? std::string(lines[i]) : std::string(); };
    for (std::string_view text : lines)
        checkConversions(std::string(text));

    // Lines in commit order: three clocks, 45 boost entries, the voltage, then
    // the six power and fan values (a refused one keeps the loaded value, as
    // the pages' exchange does).
    const BiosInfo& base = loadedInfo();
    PageValues values = pageValuesFrom(base);
    std::size_t at = 0;
    values.gpuClock = line(at++);
    values.boostClock = line(at++);
    values.memClock = line(at++);
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        values.boostTable[k] = line(at++);
    values.voltage = line(at++);
    for (std::uint32_t* member : {&values.powerDefault, &values.powerMax, &values.powerLimitLo, &values.powerLimitHi,
                                  &values.fanMin, &values.fanMax})
        if (const auto number = parseUnsigned32(line(at++)))
            *member = *number;

    BiosInfo info = base;
    testing::MessageRecorder recorder;
    const SaveRule* failed = commitPageValues(values, info, {});
    const std::size_t failedAt = failed ? static_cast<std::size_t>(failed - saveRules.data()) : saveRules.size();
    check(failedAt == expectedFailure(values), "the walk stops at the first rule that fails");
    check(recorder.messages().size() == (failed ? 1u : 0u), "a failed walk reports once, a passed one not at all");
    if (failed)
        check(recorder.messages().front() == failed->message, "the message is the failing rule's");
    // Boost entries after a failing one keep their values.
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        if (failedAt < 3 + k)
            check(info.boostTable[k].value == base.boostTable[k].value, "a later value is not stored");

    // Encoding whatever was stored stays defined; values that passed come
    // back as the next lower half-MHz step. Every execution encodes the same
    // located bytes, so one image serves them all.
    static RomImage image = romImage();
    encodeClocks(image, info);
    encodeBoostTable(image, info);
    encodePower(image, info);
    encodeFan(image, info);
    encodeVoltage(image, info);
    if (!failed) {
        const float gpu = decodeClockWord(image.readU16(info.gpuClock.offset));
        check(gpu <= info.gpuClock.value && gpu > info.gpuClock.value - 0.5f, "the GPU clock saves truncated");
        const float mem = decodeMemClockWord(image.readU16(info.memClock.offset));
        check(mem <= info.memClock.value + 1.0f / 512 && mem > info.memClock.value - 0.5f,
              "the memory clock saves truncated");
        for (const auto& entry : info.boostTable) {
            const float saved = decodeClockWord(image.readU16(entry.offset));
            check(saved <= entry.value && saved > entry.value - 0.5f, "a boost entry saves truncated");
        }
        check(image.readU32(info.voltage[5].offset) == info.voltage[0].value * 10000, "the voltage saves whole");
    }
    return 0;
}

}  // namespace veltra::fuzz

VELTRA_FUZZ_ENTRY(conversionsTarget)
