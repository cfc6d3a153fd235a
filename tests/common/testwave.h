#pragma once
// Small wave files made by the tests themselves.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <optional>

// One RIFF chunk: its id, its length (the body's unless told), the body and the
// pad byte an odd body takes.
inline QByteArray waveChunk(const char* id, const QByteArray& body, std::optional<quint32> length = std::nullopt)
{
    QByteArray b = QByteArray(id, 4) + QByteArray(4, '\0') + body + QByteArray(body.size() & 1, '\0');
    qToLittleEndian(length.value_or(quint32(body.size())), b.data() + 4);
    return b;
}

// "RIFF", the length of what follows, the kind and the chunks.
inline QByteArray riffFile(const QByteArray& chunks, const char* kind = "WAVE")
{
    return waveChunk("RIFF", kind + chunks).left(12 + chunks.size());
}

// `milliseconds` of a quiet tone as a whole wave file, 16-bit mono PCM at 8 kHz.
inline QByteArray testWave(int milliseconds = 100)
{
    QByteArray samples(16 * milliseconds, '\0');
    for (int i = 0; i < 8 * milliseconds; ++i)
        qToLittleEndian(qint16(1000 * std::sin(i * 0.3)), samples.data() + 2 * i);
    const QByteArray format = QByteArray::fromHex("01000100401f0000803e000002001000");
    return riffFile(waveChunk("fmt ", format) + waveChunk("data", samples));
}

inline bool writeTestWave(const QString& path, int milliseconds = 100)
{
    const QByteArray b = testWave(milliseconds);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}
