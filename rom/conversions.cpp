#include "conversions.h"

#include <cfloat>
#include <charconv>
#include <algorithm>
#include <cmath>
#include <limits>

namespace veltra {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

std::size_t skipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Rounds to single precision the way the hardware would, without the
// undefined behaviour of converting a double beyond float's range.
float toSingle(double value)
{
    // Halfway between FLT_MAX and the next power of two: from there on,
    // rounding to nearest gives infinity.
    constexpr double overflowEdge = 0x1.ffffffp127;
    if (std::fabs(value) >= overflowEdge)
        return std::copysign(std::numeric_limits<float>::infinity(), static_cast<float>(std::signbit(value) ? -1 : 1));
    if (std::fabs(value) > FLT_MAX)
        return std::copysign(FLT_MAX, static_cast<float>(std::signbit(value) ? -1 : 1));
    return static_cast<float>(value);
}

// The exponent part of a number as read, saturated far beyond any double.
long exponentOf(std::string_view number)
{
    const std::size_t e = number.find_first_of("eE");
    if (e == std::string_view::npos)
        return 0;
    std::size_t at = e + 1;
    const bool negative = number[at] == '-';
    if (number[at] == '+' || number[at] == '-')
        ++at;
    long value = 0;
    for (; at < number.size(); ++at)
        value = std::min(value * 10 + (number[at] - '0'), 1000000L);
    return negative ? -value : value;
}

// The power of ten of the number's leading significant digit; only its sign
// matters, to tell an overflow from an underflow.
long decimalOrder(std::string_view intDigits, std::string_view fracDigits, long exponent)
{
    const std::size_t firstInt = intDigits.find_first_not_of('0');
    if (firstInt != std::string_view::npos)
        return static_cast<long>(intDigits.size() - firstInt) - 1 + exponent;
    const std::size_t firstFrac = fracDigits.find_first_not_of('0');
    return -static_cast<long>(firstFrac) - 1 + exponent;
}

}  // namespace

float parseClock(std::string_view text)
{
    std::size_t at = skipBlanks(text, 0);
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';

    const std::size_t start = at;
    const std::size_t intEnd = skipDigits(text, at);
    std::size_t end = intEnd;
    std::size_t fracDigits = 0;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fracEnd = skipDigits(text, end + 1);
        fracDigits = fracEnd - (end + 1);
        end = fracEnd;
    }
    if (intEnd == start && fracDigits == 0)
        return 0.0f;  // no digits: not a number at all

    // An exponent counts only when at least one digit follows it.
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exp = end + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-'))
            ++exp;
        if (exp < text.size() && isDigit(text[exp]))
            end = skipDigits(text, exp);
    }

    const std::string_view number = text.substr(start, end - start);
    double magnitude = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), magnitude,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const std::string_view fraction = fracDigits ? text.substr(intEnd + 1, fracDigits) : std::string_view{};
        const bool overflow = decimalOrder(text.substr(start, intEnd - start), fraction, exponentOf(number)) > 0;
        magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc{}) {
        return 0.0f;
    }
    return toSingle(negative ? -magnitude : magnitude);
}

std::int32_t parseLeadingInt(std::string_view text)
{
    std::size_t at = skipBlanks(text, 0);
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';

    // Accumulate negatively so INT32_MIN fits; saturate beyond the range.
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        value = value * 10 - (text[at] - '0');
        if (value < lowest) {
            value = lowest - 1;
            break;
        }
    }
    if (negative)
        return value < lowest ? std::numeric_limits<std::int32_t>::min() : static_cast<std::int32_t>(value);
    if (-value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(-value);
}

std::optional<std::uint32_t> parseUnsigned32(std::string_view text)
{
    const std::size_t first = skipBlanks(text, 0);
    std::size_t last = text.size();
    while (last > first && isBlank(text[last - 1]))
        --last;
    const std::string_view digits = text.substr(first, last - first);
    if (digits.empty() || skipDigits(digits, 0) != digits.size())
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc{} || ptr != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::string formatClock(float mhz)
{
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(mhz),
                                         std::chars_format::fixed, 2);
    if (ec != std::errc{})
        return {};
    return std::string(buffer, ptr);
}

}  // namespace veltra
