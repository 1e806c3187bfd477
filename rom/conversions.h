#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltra {

// How the editor reads the numbers typed on its pages. None depends on the
// C or C++ locale: a dot is the only decimal point.

// The leading decimal number of the text (blanks, sign, digits, optional
// point, optional exponent), the rest ignored, rounded to single precision.
// A text that does not begin with one, "0x200" (reads up to the x), "inf" and
// "nan" read as 0. Too large a magnitude reads as infinity.
float parseClock(std::string_view text);

// The leading decimal integer (blanks, sign, digits), the rest ignored; 0
// when there is none. Beyond the 32-bit range it saturates, so it fails any
// range check.
std::int32_t parseLeadingInt(std::string_view text);

// A whole unsigned decimal number that fits in 32 bits, blanks around it
// allowed; anything else is refused.
std::optional<std::uint32_t> parseUnsigned32(std::string_view text);

// "%.2f": 1071.5 -> "1071.50", 1006 -> "1006.00".
std::string formatClock(float mhz);

}  // namespace veltra
