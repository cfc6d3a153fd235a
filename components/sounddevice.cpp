#include "sounddevice.h"

#include "pulseplayer.h"
#include "wavefile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QLoggingCategory>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>

#include <cstdio>

Q_LOGGING_CATEGORY(lcSound, "tallivox.sound", QtWarningMsg)

SoundDevice::SoundDevice(QObject* parent)
    : QObject(parent)
{
}

SoundDevice::~SoundDevice()
{
    close();
}

bool SoundDevice::isWaveFile(const QString& path)
{
    // Only a regular file is read: opening a folder fails, and opening a named
    // pipe would block until someone writes to it.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isWave(file);
}

bool SoundDevice::isWave(QIODevice& file)
{
    return readWaveFormat(file).has_value();
}

void SoundDevice::open()
{
    close();
    // Only a regular file is read: opening a folder fails, and opening a named
    // pipe would block until someone writes to it.
    QFile file(m_fileName);
    std::optional<WaveFormat> format;
    if (!m_fileName.isEmpty() && QFileInfo(m_fileName).isFile() && file.open(QIODevice::ReadOnly))
        format = readWaveFormat(file);
    if (!format) {
        // Said once for each file, not at every reopening after the options dialog.
        if (QFileInfo::exists(m_fileName) && m_fileName != m_namedUnplayable) {
            std::fprintf(stderr, "tallivox: %s is not a wave file that can be played; the sound stays silent\n",
                         qPrintable(m_fileName));
            m_namedUnplayable = m_fileName;
        }
        return;
    }
    m_playable = m_fileName;
    // What Qt Multimedia may not play as it is (8, 24 or 32 bits, float, a
    // streamed file's sizes) is made 16-bit PCM once, now, in a file of its own.
    if (!format->playsAsItIs()) {
        m_converted = std::make_unique<QTemporaryFile>();
        const QByteArray wave = toPcm16Wave(file, *format);
        if (!m_converted->open() || m_converted->write(wave) != wave.size() || !m_converted->flush()) {
            m_converted.reset();
            return;
        }
        m_playable = m_converted->fileName();
    }
    // QSoundEffect loads and decodes the clip on a thread of its own and meets
    // the sound server only when the clip is ready, so nothing here waits.
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setLoopCount(1);
    m_effect->setVolume(1.0f);
    connect(m_effect.get(), &QSoundEffect::playingChanged, this, &SoundDevice::onPlayingChanged);
    m_effect->setSource(QUrl::fromLocalFile(m_playable));
}

void SoundDevice::close()
{
    if (m_server)
        m_server->stop();
    if (!m_effect)
        return;
    m_effect->disconnect(this);
    m_effect->stop();
    QSoundEffect* effect = m_effect.release();
    if (m_notifying)
        effect->deleteLater();
    else
        delete effect;
    m_converted.reset();
}

void SoundDevice::play()
{
    if (!m_effect)
        return;
    // Qt 6.4 meets the sound server once per process: after the server has
    // restarted, its effect still "plays", into a connection that is gone, and
    // never sounds again. With PulseAudio's own library at hand every play
    // goes to the server directly, which meets whatever server is there now.
    if (PulsePlayer::available() || m_effect->status() == QSoundEffect::Error
        || QMediaDevices::audioOutputs().isEmpty()) {
        playThroughServer();
        return;
    }
    // A clip that still sounds (or, without a server, never stops "sounding") is
    // stopped first: QSoundEffect would otherwise report it stopped in passing,
    // which must not read as the end of the clip.
    if (m_effect->isPlaying())
        stop();
    m_effect->play();
    Q_EMIT playRequested();
}

// The clip goes to the sound server directly, on a connection of its own. A
// server that is not there (not yet started, or gone and not back yet) is
// looked for again at a play a second or more after the last try.
void SoundDevice::playThroughServer()
{
    constexpr qint64 RetryIntervalMs = 1000;
    if (m_serverMissedAt.isValid() && m_serverMissedAt.elapsed() < RetryIntervalMs)
        return;
    if (!m_server) {
        m_server = std::make_unique<PulsePlayer>();
        connect(m_server.get(), &PulsePlayer::finished, this, [this](bool reachedServer) {
            if (!reachedServer) {
                qCDebug(lcSound) << "no sound server took the clip; looked for again at a play a second from now";
                m_serverMissedAt.start();
                return;
            }
            m_serverMissedAt.invalidate();
            notifyFinished();
        });
    }
    m_server->play(m_playable);
    Q_EMIT playRequested();
}

void SoundDevice::stop()
{
    if (m_server)
        m_server->stop();
    if (!m_effect)
        return;
    m_stopping = true;
    m_effect->stop();
    m_stopping = false;
}

void SoundDevice::prev()
{
    // The device always stands at the start of the clip between plays.
}

bool SoundDevice::isPlaying() const
{
    return (m_effect && m_effect->isPlaying()) || (m_server && m_server->isPlaying());
}

void SoundDevice::onPlayingChanged()
{
    if (m_stopping || !m_effect || m_effect->isPlaying())
        return;
    notifyFinished();
}

void SoundDevice::notifyFinished()
{
    // The handler may close or even delete this device.
    const QPointer<SoundDevice> self(this);
    m_notifying = true;
    Q_EMIT playbackFinished();
    if (self)
        m_notifying = false;
}
