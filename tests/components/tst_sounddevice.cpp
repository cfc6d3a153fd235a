// The sound device's choice of what it opens: only a whole wave file, since Qt's
// loader waits for ever on a clip cut short. Nothing here reaches a sound server;
// a play through a real one is checked end to end (tests/e2e/sound_null_sink.sh).

#include "loopwatch.h"
#include "sounddevice.h"
#include "testwave.h"
#include "wavefile.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSoundDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takesOnlyAWholeWaveFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        const QByteArray format = testWave().mid(12, 24);
        const QByteArray data = waveChunk("data", QByteArray(800, '\x11'));
        QTest::newRow("a tone") << testWave() << true;
        QTest::newRow("an odd chunk and its pad byte before the data")
            << riffFile(format + waveChunk("LIST", "odd") + data) << true;
        QTest::newRow("the last sample byte missing") << testWave().chopped(1) << false;
        QTest::newRow("text") << QByteArray("not a sound at all") << false;
        QTest::newRow("another RIFF kind") << riffFile(format + data, "AVI ") << false;
        QTest::newRow("no data chunk") << riffFile(format) << false;
        QTest::newRow("data before the format") << riffFile(data + format) << false;
        QTest::newRow("a format chunk of 14 bytes") << riffFile(waveChunk("fmt ", format.mid(8, 14)) + data) << false;
        QTest::newRow("a format chunk of two gigabytes")
            << riffFile(waveChunk("fmt ", format.mid(8), 0x7fffffff) + data) << false;
        // 16,000 bytes a second.
        QTest::newRow("a minute of sound") << riffFile(format + waveChunk("data", QByteArray(960000, '\0'))) << true;
        QTest::newRow("a minute and a sample") << riffFile(format + waveChunk("data", QByteArray(960002, '\0'))) << false;
        QTest::newRow("a format of 0 bits")
            << riffFile(waveChunk("fmt ", QByteArray(format.mid(8, 8)) + QByteArray(8, '\0')) + data) << false;
        QTest::newRow("over 50 MB") << riffFile(format + data).append(50 * 1024 * 1024, '\0') << false;
    }
    void takesOnlyAWholeWaveFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(SoundDevice::isWave(buffer), accepted);
    }

    // Every kind of sample a wave file may hold: read with its exact length, and
    // made 16-bit with half of full scale (the sample each file holds) as 16384.
    void everyKindOfSampleIsReadAndMade16Bit_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("frames");
        const auto file = [](quint16 tag, int channels, int bits, const QByteArray& sample, int frames,
                             std::optional<quint32> dataSize = std::nullopt, bool extensible = false) {
            QByteArray fmt(extensible ? 40 : 16, '\0');
            qToLittleEndian(quint16(extensible ? 0xFFFE : tag), fmt.data());
            qToLittleEndian(quint16(channels), fmt.data() + 2);
            qToLittleEndian(quint32(8000), fmt.data() + 4);
            qToLittleEndian(quint32(8000 * channels * bits / 8), fmt.data() + 8);
            qToLittleEndian(quint16(channels * bits / 8), fmt.data() + 12);
            qToLittleEndian(quint16(bits), fmt.data() + 14);
            if (extensible)
                qToLittleEndian(quint16(tag), fmt.data() + 24);
            const QByteArray samples = sample.repeated(channels * frames);
            return riffFile(waveChunk("fmt ", fmt) + waveChunk("data", samples, dataSize));
        };
        const auto f32 = [] { QByteArray b(4, '\0'); qToLittleEndian(0.5f, b.data()); return b; }();
        const auto f64 = [] { QByteArray b(8, '\0'); qToLittleEndian(0.5, b.data()); return b; }();
        QTest::newRow("8-bit") << file(1, 1, 8, QByteArray(1, char(192)), 800) << 800LL;
        QTest::newRow("16-bit stereo") << file(1, 2, 16, QByteArray::fromHex("0040"), 800) << 800LL;
        QTest::newRow("24-bit") << file(1, 1, 24, QByteArray::fromHex("000040"), 801) << 801LL;
        QTest::newRow("32-bit") << file(1, 1, 32, QByteArray::fromHex("00000040"), 800) << 800LL;
        QTest::newRow("float 32") << file(3, 1, 32, f32, 800) << 800LL;
        QTest::newRow("float 64, 6 channels") << file(3, 6, 64, f64, 100) << 100LL;
        QTest::newRow("extensible float 32") << file(3, 2, 32, f32, 800, std::nullopt, true) << 800LL;
        QTest::newRow("streamed, size 0xFFFFFFFF") << file(1, 1, 16, QByteArray::fromHex("0040"), 700, 0xFFFFFFFF) << 700LL;
        // A recorder that never went back to fill the size in.
        QTest::newRow("streamed, size 0") << file(1, 1, 16, QByteArray::fromHex("0040"), 700, 0) << 700LL;
    }
    void everyKindOfSampleIsReadAndMade16Bit()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, frames);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const std::optional<WaveFormat> format = readWaveFormat(buffer);
        QVERIFY(format);
        QCOMPARE(format->frames(), frames);
        const QByteArray pcm = toPcm16Wave(buffer, *format);
        QCOMPARE(pcm.size(), 44 + frames * format->channels * 2);
        QCOMPARE(qFromLittleEndian<qint16>(pcm.constData() + pcm.size() - 2), qint16(16384));
        QBuffer converted(const_cast<QByteArray*>(&pcm));
        QVERIFY(converted.open(QIODevice::ReadOnly));
        const std::optional<WaveFormat> again = readWaveFormat(converted);
        QVERIFY(again && again->playsAsItIs() && again->frames() == frames);
    }

    // Whatever is refused leaves a closed device whose calls do nothing: no clip
    // is ever handed to Qt Multimedia.
    void whatIsRefusedLeavesTheDeviceClosedAndSilent()
    {
        QTemporaryDir dir;
        const QString whole = dir.filePath(QStringLiteral("whole.wav")), cut = dir.filePath(QStringLiteral("cut.wav"));
        QVERIFY(writeTestWave(whole) && QFile::copy(whole, cut) && QFile::resize(cut, 1000));
        // A valid header before 2.2 GB of (sparse) samples: refused before any of it is read.
        const QString huge = dir.filePath(QStringLiteral("huge.wav"));
        QByteArray header = testWave().left(44);
        qToLittleEndian(quint32(2200000000u), header.data() + 40);
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(header) == 44 && file.resize(44 + 2200000000LL));
        file.close();
        QVERIFY(SoundDevice::isWaveFile(whole));
        for (const QString& path : {QString(), dir.filePath(QStringLiteral("gone.wav")), dir.path(), cut, huge}) {
            QVERIFY2(!SoundDevice::isWaveFile(path), qPrintable(path));
            SoundDevice device;
            QSignalSpy played(&device, &SoundDevice::playRequested);
            device.setFileName(path);
            QVERIFY(longestStallMs([&] { device.open(); }) < 100);
            device.play();
            QVERIFY(!device.isOpen() && !device.isPlaying());
            QCOMPARE(played.count(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestSoundDevice)
#include "tst_sounddevice.moc"
