#include "pulseplayer.h"

#include <QFile>
#include <QtEndian>

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

// The format and the samples of a RIFF/WAVE file of integer PCM (8 to 32 bits)
// or 32-bit float, plain or in the extensible form.
std::optional<Clip> readClip(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(50 * 1024 * 1024 + 1);
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    Clip clip;
    bool haveFormat = false;
    for (qsizetype pos = 12; pos + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(pos, 4);
        const qsizetype length = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (length > bytes.size() - body)
            return std::nullopt;
        if (id == "fmt " && length >= 16) {
            const char* f = bytes.constData() + body;
            quint16 tag = qFromLittleEndian<quint16>(f);
            const quint16 bits = qFromLittleEndian<quint16>(f + 14);
            if (tag == 0xFFFE && length >= 26)
                tag = qFromLittleEndian<quint16>(f + 24); // the sub-format's own tag
            clip.sampleFormat.channels = quint8(qFromLittleEndian<quint16>(f + 2));
            clip.sampleFormat.rate = qFromLittleEndian<quint32>(f + 4);
            clip.sampleFormat.format = tag == 3 && bits == 32 ? PA_SAMPLE_FLOAT32LE
                               : tag != 1             ? PA_SAMPLE_INVALID
                               : bits == 8            ? PA_SAMPLE_U8
                               : bits == 16           ? PA_SAMPLE_S16LE
                               : bits == 24           ? PA_SAMPLE_S24LE
                               : bits == 32           ? PA_SAMPLE_S32LE
                                                      : PA_SAMPLE_INVALID;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || !pa_sample_spec_valid(&clip.sampleFormat))
                return std::nullopt;
            clip.samples = bytes.mid(body, length);
            return clip;
        }
        pos = body + length + (length & 1);
    }
    return std::nullopt;
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
