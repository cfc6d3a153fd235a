// The buzzer and the horn that the build writes beside the program: whole 16-bit
// mono wave files of the exact length, loud without clipping, that the sound
// device accepts.

#include "sounddevice.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

#include <cmath>

class TestSounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedSounds_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<quint32>("samples");
        QTest::addColumn<double>("quietestRmsDb");
        QTest::newRow("buzzer, 1.8 s") << QStringLiteral(TALLIVOX_PROGRAM_FOLDER "/buzzer.wav") << 79380u << -8.0;
        QTest::newRow("horn, 1 s") << QStringLiteral(TALLIVOX_PROGRAM_FOLDER "/horn.wav") << 44100u << -12.0;
    }

    void shippedSounds()
    {
        QFETCH(QString, path);
        QFETCH(quint32, samples);
        QFETCH(double, quietestRmsDb);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray b = file.readAll();
        QCOMPARE(b.size(), 44 + 2 * qsizetype(samples)); // nothing but the header and the samples
        // RIFF, WAVE, a 16-byte format of PCM, mono, 44.1 kHz, its byte rate and block
        // size, 16 bits, then the data: little-endian sizes around the fixed bytes.
        const auto le32 = [](quint32 v) { v = qToLittleEndian(v); return QByteArray(reinterpret_cast<const char*>(&v), 4).toHex(); };
        QCOMPARE(b.left(44).toHex(), "52494646" + le32(36 + 2 * samples) + "57415645666d7420100000000100010044ac0000"
                                         "885801000200100064617461" + le32(2 * samples));
        const auto u16 = [&b](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
        int peak = 0;
        double sum = 0;
        for (quint32 i = 0; i < samples; ++i) {
            const int v = qint16(u16(44 + 2 * int(i)));
            peak = std::max(peak, std::abs(v));
            sum += double(v) * v;
        }
        QCOMPARE(peak, 31653); // 0.3 dB below full scale: loud, and no sample at the rails
        const double rmsDb = 20 * std::log10(std::sqrt(sum / samples) / 32767);
        QVERIFY2(rmsDb >= quietestRmsDb, qPrintable(QString::number(rmsDb)));

        QVERIFY(SoundDevice::isWaveFile(path));
        SoundDevice device;
        device.setFileName(path);
        device.open();
        QVERIFY(device.isOpen());
    }
};

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
