#pragma once
// Colours and display style pushed onto a window's controls from the record.

#include "colour.h"

#include <QStringList>

class LedDisplay;
class QWidget;

// Labels take the caption colour, picture boxes the box colour and shapes the
// LED background as their border, except the controls named in `excluded`.
void ColorControls(QWidget* form, const QStringList& excluded);

// The unlit colour first, then the lit one.
void ColorDisplay(LedDisplay* display, Colour litColor);

// Every LED display of the window takes the style (0 lines, 1 dots).
void SetLedType(QWidget* form, int ledType);
