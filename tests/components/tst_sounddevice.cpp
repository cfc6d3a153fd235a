// The sound device: what it refuses to open, that every call returns at once and
// a play reaches Qt Multimedia, and, on a null sound sink, that the end of a play
// is reported while stop() and close() are not taken for one.
//
// The sound server is the test's own PulseAudio daemon with a null sink. Its
// runtime, state and configuration live in a temporary folder and the test
// reaches it through PULSE_SERVER, so no test ever sounds on or touches a real
// session; when no daemon can be started, the cases that need one are skipped.
// A second run of this program, started by the last case, repeats the quick
// cases against a server that does not exist.

#include "sounddevice.h"
#include "testwave.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

// Set in the second run, the one without a sound server.
constexpr char withoutServerVariable[] = "TALLIVOX_TEST_WITHOUT_SOUND_SERVER";

// On the null sink the end of a short clip is reported 0.05 to 1.5 s after the
// play; a loaded two-core machine gets ample room.
constexpr int playEndTimeoutMs = 10000;

// Far above the millisecond the calls take, far below anything a person notices
// as a stalled window.
constexpr qint64 atOnceMs = 1000;

} // namespace

class TestSoundDevice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QProcess m_pulse;
    bool m_haveServer = false;
    QString m_noServerReason;

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
        if (f.open(QIODevice::WriteOnly))
            f.write(content);
        return path;
    }

    // Client side: this process talks to the private server only, and keeps
    // the client cookie out of the real home folder.
    void useServerAt(const QString& socket)
    {
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
        qputenv("PULSE_COOKIE", m_dir.filePath(QStringLiteral("pulse/client-cookie")).toUtf8());
    }

    bool startPrivateServer(const QString& socket)
    {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulseaudio.isEmpty()) {
            m_noServerReason = QStringLiteral("pulseaudio is not installed");
            return false;
        }
        if (socket.size() > 100) {
            m_noServerReason = QStringLiteral("the temporary folder's path is too long for a socket");
            return false;
        }
        const QString home = m_dir.filePath(QStringLiteral("pulse"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH",
                                 "PULSE_STATE_PATH"})
            env.insert(QString::fromLatin1(name), home);
        // Without a bus or a display the daemon cannot announce itself to the session.
        for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "PULSE_SERVER", "PULSE_COOKIE"})
            env.remove(QString::fromLatin1(name));
        m_pulse.setProcessEnvironment(env);
        m_pulse.setProcessChannelMode(QProcess::MergedChannels);
