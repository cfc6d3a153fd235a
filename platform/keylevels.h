#pragma once
// The keysyms a physical key carries at its unshifted and shifted levels in the
// keyboard's current layout, so that a key's code can follow the key rather than
// the character typed: on a French keyboard the top-row 1 key types "&".

#include <QtGlobal>

struct KeyLevels
{
    quint32 base = 0;    // 0 when the platform does not say
    quint32 shifted = 0;
};

// From the event's native scan code (the X keycode) and native modifiers (which
// carry the layout group); nothing where the platform is not X11.
KeyLevels keyLevelsOf(quint32 nativeScanCode, quint32 nativeModifiers);
