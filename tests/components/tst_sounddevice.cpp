// The sound device's choice of what it opens: only a whole wave file, since Qt's
// loader waits for ever on a clip cut short. Nothing here reaches a sound server;
// a play through a real one is checked end to end (tests/e2e/sound_null_sink.sh).

#include "loopwatch.h"
#include "sounddevice.h"
#include "testwave.h"

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
        QTest::newRow("a format without a byte rate")
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
