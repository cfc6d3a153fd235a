#pragma once
// The character a key stands for in digit entry: digits from the top row and the
// keypad alike, the signs, the point, Space, Enter, and the clear key's mark.

// The character code, 0 for the clear mark, or -1 when the key enters nothing.
int KeyCodeToAsci(int keyCode, int clearKey);
