// The system's virtual keys as the framework names them, and back.
#include "win32.h"

#include "registry.h"
#include "win32_backend.h"

namespace veltra::win32 {

namespace {

struct NamedKey {
    Key key;
    int virtualKey;
    bool extended;  // told apart by the key message's extended-key bit
};

// Enter is the keypad's: VK_RETURN from an extended key. Delete reads the
// same from either key.
constexpr NamedKey namedKeys[] = {
    {Key::Return, VK_RETURN, false}, {Key::Enter, VK_RETURN, true}, {Key::Escape, VK_ESCAPE, false},
    {Key::Tab, VK_TAB, false},       {Key::Delete, VK_DELETE, true},
};

struct ModifierKey {
    KeyModifier modifier;
    int virtualKey;
};

constexpr ModifierKey modifierKeys[] = {
    {ctrlModifier, VK_CONTROL},
    {shiftModifier, VK_SHIFT},
    {altModifier, VK_MENU},
};

constexpr LPARAM extendedKeyBit = 1 << 24;

}  // namespace

PressedKey virtualKeyOf(const KeyCombination& keys)
{
    PressedKey pressed;
    const int code = static_cast<int>(keys.key);
    // The system's codes of letters and digits are their characters.
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        pressed.virtualKey = code;
    else if (code >= static_cast<int>(Key::F1) && code < static_cast<int>(Key::F1) + 12)
        pressed.virtualKey = VK_F1 + code - static_cast<int>(Key::F1);
    for (const NamedKey& named : namedKeys) {
        if (named.key == keys.key) {
            pressed.virtualKey = named.virtualKey;
            pressed.extended = named.extended;
        }
    }
    for (const ModifierKey& modifier : modifierKeys)
        if (keys.modifiers & modifier.modifier)
            pressed.modifiers.push_back(modifier.virtualKey);
    return pressed;
}

std::optional<KeyCombination> keysOf(const MSG& message)
{
    const int code = static_cast<int>(message.wParam);
    const bool extended = message.lParam & extendedKeyBit;
    KeyCombination keys;
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        keys.key = static_cast<Key>(code);
    else if (code >= VK_F1 && code <= VK_F12)
        keys.key = functionKey(code - VK_F1 + 1);
    for (const NamedKey& named : namedKeys)
        if (named.virtualKey == code && (named.extended == extended || code != VK_RETURN))
            keys.key = named.key;
    if (keys.key == Key::None)
        return std::nullopt;
    for (const ModifierKey& modifier : modifierKeys)
        if (GetKeyState(modifier.virtualKey) < 0)
            keys.modifiers |= modifier.modifier;
    return keys;
}

}  // namespace veltra::win32
