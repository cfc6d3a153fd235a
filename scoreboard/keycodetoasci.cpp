#include "keycodetoasci.h"

#include "entrytext.h"
#include "virtualkeys.h"

int KeyCodeToAsci(int keyCode, int clearKey)
{
    // Space and Enter come first, so a clear key bound to either never clears.
    if (keyCode == vk::Space)
        return charcode::Space;
    if (keyCode == vk::Enter)
        return charcode::Enter;
    if (keyCode == clearKey)
        return charcode::ClearMark;
    if (keyCode == vk::Plus || keyCode == vk::Add)
        return charcode::Plus;
    if (keyCode == vk::Minus || keyCode == vk::Subtract)
        return charcode::Minus;
    if (keyCode >= vk::Numpad0 && keyCode <= vk::Numpad9)
        return charcode::Zero + (keyCode - vk::Numpad0);
    if (keyCode >= vk::Digit0 && keyCode <= vk::Digit9)
        return keyCode;
    if (keyCode == vk::Decimal || keyCode == vk::Period)
        return charcode::Point;
    return -1;
}