#ifdef Q_OS_LINUX
        // The daemon never exits when idle; it must not outlive a crashed test.
        m_pulse.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
        // Running as root draws a warning only; --system stays off.
        m_pulse.start(pulseaudio, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                                   QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=error"),
                                   QStringLiteral("-L"), QStringLiteral("module-null-sink"),
                                   QStringLiteral("-L"),
                                   QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        if (!m_pulse.waitForStarted(5000)) {
            m_noServerReason = QStringLiteral("pulseaudio did not start: ") + m_pulse.errorString();
            return false;
        }
        // The socket appears once the modules are loaded, about 0.3 s after the start.
        const bool listening = QTest::qWaitFor(
            [&] { return QFileInfo::exists(socket) || m_pulse.state() == QProcess::NotRunning; }, 10000);
        if (!listening || !QFileInfo::exists(socket)) {
            m_noServerReason = QStringLiteral("pulseaudio offered no socket: ")
                + QString::fromLocal8Bit(m_pulse.readAll()).trimmed();
            return false;
        }
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("pulse")));
        const QString socket = m_dir.filePath(QStringLiteral("pulse/native"));
        if (qEnvironmentVariableIsSet(withoutServerVariable))
            m_noServerReason = QStringLiteral("this run checks the device without a sound server");
        else
            m_haveServer = startPrivateServer(socket);
        // Without a server the client still looks for the socket, finds none and
        // gives up at once; nothing falls back to a real session.
        useServerAt(socket);
    }

    void cleanupTestCase()
    {
        if (m_pulse.state() == QProcess::NotRunning)
            return;
        m_pulse.terminate();
        if (!m_pulse.waitForFinished(5000)) {
            m_pulse.kill();
            m_pulse.waitForFinished(5000);
        }
    }

    void refusesWhatIsNotAWaveFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty name") << QString();
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("gone.wav"));
        QTest::newRow("empty file") << junk(QStringLiteral("empty.wav"), QByteArray());
        QTest::newRow("text") << junk(QStringLiteral("text.wav"), "not a sound at all");
        QTest::newRow("RIFF and length only") << junk(QStringLiteral("riff.wav"), QByteArray("RIFF\x10\0\0\0", 8));
        QTest::newRow("truncated header") << junk(QStringLiteral("short.wav"), QByteArray("RIFF\x10\0\0\0WA", 10));
        QTest::newRow("another RIFF kind") << junk(QStringLiteral("avi.wav"), QByteArray("RIFF\x10\0\0\0AVI LIST", 16));
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
        QCOMPARE(device.fileName(), path);

        device.play();
        device.stop();
        device.prev();
        device.close();
        QCOMPARE(played.count(), 0);
        QVERIFY(!device.isPlaying());
    }

    // Only a whole wave file is handed to Qt: its loader waits for ever on a
    // clip cut short, and blocks the release of every other clip meanwhile.
    void onlyAWholeWaveFileIsAccepted()
    {
        const QString whole = wave(QStringLiteral("tone.wav"));
        QVERIFY(SoundDevice::isWaveFile(whole));
        QVERIFY(!SoundDevice::isWaveFile(junk(QStringLiteral("bare.wav"), QByteArray("RIFF\x04\0\0\0WAVE", 12))));
        QVERIFY(!SoundDevice::isWaveFile(junk(QStringLiteral("rifx.wav"), QByteArray("RIFX\x04\0\0\0WAVE", 12))));

        QFile file(whole);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!SoundDevice::isWaveFile(junk(QStringLiteral("cut.wav"), bytes.left(bytes.size() - 100))));
        QVERIFY(!SoundDevice::isWaveFile(junk(QStringLiteral("headonly.wav"), bytes.left(30))));
        QByteArray huge = bytes;
        huge[16] = char(0xff); // a format chunk claiming four gigabytes
        huge[17] = char(0xff);
        huge[18] = char(0xff);
        huge[19] = char(0x7f);
        QVERIFY(!SoundDevice::isWaveFile(junk(QStringLiteral("huge.wav"), huge)));
    }

    void everyCallReturnsAtOnce()
    {
        const QString path = wave(QStringLiteral("quick.wav"), 2000);
        QElapsedTimer clock;
        clock.start();

        SoundDevice device;
        device.setFileName(path);
        device.open();
        device.play();
        device.play();
        device.stop();
        device.prev();
        device.close();
        device.open();
        device.play();

        QVERIFY2(clock.elapsed() < atOnceMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    }

    void aWaveFileOpensAndItsPlayReachesQtMultimedia()
    {
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        device.setFileName(wave(QStringLiteral("buzz.wav")));

        device.open();
        QVERIFY(device.isOpen());
        QVERIFY(!device.isPlaying());

        device.play();
        QCOMPARE(played.count(), 1);
        QVERIFY(device.isPlaying());
    }

    void aSecondPlayWhileSoundingStartsTheClipAgain()
    {
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        QSignalSpy finished(&device, &SoundDevice::playbackFinished);
        device.setFileName(wave(QStringLiteral("long.wav"), 5000));
        device.open();
        device.play();

        device.play();

        QCOMPARE(played.count(), 2);
        QVERIFY(device.isPlaying());
        QCOMPARE(finished.count(), 0); // the restart is not an end
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
        QVERIFY(!device.isPlaying());
    }

    void aClosedDeviceOpensAgain()
    {
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        device.setFileName(wave(QStringLiteral("again.wav")));
        device.open();
        device.play();
        device.close();

        device.open();
        device.play();

        QVERIFY(device.isOpen());
        QCOMPARE(played.count(), 2);
    }

    void theEndOfAPlayIsReportedAndTheRewoundDevicePlaysAgain()
    {
        if (!m_haveServer)
            QSKIP(qPrintable(QStringLiteral("no private PulseAudio server: ") + m_noServerReason));
        SoundDevice device;
        QSignalSpy finished(&device, &SoundDevice::playbackFinished);
        // As the score box does: a finished play is stopped and rewound.
        connect(&device, &SoundDevice::playbackFinished, &device, [&device] {
            device.stop();
            device.prev();
        });
        device.setFileName(wave(QStringLiteral("end.wav"), 150));
        device.open();

        device.play();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, playEndTimeoutMs);
        QVERIFY(!device.isPlaying());

        device.play();
        QVERIFY(device.isPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, playEndTimeoutMs);
    }

    void stoppingOrClosingIsNotAnEnd()
    {
        if (!m_haveServer)
            QSKIP(qPrintable(QStringLiteral("no private PulseAudio server: ") + m_noServerReason));
        SoundDevice stopped, closed, witness;
        QSignalSpy stoppedEnds(&stopped, &SoundDevice::playbackFinished);
        QSignalSpy closedEnds(&closed, &SoundDevice::playbackFinished);
        QSignalSpy witnessEnds(&witness, &SoundDevice::playbackFinished);
        stopped.setFileName(wave(QStringLiteral("stopped.wav"), 5000));
        closed.setFileName(wave(QStringLiteral("closed.wav"), 5000));
        witness.setFileName(wave(QStringLiteral("witness.wav"), 150));
        for (SoundDevice* device : {&stopped, &closed, &witness}) {
            device->open();
            device->play();
        }
        // Once the short clip has ended, the long ones are loaded and sounding.
        QTRY_COMPARE_WITH_TIMEOUT(witnessEnds.count(), 1, playEndTimeoutMs);
        QVERIFY(stopped.isPlaying());
        QVERIFY(closed.isPlaying());

        stopped.stop();
        closed.close();

        // A late report of either would arrive before the next end of the short clip.
        witness.play();
        QTRY_COMPARE_WITH_TIMEOUT(witnessEnds.count(), 2, playEndTimeoutMs);
        QVERIFY(!stopped.isPlaying());
        QCOMPARE(stoppedEnds.count(), 0);
        QCOMPARE(closedEnds.count(), 0);
    }

    void closingOrDeletingFromTheEndHandlerIsSafe()
    {
        if (!m_haveServer)
            QSKIP(qPrintable(QStringLiteral("no private PulseAudio server: ") + m_noServerReason));
        SoundDevice closing;
        connect(&closing, &SoundDevice::playbackFinished, &closing, [&closing] { closing.close(); });
        closing.setFileName(wave(QStringLiteral("closing.wav"), 150));
        closing.open();
        QPointer<SoundDevice> deleting = new SoundDevice;
        connect(deleting, &SoundDevice::playbackFinished, deleting, [&deleting] { delete deleting; });
        deleting->setFileName(wave(QStringLiteral("deleting.wav"), 150));
        deleting->open();

        closing.play();
        deleting->play();

        QTRY_VERIFY_WITH_TIMEOUT(!closing.isOpen() && deleting.isNull(), playEndTimeoutMs);
        QSignalSpy played(&closing, &SoundDevice::playRequested);
        closing.play();
        QCOMPARE(played.count(), 0);
    }

    // The quick cases once more, in a run of this program that finds no server.
    void withoutAServerTheDeviceStaysQuickAndSilent()
    {
        if (qEnvironmentVariableIsSet(withoutServerVariable))
            QSKIP("this is the run without a server");
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(withoutServerVariable), QStringLiteral("1"));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("everyCallReturnsAtOnce"),
                   QStringLiteral("aWaveFileOpensAndItsPlayReachesQtMultimedia"),
                   QStringLiteral("aSecondPlayWhileSoundingStartsTheClipAgain"),
                   QStringLiteral("closedDeviceIsSilent"), QStringLiteral("aClosedDeviceOpensAgain")});
        QVERIFY(run.waitForFinished(60000));
        const QString log = QString::fromLocal8Bit(run.readAll());
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestSoundDevice)
#include "tst_sounddevice.moc"
