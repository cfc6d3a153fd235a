#include "wavefile.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A buzzer or a horn is a few seconds long. Qt Multimedia decodes a whole clip
// into memory before it plays: a file of gigabytes would take that much memory,
// or hang the program, so longer or larger files are not played at all.
constexpr qint64 MaxSoundFileBytes = 50 * 1024 * 1024;
constexpr qint64 MaxSoundSeconds = 60;

constexpr quint16 TagPcm = 1, TagFloat = 3, TagExtensible = 0xFFFE;

bool validFormat(const WaveFormat& f)
{
    const bool bitsFit = f.isFloat ? (f.bits == 32 || f.bits == 64)
                                   : (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
    return bitsFit && f.channels >= 1 && f.channels <= 32 && f.rate >= 1 && f.rate <= 768000;
}

// One sample at `p` as a 16-bit value.
qint16 sample16(const char* p, const WaveFormat& f)
{
    if (f.isFloat) {
        const double v = f.bits == 32 ? double(qFromLittleEndian<float>(p)) : qFromLittleEndian<double>(p);
        return qint16(std::lround(std::clamp(std::isnan(v) ? 0.0 : v, -1.0, 1.0) * 32767));
    }
    switch (f.bits) {
    case 8: return qint16((quint8(*p) - 128) * 256);
    case 16: return qFromLittleEndian<qint16>(p);
    case 24: return qint16(qFromLittleEndian<qint16>(p + 1));
    default: return qint16(qFromLittleEndian<qint32>(p) >> 16);
    }
}

} // namespace

std::optional<WaveFormat> readWaveFormat(QIODevice& file)
{
    const QByteArray head = file.read(12);
    const qint64 size = file.size();
    if (head.size() != 12 || !head.startsWith("RIFF") || !head.endsWith("WAVE") || size > MaxSoundFileBytes)
        return std::nullopt;

    // Qt's loader waits for the rest of a clip that is cut short and never
    // gives up, and while any load waits, releasing any other clip blocks the
    // thread that releases it. So the chunk headers are walked (their bodies
    // are skipped, not read, but for the format): the format chunk must be
    // whole and the sample data must all be there, a minute at most.
    WaveFormat format;
    bool haveFormat = false;
    qint64 pos = 12;
    for (int chunks = 0; chunks < 64 && pos + 8 <= size; ++chunks) {
        if (!file.seek(pos))
            return std::nullopt;
        const QByteArray header = file.read(8);
        if (header.size() != 8)
            return std::nullopt;
        const QByteArray id = header.left(4);
        const qint64 body = pos + 8;
        qint64 length = qFromLittleEndian<quint32>(header.constData() + 4);
        if (id == "data" && (length == 0 || length == 0xFFFFFFFF)) {
            format.streamed = true;
            length = size - body;
        }
        if (body + length > size)
            return std::nullopt;
        if (id == "data") {
            if (!haveFormat)
                return std::nullopt;
            format.dataOffset = body;
            format.dataLength = length - length % format.frameBytes();
            const qint64 bytesPerSecond = qint64(format.rate) * format.frameBytes();
            if (format.dataLength == 0 || format.dataLength > MaxSoundSeconds * bytesPerSecond)
                return std::nullopt;
            return format;
        }
        if (id == "fmt ") {
            const QByteArray f = file.read(std::min<qint64>(length, 40));
            if (length < 16 || f.size() < 16)
                return std::nullopt;
            quint16 tag = qFromLittleEndian<quint16>(f.constData());
            if (tag == TagExtensible && f.size() >= 26)
                tag = qFromLittleEndian<quint16>(f.constData() + 24); // the sub-format's own tag
            format.isFloat = tag == TagFloat;
            format.channels = qFromLittleEndian<quint16>(f.constData() + 2);
            format.rate = int(std::min<quint32>(qFromLittleEndian<quint32>(f.constData() + 4), 0x7fffffff));
            format.bits = qFromLittleEndian<quint16>(f.constData() + 14);
            if ((tag != TagPcm && tag != TagFloat) || !validFormat(format))
                return std::nullopt;
            haveFormat = true;
        }
        pos = body + length + (length & 1);
    }
    return std::nullopt;
}

QByteArray toPcm16Wave(QIODevice& file, const WaveFormat& f)
{
    file.seek(f.dataOffset);
    const QByteArray in = file.read(f.dataLength);
    const int sampleBytes = f.bits / 8;
    const qint64 samples = in.size() / sampleBytes;
    QByteArray out(44 + samples * 2, '\0');
    char* h = out.data();
    std::memcpy(h, "RIFF", 4);
    qToLittleEndian(quint32(out.size() - 8), h + 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian(quint32(16), h + 16);
    qToLittleEndian(quint16(TagPcm), h + 20);
    qToLittleEndian(quint16(f.channels), h + 22);
    qToLittleEndian(quint32(f.rate), h + 24);
    qToLittleEndian(quint32(f.rate * f.channels * 2), h + 28);
    qToLittleEndian(quint16(f.channels * 2), h + 32);
    qToLittleEndian(quint16(16), h + 34);
    std::memcpy(h + 36, "data", 4);
    qToLittleEndian(quint32(samples * 2), h + 40);
    for (qint64 i = 0; i < samples; ++i)
        qToLittleEndian(sample16(in.constData() + i * sampleBytes, f), h + 44 + i * 2);
    return out;
}
