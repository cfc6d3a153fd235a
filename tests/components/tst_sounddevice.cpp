// The sound device: what it refuses to open, that every call returns at once,
// that a play reaches Qt Multimedia, and when the end of a play is reported.
//
// The sound server is the test's own PulseAudio daemon with a null sink, kept in
// a temporary folder and reached through PULSE_SERVER, so no test sounds on or
// touches a real session; without a daemon the cases needing one are skipped.
// The last case reruns the quick one against a server that does not exist.

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
constexpr char withoutServerVariable[] = "TALLIVOX_TEST_WITHOUT_SOUND_SERVER";
// On the null sink a clip under 0.1 s ends within 0.05 s, a longer one takes
// about 2 s; a loaded two-core machine gets ample room.
constexpr int playEndTimeoutMs = 10000;
// Far above the millisecond the calls take, below what anyone notices as a stall.
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

    bool startPrivateServer(const QString& socket)
    {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulseaudio.isEmpty() || socket.size() > 100) {
            m_noServerReason = QStringLiteral("pulseaudio missing, or socket path too long");
            return false;
        }
        const QString home = m_dir.filePath(QStringLiteral("pulse"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"})
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
        m_pulse.start(pulseaudio, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                                   QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=error"),
                                   QStringLiteral("-L"), QStringLiteral("module-null-sink"), QStringLiteral("-L"),
                                   QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        const bool listening = m_pulse.waitForStarted(5000) && QTest::qWaitFor([&] {
            return QFileInfo::exists(socket) || m_pulse.state() == QProcess::NotRunning;
        }, 10000);
        if (!listening || !QFileInfo::exists(socket)) {
            m_noServerReason = QStringLiteral("pulseaudio offered no socket: ") + m_pulse.errorString()
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
        // Without a server the client finds no socket and gives up at once; it
        // never falls back to a real session, nor writes a cookie at home.
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
        qputenv("PULSE_COOKIE", m_dir.filePath(QStringLiteral("pulse/client-cookie")).toUtf8());
    }

    void cleanupTestCase()
    {
        m_pulse.terminate();
        if (!m_pulse.waitForFinished(5000))
            m_pulse.kill(); // and the death signal has it go with this process
    }

    // Qt's loader waits for ever on a clip cut short, so only a whole wave file
    // is accepted; whatever is refused leaves a device whose calls do nothing.
    void refusesWhatIsNotAWholeWaveFile_data()
    {
        QTest::addColumn<QString>("path");
        QFile tone(wave(QStringLiteral("whole.wav")));
        QVERIFY(tone.open(QIODevice::ReadOnly));
        const QByteArray whole = tone.readAll();
        QByteArray huge = whole;
        huge.replace(16, 4, QByteArray("\xff\xff\xff\x7f", 4)); // a format chunk of two gigabytes
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("gone.wav"));
        QTest::newRow("a folder") << m_dir.path();
        QTest::newRow("text") << junk(QStringLiteral("text.wav"), "not a sound at all");
        QTest::newRow("another RIFF kind") << junk(QStringLiteral("avi.wav"), QByteArray("RIFF\x10\0\0\0AVI LIST", 16));
        QTest::newRow("no chunks") << junk(QStringLiteral("bare.wav"), QByteArray("RIFF\x04\0\0\0WAVE", 12));
        QTest::newRow("cut in the samples") << junk(QStringLiteral("cut.wav"), whole.left(whole.size() - 100));
        QTest::newRow("chunk longer than the file") << junk(QStringLiteral("huge.wav"), huge);
    }
    void refusesWhatIsNotAWholeWaveFile()
    {
        QFETCH(QString, path);
        QVERIFY(!SoundDevice::isWaveFile(path));
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        device.setFileName(path);
        QElapsedTimer clock;
        clock.start();
        device.open();
        QVERIFY(!device.isOpen());
        device.play();
        device.stop();
        device.prev();
        device.close();
        QVERIFY(clock.elapsed() < atOnceMs);
        QVERIFY(!device.isPlaying());
        QCOMPARE(played.count(), 0);
    }

    // Also run without a sound server, by the last case.
    void aWaveFilePlaysReopensAndEveryCallReturnsAtOnce()
    {
        SoundDevice device;
        QSignalSpy played(&device, &SoundDevice::playRequested);
        QSignalSpy finished(&device, &SoundDevice::playbackFinished);
        device.setFileName(wave(QStringLiteral("long.wav"), 2000));
        QVERIFY(SoundDevice::isWaveFile(device.fileName()));
        QElapsedTimer clock;
        clock.start();

        device.open();
        QVERIFY(device.isOpen());
        device.play();
        QCOMPARE(played.count(), 1);
        QVERIFY(device.isPlaying());
        device.play(); // a second press while it sounds starts it again
        QCOMPARE(played.count(), 2);
        QVERIFY(device.isPlaying());
        device.stop();
        device.prev();
        device.close();
        device.play();
        QCOMPARE(played.count(), 2); // closed: silent
        QVERIFY(!device.isPlaying());
        device.open();
        device.play();
        QCOMPARE(played.count(), 3);

        QVERIFY2(clock.elapsed() < atOnceMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        QCOMPARE(finished.count(), 0); // neither a restart nor a stop is an end
    }

    // Short clips keep the waits for their ends short.
    void theEndOfAPlayIsReportedOnlyForARealEnd()
    {
        if (!m_haveServer)
            QSKIP(qPrintable(QStringLiteral("no private PulseAudio server: ") + m_noServerReason));
        SoundDevice buzzer, stopped, closed, closing;
        // As the score box does: a finished play is stopped and rewound.
        connect(&buzzer, &SoundDevice::playbackFinished, &buzzer, [&buzzer] { buzzer.stop(), buzzer.prev(); });
        connect(&closing, &SoundDevice::playbackFinished, &closing, [&closing] { closing.close(); });
        QPointer<SoundDevice> deleting = new SoundDevice;
        connect(deleting, &SoundDevice::playbackFinished, deleting, [&deleting] { delete deleting; });
        QSignalSpy buzzerEnds(&buzzer, &SoundDevice::playbackFinished);
        QSignalSpy stoppedEnds(&stopped, &SoundDevice::playbackFinished);
        QSignalSpy closedEnds(&closed, &SoundDevice::playbackFinished);
        buzzer.setFileName(wave(QStringLiteral("buzzer.wav"), 50));
        stopped.setFileName(wave(QStringLiteral("stopped.wav"), 5000));
        closed.setFileName(wave(QStringLiteral("closed.wav"), 5000));
        closing.setFileName(wave(QStringLiteral("closing.wav"), 50));
        deleting->setFileName(wave(QStringLiteral("deleting.wav"), 50));
        for (SoundDevice* device : {&buzzer, &stopped, &closed, &closing, deleting.data()}) {
            device->open();
            device->play();
        }

        // Closing or deleting a device from its own end handler is safe.
        QTRY_VERIFY_WITH_TIMEOUT(buzzerEnds.count() == 1 && !closing.isOpen() && deleting.isNull(), playEndTimeoutMs);
        QVERIFY(!buzzer.isPlaying());
        // The long clips still sound.
        QVERIFY(stopped.isPlaying());
        QVERIFY(closed.isPlaying());
        stopped.stop();
        closed.close();

        // The second buzzer starts from the beginning and ends again; a late report
        // of the stop or the close would arrive before that end.
        buzzer.play();
        QVERIFY(buzzer.isPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(buzzerEnds.count(), 2, playEndTimeoutMs);
        QVERIFY(!stopped.isPlaying());
        QCOMPARE(stoppedEnds.count(), 0);
        QCOMPARE(closedEnds.count(), 0);
    }

    void withoutAServerTheDeviceStaysQuickAndSilent()
    {
        if (qEnvironmentVariableIsSet(withoutServerVariable))
            QSKIP("this is the run without a server");
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(withoutServerVariable), QStringLiteral("1"));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("aWaveFilePlaysReopensAndEveryCallReturnsAtOnce")});
        if (!run.waitForFinished(60000)) {
            // Every call's promptness is the run's own check; a run that passed
            // them but lingers in Qt Multimedia's teardown is not this device's
            // fault (the end-to-end tests see the program itself end at once).
            run.kill();
            run.waitForFinished(5000);
            const QString log = QString::fromLocal8Bit(run.readAll());
            QVERIFY2(log.contains(QStringLiteral(", 0 failed,")) && log.contains(QStringLiteral("Totals:")), qPrintable(log));
            qWarning("the run without a server passed its checks but did not end within 60 s");
            return;
        }
        const QString log = QString::fromLocal8Bit(run.readAll());
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestSoundDevice)
#include "tst_sounddevice.moc"
