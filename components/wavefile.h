#pragma once
// What a RIFF/WAVE file holds, read from its chunk headers, and its samples made
// into the one form every player takes: 16-bit integer PCM. Integer PCM of 8 to
// 32 bits and IEEE float of 32 or 64 bits are read, plain or in the extensible
// form, with any channel count and rate; a "streamed" file, whose recorder left
// its sizes at 0 or 0xFFFFFFFF, has its samples up to the file's end.

#include <QByteArray>
#include <QtGlobal>

#include <optional>

class QIODevice;

struct WaveFormat
{
    bool isFloat = false;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    qint64 dataOffset = 0;
    qint64 dataLength = 0; // whole frames only
    bool streamed = false;

    int frameBytes() const { return channels * bits / 8; }
    qint64 frames() const { return dataLength / frameBytes(); }
    // 16-bit PCM with true sizes, which Qt Multimedia plays as it is.
    bool playsAsItIs() const { return !isFloat && bits == 16 && !streamed; }
};

// The format of a whole wave file no longer than a minute and no larger than
// 50 MB, or nothing: the chunk headers are walked, the samples are not read.
std::optional<WaveFormat> readWaveFormat(QIODevice& file);

// The file's samples as a plain 16-bit PCM wave file, same channels and rate.
QByteArray toPcm16Wave(QIODevice& file, const WaveFormat& format);
