#pragma once
// Key codes are the Windows virtual-key numbers on every platform: bindings are
// stored as those numbers, so the same physical key must give the same code
// whatever the toolkit reports (with or without Shift, keypad or top row).

#include <QtGlobal>

class QKeyEvent;

namespace vk {
constexpr int Backspace = 8, Tab = 9, Clear = 12, Enter = 13, Shift = 16, Control = 17, Alt = 18, Pause = 19,
              CapsLock = 20, Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37,
              Up = 38, Right = 39, Down = 40, PrintScreen = 44, Insert = 45, Delete = 46, Digit0 = 48, Digit9 = 57,
              A = 65, Z = 90, LeftWindows = 91, Apps = 93, Numpad0 = 96, Numpad9 = 105, Multiply = 106, Add = 107,
              Subtract = 109, Decimal = 110, Divide = 111, F1 = 112, F2 = 113, F11 = 122, F12 = 123, F24 = 135,
              NumLock = 144, ScrollLock = 145, Semicolon = 186, Plus = 187, Comma = 188, Minus = 189, Period = 190,
              Slash = 191, Backquote = 192, OpenBracket = 219, Backslash = 220, CloseBracket = 221, Quote = 222;
}

// What a key event says about its key, free of the event itself so it can be
// checked with any combination.
struct KeyFacts
{
    int qtKey = 0;
    bool keypad = false;
    quint32 nativeVirtualKey = 0; // the X keysym on X11, the virtual key on Windows
    // The key's keysyms unshifted and shifted in the current layout (X11), or 0.
    quint32 baseKeysym = 0;
    quint32 shiftedKeysym = 0;
};

KeyFacts keyFactsOf(const QKeyEvent& event);

// The virtual-key code, or 0 when the key has none. Where the key's levels are
// known, the code names the physical key on any layout: a digit on either level
// is that digit (the top row is 48-57 on AZERTY too), and any other printable
// key goes by what it types unshifted (a letter its capital).
int virtualKeyCode(const KeyFacts& key);
inline int virtualKeyCode(const QKeyEvent& event) { return virtualKeyCode(keyFactsOf(event)); }
