#pragma once
// The modal questions and pickers the options dialog opens: the platform colour
// dialog, the open-file dialog and the Yes/No confirmation. Tests hand in their
// own answers; the program uses the platform's.

#include <QColor>
#include <QString>

#include <functional>

class QWidget;

struct OptionsChoosers
{
    // The chosen colour, or `initial` when the picker is cancelled.
    std::function<QColor(QWidget* parent, const QColor& initial)> chooseColour;
    // The full path of an existing file chosen under `filter`, or empty. The
    // dialog starts in the folder of `current` when it has one.
    std::function<QString(QWidget* parent, const QString& filter, const QString& current)> chooseFile;
    // Yes/No with the question icon, Yes the default; true for Yes.
    std::function<bool(QWidget* parent, const QString& title, const QString& text)> confirm;
};

OptionsChoosers platformChoosers();
