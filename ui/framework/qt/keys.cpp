// Qt's keys as the framework names them, and back.
#include <QKeyEvent>
#include <iterator>

#include "qt_backend.h"
#include "registry.h"

namespace veltra::qt {

namespace {

struct NamedKey {
    Key key;
    Qt::Key qt;
};

constexpr NamedKey namedKeys[] = {
    {Key::Return, Qt::Key_Return}, {Key::Enter, Qt::Key_Enter},   {Key::Escape, Qt::Key_Escape},
    {Key::Tab, Qt::Key_Tab},       {Key::Delete, Qt::Key_Delete},
};

struct ModifierKey {
    KeyModifier modifier;
    Qt::KeyboardModifier qt;
};

constexpr ModifierKey modifierKeys[] = {
    {ctrlModifier, Qt::ControlModifier},
    {shiftModifier, Qt::ShiftModifier},
    {altModifier, Qt::AltModifier},
};

}  // namespace

Qt::Key qtKeyOf(Key key)
{
    const int code = static_cast<int>(key);
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return static_cast<Qt::Key>(code);  // Qt's codes of letters and digits are theirs
    if (code >= static_cast<int>(Key::F1) && code < static_cast<int>(Key::F1) + 12)
        return static_cast<Qt::Key>(Qt::Key_F1 + code - static_cast<int>(Key::F1));
    for (const NamedKey& named : namedKeys)
        if (named.key == key)
            return named.qt;
    return Qt::Key_unknown;
}

Qt::KeyboardModifiers qtModifiersOf(const KeyCombination& keys)
{
    Qt::KeyboardModifiers modifiers;
    for (const ModifierKey& modifier : modifierKeys)
        if (keys.modifiers & modifier.modifier)
            modifiers |= modifier.qt;
    // Enter is the keypad's key.
    if (keys.key == Key::Enter)
        modifiers |= Qt::KeypadModifier;
    return modifiers;
}

std::optional<KeyCombination> keysOf(const QKeyEvent& event)
{
    const int code = event.key();
    KeyCombination keys;
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        keys.key = static_cast<Key>(code);
    else if (code >= Qt::Key_F1 && code <= Qt::Key_F12)
        keys.key = functionKey(code - Qt::Key_F1 + 1);
    for (const NamedKey& named : namedKeys)
        if (named.qt == code)
            keys.key = named.key;
    if (keys.key == Key::None)
        return std::nullopt;
    for (const ModifierKey& modifier : modifierKeys)
        if (event.modifiers() & modifier.qt)
            keys.modifiers |= modifier.modifier;
    return keys;
}

}  // namespace veltra::qt
