// The buzzer and the horn that the build writes beside the program: whole wave
// files the sound device accepts, of the right length, loud without clipping.

#include "sounddevice.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double FullScale = 32767;

struct Wave
{
    QString error;
    quint16 format = 0, channels = 0, bits = 0;
    quint32 sampleRate = 0;
    std::vector<qint16> samples;
    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0; }
};

// Walks the chunks, so that one running past the end, a RIFF size that does not
// match the file or data before the format show up as an error.
Wave readWave(const QString& path)
{
    Wave w;
    const auto fail = [](const QString& why) {
        Wave f;
        f.error = why;
        return f;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot open ") + path);
    const QByteArray b = file.readAll();
    // Byte by byte, so that no read can pass the end of the file's bytes.
    const auto byte = [&b](qsizetype at) { return at < b.size() ? quint32(quint8(b[at])) : 0u; };
    const auto u16 = [&byte](qsizetype at) { return quint16(byte(at) | byte(at + 1) << 8); };
    const auto u32 = [&u16](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE" || u32(4) != quint32(b.size() - 8))
        return fail(QStringLiteral("not a whole RIFF/WAVE file"));
    for (qsizetype pos = 12; pos + 8 <= b.size();) {
        const QByteArray id = b.mid(pos, 4);
        const quint32 length = u32(pos + 4);
        const qsizetype body = pos + 8;
        if (body + qsizetype(length) > b.size())
            return fail(QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id)));
        if (id == "fmt " && length >= 16) {
            w.format = u16(body);
            w.channels = u16(body + 2);
            w.sampleRate = u32(body + 4);
            w.bits = u16(body + 14);
            if (u32(body + 8) != w.sampleRate * 2 || u16(body + 12) != 2)
                return fail(QStringLiteral("byte rate or block size do not match"));
        } else if (id == "data") {
            if (!w.sampleRate)
                return fail(QStringLiteral("data before format"));
            for (quint32 i = 0; i + 1 < length; i += 2)
                w.samples.push_back(qint16(u16(body + i)));
        }
        pos = body + length + (length & 1);
    }
    if (w.samples.empty())
        w.error = QStringLiteral("no samples");
    return w;
}

} // namespace

class TestSounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedSounds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::addColumn<double>("quietestRms");
        QTest::newRow("buzzer") << QStringLiteral(TALLIVOX_PROGRAM_FOLDER "/buzzer.wav") << 1.5 << 2.0 << -8.0;
        QTest::newRow("horn") << QStringLiteral(TALLIVOX_PROGRAM_FOLDER "/horn.wav") << 0.8 << 1.2 << -12.0;
    }

    void shippedSounds()
    {
        QFETCH(QString, path);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        QFETCH(double, quietestRms);
        QVERIFY2(SoundDevice::isWaveFile(path), qPrintable(path));
        const Wave w = readWave(path);
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        QCOMPARE(w.format, quint16(1)); // PCM
        QCOMPARE(w.channels, quint16(1));
        QCOMPARE(w.sampleRate, quint32(44100));
        QCOMPARE(w.bits, quint16(16));
        QVERIFY2(w.seconds() >= shortest && w.seconds() <= longest, qPrintable(QString::number(w.seconds())));

        int peak = 0;
        double sum = 0;
        for (qint16 v : w.samples) {
            peak = std::max(peak, std::abs(int(v)));
            sum += double(v) * v;
        }
        // Loud, yet not a single sample at or next to the rails.
        QVERIFY2(peak >= 0.9 * FullScale && peak < 0.99 * FullScale, qPrintable(QString::number(peak)));
        const double rms = 20 * std::log10(std::sqrt(sum / double(w.samples.size())) / FullScale);
        QVERIFY2(rms >= quietestRms, qPrintable(QString::number(rms)));

        SoundDevice device;
        device.setFileName(path);
        device.open();
        QVERIFY(device.isOpen());
    }
};

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
