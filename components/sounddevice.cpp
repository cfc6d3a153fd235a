#include "sounddevice.h"

#include "pulseplayer.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QLoggingCategory>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

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

namespace {
// A buzzer or a horn is a few seconds long. Qt Multimedia decodes a whole clip
// into memory before it plays: a file of gigabytes would take that much memory,
// or hang the program, so longer or larger files are not played at all.
constexpr qint64 MaxSoundFileBytes = 50 * 1024 * 1024;
constexpr qint64 MaxSoundSeconds = 60;
} // namespace

bool SoundDevice::isWave(QIODevice& file)
{
    const QByteArray head = file.read(12);
    if (head.size() != 12 || !head.startsWith("RIFF") || !head.endsWith("WAVE"))
        return false;
    if (file.size() > MaxSoundFileBytes)
        return false;

    // Qt's loader waits for the rest of a clip that is cut short and never
    // gives up, and while any load waits, releasing any other clip blocks the
    // thread that releases it. So the chunk headers are walked (their bodies
    // are skipped, not read, but for the format's rate): the format chunk must
    // be whole and the sample data must all be there, a minute at most.
    const qint64 size = file.size();
    qint64 pos = 12;
    qint64 bytesPerSecond = 0;
    for (int chunks = 0; chunks < 64 && pos + 8 <= size; ++chunks) {
        if (!file.seek(pos))
            return false;
        const QByteArray header = file.read(8);
        if (header.size() != 8)
            return false;
        const qint64 body = pos + 8;
        const qint64 length = qFromLittleEndian<quint32>(header.constData() + 4);
        const QByteArray id = header.left(4);
        if (body + length > size)
            return false;
        if (id == "data")
            return bytesPerSecond > 0 && length <= MaxSoundSeconds * bytesPerSecond;
        if (id == "fmt ") {
            const QByteArray format = file.read(16);
            if (length < 16 || format.size() != 16)
                return false;
            bytesPerSecond = qFromLittleEndian<quint32>(format.constData() + 8);
        }
        pos = body + length + (length & 1);
    }
    return false;
}

void SoundDevice::open()
{
    close();
    if (!isWaveFile(m_fileName)) {
        qCDebug(lcSound) << "not a wave file, the device stays closed:" << m_fileName;
        return;
    }
    // QSoundEffect loads and decodes the clip on a thread of its own and meets
    // the sound server only when the clip is ready, so nothing here waits.
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setLoopCount(1);
    m_effect->setVolume(1.0f);
    connect(m_effect.get(), &QSoundEffect::playingChanged, this, &SoundDevice::onPlayingChanged);
    m_effect->setSource(QUrl::fromLocalFile(m_fileName));
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
}

void SoundDevice::play()
{
    if (!m_effect)
        return;
    if (m_effect->status() == QSoundEffect::Error || QMediaDevices::audioOutputs().isEmpty()) {
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

// Qt found no output (no server when the program started, or one that went
// away): the clip goes to the sound server directly. A server that is not
// there is looked for again at a play a second or more after the last try.
void SoundDevice::playThroughServer()
{
    constexpr qint64 RetryIntervalMs = 1000;
    if (m_serverMissedAt.isValid() && m_serverMissedAt.elapsed() < RetryIntervalMs)
        return;
    if (!m_server) {
        m_server = std::make_unique<PulsePlayer>();
        connect(m_server.get(), &PulsePlayer::finished, this, [this](bool reachedServer) {
            if (!reachedServer) {
                m_serverMissedAt.start();
                return;
            }
            m_serverMissedAt.invalidate();
            notifyFinished();
        });
    }
    m_server->play(m_fileName);
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
