#include "keys.h"

#include <algorithm>
#include <iterator>

namespace veltra {

namespace {

struct Name {
    std::string_view text;
    Key key;
};

constexpr Name namedKeys[] = {
    {"Return", Key::Return}, {"Enter", Key::Enter}, {"Escape", Key::Escape},
    {"Tab", Key::Tab},       {"Delete", Key::Delete},
};

struct ModifierName {
    std::string_view text;
    KeyModifier modifier;
};

constexpr ModifierName modifierNames[] = {
    {"Ctrl", ctrlModifier},
    {"Shift", shiftModifier},
    {"Alt", altModifier},
};

Key keyNamed(std::string_view text)
{
    if (text.size() == 1)
        return characterKey(text[0]);
    for (const Name& name : namedKeys)
        if (name.text == text)
            return name.key;
    // F1 to F12, without leading zeros.
    if (text.size() < 2 || text.size() > 3 || text[0] != 'F' || text[1] == '0')
        return Key::None;
    int number = 0;
    for (char digit : text.substr(1)) {
        if (digit < '0' || digit > '9')
            return Key::None;
        number = number * 10 + (digit - '0');
    }
    return functionKey(number);
}

}  // namespace

std::optional<KeyCombination> parseKeys(std::string_view text)
{
    KeyCombination keys;
    for (;;) {
        const std::size_t plus = text.find('+');
        if (plus == std::string_view::npos)
            break;
        const std::string_view name = text.substr(0, plus);
        const auto* found = std::find_if(std::begin(modifierNames), std::end(modifierNames),
                                         [name](const ModifierName& m) { return m.text == name; });
        if (found == std::end(modifierNames) || (keys.modifiers & found->modifier))
            return std::nullopt;
        keys.modifiers |= found->modifier;
        text.remove_prefix(plus + 1);
    }
    keys.key = keyNamed(text);
    if (keys.key == Key::None)
        return std::nullopt;
    return keys;
}

}  // namespace veltra
