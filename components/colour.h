#pragma once
// Colours travel through the settings and the record as 32-bit values with red in
// the low byte, green in the next and blue in the third (0x00BBGGRR). Drawing them
// takes qcolour.h.

#include <QtGlobal>

using Colour = qint32;
