#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veltra {

// A key as the framework's rules and the program's key texts name it: a
// letter or a digit is its upper-case character (characterKey), the others
// are named here.
enum class Key : std::uint16_t {
    None = 0,
    Return = 0x100,  // the main keyboard's Enter
    Enter,           // the keypad's
    Escape,
    Tab,
    Delete,
    F1 = 0x200,      // F1 to F12 follow each other (functionKey)
};

// The key of a letter (either case) or a digit; None for any other character.
constexpr Key characterKey(char c)
{
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    const bool named = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return named ? static_cast<Key>(c) : Key::None;
}

// F1 to F12; None for any other number.
constexpr Key functionKey(int number)
{
    return number >= 1 && number <= 12 ? static_cast<Key>(static_cast<int>(Key::F1) + number - 1) : Key::None;
}

// The modifier keys held with a key, as bits.
enum KeyModifier : unsigned {
    noModifier = 0,
    ctrlModifier = 1,
    shiftModifier = 2,
    altModifier = 4,
};

struct KeyCombination {
    Key key = Key::None;
    unsigned modifiers = noModifier;
    friend constexpr bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

// A key text, e.g. "Ctrl+Shift+S": the modifiers Ctrl, Shift and Alt, each
// at most once and followed by '+', then the key: a letter, a digit, F1 to
// F12, Return, Enter (the keypad's), Escape, Tab or Delete. Nothing for any
// other text.
std::optional<KeyCombination> parseKeys(std::string_view text);

}  // namespace veltra
