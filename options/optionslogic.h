#pragma once
// What the options dialog decides without a screen: how a sound file is named
// in its label, the ranges its controls can hold, how a shown number is read
// back, and the texts of its questions and file filters.

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The text a file label shows for a sound file path: "[No File Selected]", the
// path itself up to 50 characters, else its first ten characters, " ...\" and the
// file's name (empty when no such file exists).
QString FileCaption(const QString& path);

// The ranges of the spinners and the display type list. A stored value outside
// them is brought to the nearest end, so a hand-edited store still opens.
inline constexpr int ShotClockResetTimeMin = 0, ShotClockResetTimeMax = 99;
inline constexpr int LEDSelectedWidthMin = 0, LEDSelectedWidthMax = 5;
inline constexpr int LEDTypeMin = 0, LEDTypeMax = 1;
int clampShotClockResetTime(int seconds);
int clampLEDSelectedWidth(int width);
int clampLEDType(int type);

// A number shown in a value label, read back as OK stores it: the width takes the
// whole part, the shot clock seconds the nearest whole number. Text that is not a
// number (never shown by the dialog) gives `fallback`.
qint16 wholePartOfCaption(const QString& caption, qint16 fallback);
qint16 roundedCaption(const QString& caption, qint16 fallback);

namespace optionstext {

inline const QString NoFileSelected = QStringLiteral("[No File Selected]");

inline const QString ResetKeysTitle = QStringLiteral("Reset Keys");
inline const QString ResetKeysQuestion = QStringLiteral("Are you sure you want to reset Keys, Quick Keys, and Numlock option?");
inline const QString ResetColorsTitle = QStringLiteral("Reset Colors");
inline const QString ResetColorsQuestion = QStringLiteral("Are you sure you want to reset the colors?");
inline const QString ResetPositionTitle = QStringLiteral("Reset Size and Position");
inline const QString ResetPositionQuestion = QStringLiteral(
    "Are you sure you want to reset the size and position?  This will take effect once you click OK on the options.");

// Open-file filters in the toolkit's form: the description, then the patterns.
inline const QString SoundFilter = QStringLiteral("Sounds *.wav (*.wav)");
// Every picture the loader reads (PNG and SVG keep their transparency), not only
// the three kinds older programs offered.
inline const QString PictureFilter =
    QStringLiteral("Pictures (*.bmp;*.gif;*.jpg;*.png;*.svg) (*.bmp *.gif *.jpg *.png *.svg)");

} // namespace optionstext

// The overlay page's address as the operator copies it into video software: on
// this computer only, the loopback address; on the network, the first of this
// computer's own IPv4 addresses (loopback only when it has no other).
QString feedOverlayUrl(const QString& listenAddress, int port, const QStringList& ownAddresses);
// The scorer page's address on the same host, with `token` in its fragment.
QString feedControlUrl(const QString& listenAddress, int port, const QStringList& ownAddresses, const QString& token);
// A new remote control token: 24 bytes from the system's random source, as 32
// URL-safe characters.
QString newControlToken();
