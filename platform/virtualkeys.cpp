#include "virtualkeys.h"

#include "keylevels.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace {

constexpr quint32 X11KeysymBreak = 0xff6b;

// Keys whose code does not follow from their Qt key by arithmetic. Shifted
// punctuation and shifted digits map back to the key they are typed on (US layout).
constexpr std::array<std::pair<int, int>, 61> NamedKeys{{
    {Qt::Key_Backspace, vk::Backspace}, {Qt::Key_Tab, vk::Tab}, {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Clear, vk::Clear}, {Qt::Key_Return, vk::Enter}, {Qt::Key_Enter, vk::Enter},
    {Qt::Key_Shift, vk::Shift}, {Qt::Key_Control, vk::Control}, {Qt::Key_Alt, vk::Alt},
    {Qt::Key_AltGr, vk::Alt}, {Qt::Key_Pause, vk::Pause}, {Qt::Key_CapsLock, vk::CapsLock},
    {Qt::Key_Escape, vk::Escape}, {Qt::Key_Space, vk::Space}, {Qt::Key_PageUp, vk::PageUp},
    {Qt::Key_PageDown, vk::PageDown}, {Qt::Key_End, vk::End}, {Qt::Key_Home, vk::Home},
    {Qt::Key_Left, vk::Left}, {Qt::Key_Up, vk::Up}, {Qt::Key_Right, vk::Right},
    {Qt::Key_Down, vk::Down}, {Qt::Key_Print, vk::PrintScreen}, {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete}, {Qt::Key_Meta, vk::LeftWindows}, {Qt::Key_Super_L, vk::LeftWindows},
    {Qt::Key_Menu, vk::Apps}, {Qt::Key_NumLock, vk::NumLock}, {Qt::Key_ScrollLock, vk::ScrollLock},
    {Qt::Key_Semicolon, vk::Semicolon}, {Qt::Key_Colon, vk::Semicolon},
    {Qt::Key_Equal, vk::Plus}, {Qt::Key_Plus, vk::Plus},
    {Qt::Key_Comma, vk::Comma}, {Qt::Key_Less, vk::Comma},
    {Qt::Key_Minus, vk::Minus}, {Qt::Key_Underscore, vk::Minus},
    {Qt::Key_Period, vk::Period}, {Qt::Key_Greater, vk::Period},
    {Qt::Key_Slash, vk::Slash}, {Qt::Key_Question, vk::Slash},
    {Qt::Key_QuoteLeft, vk::Backquote}, {Qt::Key_AsciiTilde, vk::Backquote},
    {Qt::Key_BracketLeft, vk::OpenBracket}, {Qt::Key_BraceLeft, vk::OpenBracket},
    {Qt::Key_Backslash, vk::Backslash}, {Qt::Key_Bar, vk::Backslash},
    {Qt::Key_BracketRight, vk::CloseBracket}, {Qt::Key_BraceRight, vk::CloseBracket},
    {Qt::Key_Apostrophe, vk::Quote}, {Qt::Key_QuoteDbl, vk::Quote},
    {Qt::Key_Exclam, vk::Digit0 + 1}, {Qt::Key_At, vk::Digit0 + 2}, {Qt::Key_NumberSign, vk::Digit0 + 3},
    {Qt::Key_Dollar, vk::Digit0 + 4}, {Qt::Key_Percent, vk::Digit0 + 5}, {Qt::Key_AsciiCircum, vk::Digit0 + 6},
    {Qt::Key_Ampersand, vk::Digit0 + 7}, {Qt::Key_ParenLeft, vk::Digit0 + 9}, {Qt::Key_ParenRight, vk::Digit0},
}};

// Shift+8 gives an asterisk on the top row; on the keypad it is Multiply.
constexpr int TopRowAsterisk = vk::Digit0 + 8;

int keypadCode(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return vk::Numpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return vk::Multiply;
    case Qt::Key_Plus: return vk::Add;
    case Qt::Key_Minus: return vk::Subtract;
    case Qt::Key_Period:
    case Qt::Key_Comma: return vk::Decimal;
    case Qt::Key_Slash: return vk::Divide;
    case Qt::Key_Enter:
    case Qt::Key_Return: return vk::Enter;
    default: return 0; // navigation keys with NumLock off: named below, as Windows reports them
    }
}

} // namespace

KeyFacts keyFactsOf(const QKeyEvent& event)
{
    const KeyLevels levels = keyLevelsOf(event.nativeScanCode(), event.nativeModifiers());
    return {event.key(), event.modifiers().testFlag(Qt::KeypadModifier), event.nativeVirtualKey(), levels.base,
            levels.shifted};
}

int virtualKeyCode(const KeyFacts& key)
{
#ifdef Q_OS_WIN
    if (key.nativeVirtualKey != 0)
        return int(key.nativeVirtualKey & 0xff);
#endif
    if (key.keypad) {
        if (const int code = keypadCode(key.qtKey))
            return code;
    }
    const auto isDigit = [](quint32 keysym) { return keysym >= '0' && keysym <= '9'; };
    if (isDigit(key.baseKeysym))
        return int(key.baseKeysym);
    if (isDigit(key.shiftedKeysym))
        return int(key.shiftedKeysym);
    // A printable Latin-1 keysym is its character, and a Qt key the capital of it:
    // the key goes by what it types unshifted. With no digit on the key (that
    // was looked at above), a symbol the US layout types on a digit key, such as
    // AZERTY's own ")" key, is no digit.
    if (key.baseKeysym >= 0x20 && key.baseKeysym <= 0xff) {
        const int code = virtualKeyCode(KeyFacts{QChar(char16_t(key.baseKeysym)).toUpper().unicode(), false, 0});
        return code >= vk::Digit0 && code <= vk::Digit9 ? 0 : code;
    }
    if ((key.qtKey >= Qt::Key_A && key.qtKey <= Qt::Key_Z) || (key.qtKey >= Qt::Key_0 && key.qtKey <= Qt::Key_9))
        return key.qtKey; // letters are their capitals, digits their characters
    if (key.qtKey >= Qt::Key_F1 && key.qtKey <= Qt::Key_F24)
        return vk::F1 + (key.qtKey - Qt::Key_F1);
    if (key.qtKey == Qt::Key_Asterisk)
        return TopRowAsterisk;
    // Ctrl+Pause arrives with no key of its own, only the Break keysym.
    if (key.qtKey == 0 && key.nativeVirtualKey == X11KeysymBreak)
        return vk::Pause;
    for (const auto& [qtKey, code] : NamedKeys) {
        if (qtKey == key.qtKey)
            return code;
    }
    return 0;
}
