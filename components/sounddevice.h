#pragma once
// One sound, played on request: a wave file is opened, played, stopped, rewound
// and closed, and the owner is told when a play has ended by itself. A missing
// file, a file that is not a wave file, or a machine without sound leaves the
// device silent; nothing here ever waits for the sound system.

#include <QObject>
#include <QString>

#include <memory>

class QSoundEffect;

class SoundDevice : public QObject
{
    Q_OBJECT

public:
    explicit SoundDevice(QObject* parent = nullptr);
    ~SoundDevice() override;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    void open();
    void close();
    // Plays from the start of the clip; a play while one is still sounding starts
    // it again, so that a sound system that never reports an end cannot mute it.
    void play();
    void stop();
    // Rewinds to the start. The clip always plays from its start, so this only
    // keeps the device's state in step with its commands.
    void prev();

    bool isOpen() const { return m_effect != nullptr; }
    bool isPlaying() const;

    // The first bytes of a RIFF/WAVE file, the only kind the device plays.
    static bool isWaveFile(const QString& path);

Q_SIGNALS:
    void playbackFinished();
    void playRequested();

private:
    void onPlayingChanged();

    QString m_fileName;
    std::unique_ptr<QSoundEffect> m_effect;
    bool m_stopping = false;
};
