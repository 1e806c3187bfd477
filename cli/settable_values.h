#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rom/bios_info.h"
#include "rom/rules.h"

namespace veltra::cli {

// How a value given to `set` is read, the same reading the window applies
// to that page's edit.
enum class Reading {
    Decimal,   // clocks and boost entries: kept as text, read by the rules
    Integer,   // voltage: kept as text, read by the rules
    Unsigned,  // power and fan: must be a whole unsigned 32-bit number up front
};

// Bytes of the file: `width` of them from `offset`, and the table entry
// they were found in (no table for a built-in location).
struct ByteSpan {
    std::uint32_t offset;
    std::uint32_t width;
    FieldOrigin origin;
};

// One value that `show` prints and `set` accepts, by its NAME.
struct SettableValue {
    std::string name;
    Reading reading;
    EditField field;
    // Where the value sits in PageValues: a text, a number, or a boost entry.
    std::string PageValues::*text = nullptr;
    std::uint32_t PageValues::*number = nullptr;
    std::optional<std::size_t> boostEntry;
    // Every place in the file that a save writes the value to; none when
    // the image does not have the value.
    std::function<std::vector<ByteSpan>(const BiosInfo&)> spans;
};

// Every settable value, in the order the rules walk them.
const std::vector<SettableValue>& settableValues();

// The NAME of boost entry `entry` (0-63): boost-01 to boost-64.
std::string boostEntryName(std::size_t entry);

// Whether the image has the value: its tables define it, or a boost entry
// lies within its ladder.
bool isPresent(const BiosInfo& info, const SettableValue& value);

// The value named `name`, or null.
const SettableValue* findSettable(std::string_view name);

// The text a value has in `values`, as show prints it.
std::string valueText(const PageValues& values, const SettableValue& value);

// Whether `text` (blanks trimmed) is, as a whole, a number in the value's
// own form: a decimal for clocks, a whole number for the others, and for
// power and fan one that fits in 32 bits.
bool isValueText(const SettableValue& value, std::string_view text);

// That form, for a usage message: "a decimal number (MHz)", ...
std::string valueForm(const SettableValue& value);

// The number a decimal text (as isValueText takes it) stands for.
double decimalValue(std::string_view text);

// Puts `text` into `values` for `value`. False when an unsigned value is not
// a whole unsigned 32-bit number; `values` is then unchanged.
bool assignValue(PageValues& values, const SettableValue& value, std::string_view text);

}  // namespace veltra::cli
