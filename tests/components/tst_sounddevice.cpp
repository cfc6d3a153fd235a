// The sound device: what it refuses to open, that a play reaches Qt Multimedia,
// and, on a private null sound sink, that the end of a play is reported.

#include "sounddevice.h"
#include "testwave.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestSoundDevice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_pulseDir;
    QProcess m_pulse;
    bool m_haveServer = false;

    QString wave(const QString& name, int ms = 100)
    {
        const QString path = m_dir.filePath(name);
        writeTestWave(path, ms);
        return path;
    }

    QString junk(const QString& name, const QByteArray& content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }

private Q_SLOTS:
    // A private PulseAudio server with a null sink, so plays really run and end
    // without touching anyone's sound.
    void initTestCase()
    {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulseaudio.isEmpty())
            return;
        const QString socket = m_pulseDir.filePath(QStringLiteral("native"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_pulseDir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_pulseDir.path());
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_pulseDir.path());
        m_pulse.setProcessEnvironment(env);
        m_pulse.setProcessChannelMode(QProcess::MergedChannels);
        m_pulse.start(pulseaudio, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-L"),
                                   QStringLiteral("module-null-sink"), QStringLiteral("-L"),
                                   QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        QElapsedTimer wait;
        wait.start();
        while (!QFile::exists(socket) && wait.elapsed() < 5000 && m_pulse.state() != QProcess::NotRunning)
            QTest::qWait(20);
        m_haveServer = QFile::exists(socket);
        if (m_haveServer)
            qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
    }

    void cleanupTestCase()
    {
        m_pulse.kill();
        m_pulse.waitForFinished(2000);
    }

    void refusesWhatIsNotAWaveFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty name") << QString();
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("gone.wav"));
        QTest::newRow("text") << junk(QStringLiteral("text.wav"), "not a sound at all");
        QTest::newRow("truncated header") << junk(QStringLiteral("short.wav"), "RIFF\x10\0\0\0WA");
        QTest::newRow("another RIFF kind") << junk(QStringLiteral("avi.wav"), "RIFF\x10\0\0\0AVI LIST");
        QTest::newRow("a folder") << m_dir.path();
    }
    void refusesWhatIsNotAWaveFile()
    {
        QFETCH(QString, path);
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        device.setFileName(path);
        device.open();
        QVERIFY(!device.isOpen());
        device.play();
        device.stop();
        device.prev();
        QCOMPARE(played.count(), 0);
        QVERIFY(!device.isPlaying());
    }

    void playReachesQtMultimedia()
    {
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        device.setFileName(wave(QStringLiteral("buzz.wav")));
        device.open();
        QVERIFY(device.isOpen());
        device.play();
        QCOMPARE(played.count(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(device.isPlaying(), 3000);
        // A second press while it sounds starts it again.
        device.play();
        QCOMPARE(played.count(), 2);
    }

    void closedDeviceIsSilent()
    {
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        device.setFileName(wave(QStringLiteral("horn.wav")));
        device.open();
        device.close();
        device.play();
        QCOMPARE(played.count(), 0);
        QVERIFY(!device.isOpen());
    }

    void theEndOfAPlayIsReportedAndTheNextPlayStartsAgain()
    {
        if (!m_haveServer)
            QSKIP("no private PulseAudio server could be started here");
        SoundDevice device;
        QSignalSpy finished(&device, &SoundDevice::playbackFinished);
        device.setFileName(wave(QStringLiteral("short.wav"), 150));
        device.open();
        device.play();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        device.stop();
        device.prev();
        QCOMPARE(finished.count(), 1); // stopping is not an end of its own
        device.play();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000);
    }
};

QTEST_MAIN(TestSoundDevice)
#include "tst_sounddevice.moc"
