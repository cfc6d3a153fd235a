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
        const auto u16 = [&b](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
        const auto u32 = [&b](int at) { return qFromLittleEndian<quint32>(b.constData() + at); };
        QCOMPARE(b.left(4), "RIFF");
        QCOMPARE(u32(4), quint32(b.size() - 8));
        QCOMPARE(b.mid(8, 8), "WAVEfmt ");
        // Chunk size, PCM, mono, 44.1 kHz, its byte rate, block size and 16 bits.
        QCOMPARE((QList<quint32>{u32(16), u16(20), u16(22), u32(24), u32(28), u16(32), u16(34)}),
                 (QList<quint32>{16, 1, 1, 44100, 88200, 2, 16}));
        QCOMPARE(b.mid(36, 4), "data");
        QCOMPARE(u32(40), 2 * samples);

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
