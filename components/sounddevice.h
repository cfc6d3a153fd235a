#pragma once
// One sound, played on request: a wave file is opened, played, stopped, rewound
// and closed, and the owner is told when a play has ended by itself. A missing
// file, a file that is not a wave file, or a machine without sound leaves the
// device silent; nothing here ever waits for the sound system. Built with
// PulseAudio's client library, the device plays through it (pulseplayer.h),
// so that a sound server that starts late or restarts is heard again; Qt
// Multimedia plays where that library is not there.
//
// Position: Qt Multimedia's sound effects cannot seek or resume, so the device
// has one position only, the start of the clip. play() always sounds the clip
// from its beginning, stop() ends a play and leaves the device at the start,
// and prev() rewinds to where the device already stands. A play() while the
// clip still sounds starts it again: without a sound server Qt may report a
// clip as playing forever, and a second press of the buzzer must still sound.

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

class QIODevice;
class PulsePlayer;
class QIODevice;
class QSoundEffect;
class QTemporaryFile;

class SoundDevice : public QObject
{
    Q_OBJECT

public:
    explicit SoundDevice(QObject* parent = nullptr);
    ~SoundDevice() override;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    // Opens the named file when it is a RIFF/WAVE file it plays, closing what was
    // open (a format Qt Multimedia may not play is made 16-bit PCM first);
    // anything else leaves the device closed, and is named once on standard
    // error. The clip loads in the background.
    void open();
    void close();
    // Plays from the start of the clip and returns at once; a closed device, or
    // a clip Qt could not decode, does nothing.
    void play();
    void stop();
    void prev();

    bool isOpen() const { return m_effect != nullptr; }
    bool isPlaying() const;

    // A regular file holding "RIFF", a length, "WAVE", a whole format chunk of a
    // kind the device plays and all the sample data its data chunk announces.
    static bool isWaveFile(const QString& path);
    // The same rules on an open, seekable device; only the chunk headers are read.
    static bool isWave(QIODevice& file);

Q_SIGNALS:
    // A play reached the end of the clip by itself; stop(), close() and a
    // restarting play() do not count.
    void playbackFinished();
    // play() has handed the clip to Qt Multimedia.
    void playRequested();

private:
    void onPlayingChanged();
    void notifyFinished();
    void playThroughServer();

    QString m_fileName;
    std::unique_ptr<QSoundEffect> m_effect;
    // What is played: the file itself, or its 16-bit copy.
    QString m_playable;
    std::unique_ptr<QTemporaryFile> m_converted;
    // The last file said to be unplayable, so it is said once.
    QString m_namedUnplayable;
    // Plays when Qt has no output; made at the first such play.
    std::unique_ptr<PulsePlayer> m_server;
    // When a play last found no sound server.
    QElapsedTimer m_serverMissedAt;
    // Set while our own stop() runs, so that its end is not taken for the clip's.
    bool m_stopping = false;
    // Set while playbackFinished is being emitted: a close() from its handler
    // must not delete the effect that is still emitting.
    bool m_notifying = false;
};
