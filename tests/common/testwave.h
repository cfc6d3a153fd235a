#pragma once
// Small wave files written by the tests themselves.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cmath>

// 16-bit mono PCM at 8 kHz: `milliseconds` of a quiet tone.
inline bool writeTestWave(const QString& path, int milliseconds = 100)
{
    const quint32 sampleRate = 8000;
    const quint32 samples = sampleRate * quint32(milliseconds) / 1000;
    const quint32 dataBytes = samples * 2;
    QByteArray b;
    auto u32 = [&b](quint32 v) { for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xff)); };
    auto u16 = [&b](quint16 v) { b.append(char(v & 0xff)); b.append(char(v >> 8)); };
    b.append("RIFF"); u32(36 + dataBytes); b.append("WAVE");
    b.append("fmt "); u32(16); u16(1); u16(1); u32(sampleRate); u32(sampleRate * 2); u16(2); u16(16);
    b.append("data"); u32(dataBytes);
    for (quint32 i = 0; i < samples; ++i)
        u16(quint16(qint16(1000 * std::sin(i * 0.3))));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}
