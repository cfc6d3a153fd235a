#include "sounddevice.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>

SoundDevice::SoundDevice(QObject* parent)
    : QObject(parent)
{
}

SoundDevice::~SoundDevice() = default;

bool SoundDevice::isWaveFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

void SoundDevice::open()
{
    close();
    if (!isWaveFile(m_fileName))
        return;
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setLoopCount(1);
    m_effect->setVolume(1.0f);
    connect(m_effect.get(), &QSoundEffect::playingChanged, this, &SoundDevice::onPlayingChanged);
    m_effect->setSource(QUrl::fromLocalFile(m_fileName));
}

void SoundDevice::close()
{
    if (!m_effect)
        return;
    m_stopping = true;
    m_effect->stop();
    m_effect.reset();
    m_stopping = false;
}

void SoundDevice::play()
{
    if (!m_effect || m_effect->status() == QSoundEffect::Error)
        return;
    if (m_effect->isPlaying())
        stop();
    m_effect->play();
    Q_EMIT playRequested();
}

void SoundDevice::stop()
{
    if (!m_effect)
        return;
    m_stopping = true;
    m_effect->stop();
    m_stopping = false;
}

void SoundDevice::prev()
{
}

bool SoundDevice::isPlaying() const
{
    return m_effect && m_effect->isPlaying();
}

void SoundDevice::onPlayingChanged()
{
    // Only an end the clip reached by itself counts as finished.
    if (m_effect && !m_effect->isPlaying() && !m_stopping)
        Q_EMIT playbackFinished();
}
