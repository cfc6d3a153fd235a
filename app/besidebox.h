#pragma once
// Places an operator's window (help, the options dialog, a notice) whole on a
// screen and off the score box, the window manager's frame included. That frame
// is known only once the window manager has put it round the shown window: the
// window is placed first with the frame the last such window had (none before
// the first), and once more when its own frame turns out to be another.

class QWidget;

void placeBesideOnAir(QWidget& window, const QWidget& onAir);
