#include "pulseplayer.h"

#include "wavefile.h"

#include <QFile>

#ifdef TALLIVOX_HAVE_PULSE
#include <pulse/error.h>
#include <pulse/simple.h>
#endif

namespace {

#ifdef TALLIVOX_HAVE_PULSE
struct Clip
{
    pa_sample_spec sampleFormat = {};
    QByteArray samples;
};

// The clip through the sound device's own wave reader; the device hands over a
// file it plays, made 16-bit PCM when it was anything else.
std::optional<Clip> readClip(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<WaveFormat> format = readWaveFormat(file);
    if (!format || format->isFloat || format->bits != 16)
        return std::nullopt;
    Clip clip;
    clip.sampleFormat = {PA_SAMPLE_S16LE, quint32(format->rate), quint8(format->channels)};
    file.seek(format->dataOffset);
    clip.samples = file.read(format->dataLength);
    if (!pa_sample_spec_valid(&clip.sampleFormat) || clip.samples.size() != format->dataLength)
        return std::nullopt;
    return clip;
}
#endif

} // namespace

PulsePlayer::PulsePlayer(QObject* parent)
    : QObject(parent)
{
}

PulsePlayer::~PulsePlayer()
{
    {
        std::lock_guard lock(m_mutex);
        m_quitting = true;
        m_pending.reset();
    }
    m_cancel = true;
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

bool PulsePlayer::available()
{
#ifdef TALLIVOX_HAVE_PULSE
    return true;
#else
    return false;
#endif
}

void PulsePlayer::play(const QString& path)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = path;
        m_cancel = true;
        m_playing = true;
    }
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
    m_wake.notify_one();
}

void PulsePlayer::stop()
{
    std::lock_guard lock(m_mutex);
    m_pending.reset();
    m_cancel = true;
}

void PulsePlayer::run()
{
    for (;;) {
        QString path;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quitting || m_pending; });
            if (m_quitting)
                return;
            path = *m_pending;
            m_pending.reset();
            m_cancel = false;
        }
        const Outcome outcome = playFile(path);
        bool more = false;
        {
            std::lock_guard lock(m_mutex);
            more = m_pending.has_value();
            m_playing = more;
        }
        if (!more && outcome != Outcome::Cut) {
            const bool reached = outcome == Outcome::Played;
            QMetaObject::invokeMethod(this, [this, reached] { Q_EMIT finished(reached); }, Qt::QueuedConnection);
        }
    }
}

PulsePlayer::Outcome PulsePlayer::playFile(const QString& path)
{
#ifdef TALLIVOX_HAVE_PULSE
    const std::optional<Clip> clip = readClip(path);
    if (!clip)
        return Outcome::NoServer;
    int error = 0;
    pa_simple* stream = pa_simple_new(nullptr, "Tallivox", PA_STREAM_PLAYBACK, nullptr, "Tallivox sound",
                                      &clip->sampleFormat, nullptr, nullptr, &error);
    if (!stream)
        return Outcome::NoServer;
    // Small pieces, so that a newer play or a stop cuts this one within a few
    // milliseconds; freeing the stream drops what the server still holds of it.
    const qsizetype piece = qsizetype(pa_bytes_per_second(&clip->sampleFormat) / 50 / pa_frame_size(&clip->sampleFormat))
                            * qsizetype(pa_frame_size(&clip->sampleFormat));
    const char* data = clip->samples.constData();
    bool whole = true;
    for (qsizetype at = 0; at < clip->samples.size() && whole; at += piece) {
        whole = !m_cancel
                && pa_simple_write(stream, data + at, size_t(std::min(piece, clip->samples.size() - at)), &error) == 0;
    }
    // What the server still holds plays out unless a newer play comes first.
    if (whole) {
        const pa_usec_t held = pa_simple_get_latency(stream, &error);
        const auto end = std::chrono::steady_clock::now()
                         + std::chrono::microseconds(held == pa_usec_t(-1) ? 0 : std::min<pa_usec_t>(held, 10000000));
        while (!m_cancel && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pa_simple_free(stream);
    return m_cancel ? Outcome::Cut : Outcome::Played;
#else
    Q_UNUSED(path);
    return Outcome::NoServer;
#endif
}
