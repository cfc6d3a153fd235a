// The buzzer and the horn that the build writes beside the program: whole wave
// files the sound device accepts, of the right length, loud without clipping,
// starting and ending without a click, and sounding like what they are.

#include "sounddevice.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double FullScale = 32767;

struct Wave
{
    QString error;
    qint64 fileSize = 0;
    quint32 riffSize = 0;
    quint16 format = 0;
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint32 byteRate = 0;
    quint16 blockAlign = 0;
    quint16 bits = 0;
    std::vector<qint16> samples;

    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0; }
};

Wave readWave(const QString& path)
{
    Wave w;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        w.error = QStringLiteral("cannot open ") + path;
        return w;
    }
    const QByteArray b = file.readAll();
    w.fileSize = b.size();
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") {
        w.error = QStringLiteral("not RIFF/WAVE");
        return w;
    }
    const auto u32 = [&b](qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); };
    const auto u16 = [&b](qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); };
    w.riffSize = u32(4);
    qsizetype pos = 12;
    bool haveFormat = false;
    while (pos + 8 <= b.size()) {
        const QByteArray id = b.mid(pos, 4);
        const quint32 length = u32(pos + 4);
        const qsizetype body = pos + 8;
        if (body + qsizetype(length) > b.size()) {
            w.error = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return w;
        }
        if (id == "fmt " && length >= 16) {
            w.format = u16(body);
            w.channels = u16(body + 2);
            w.sampleRate = u32(body + 4);
            w.byteRate = u32(body + 8);
            w.blockAlign = u16(body + 12);
            w.bits = u16(body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                w.error = QStringLiteral("data before format");
                return w;
            }
            for (quint32 i = 0; i + 1 < length; i += 2)
                w.samples.push_back(qint16(u16(body + i)));
        }
        pos = body + length + (length & 1);
    }
    if (w.samples.empty())
        w.error = QStringLiteral("no samples");
    return w;
}

double peakOf(const std::vector<qint16>& s)
{
    int peak = 0;
    for (qint16 v : s)
        peak = std::max(peak, std::abs(int(v)));
    return peak;
}

double rmsDbfs(const std::vector<qint16>& s)
{
    double sum = 0;
    for (qint16 v : s)
        sum += double(v) * v;
    return 20 * std::log10(std::sqrt(sum / double(s.size())) / FullScale);
}

// Strength of one frequency over a Hann-windowed stretch (Goertzel).
double strengthAt(const std::vector<qint16>& s, std::size_t from, std::size_t count, double frequency, double rate)
{
    const double w = 2 * std::numbers::pi * frequency / rate;
    const double coeff = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(count - 1));
        const double s0 = hann * s[from + i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coeff * s1 * s2));
}

struct Peak
{
    double frequency;
    double strength;
};

// The spectral peaks between `low` and `high` Hz in the steady middle of the
// sound, strongest first.
std::vector<Peak> peaks(const Wave& w, double low, double high)
{
    const std::size_t count = w.sampleRate / 2;
    const std::size_t from = w.samples.size() / 2 - count / 2;
    std::vector<Peak> scan;
    for (double f = low; f <= high; f += 1)
        scan.push_back({f, strengthAt(w.samples, from, count, f, w.sampleRate)});
    std::vector<Peak> found;
    for (std::size_t i = 1; i + 1 < scan.size(); ++i)
        if (scan[i].strength > scan[i - 1].strength && scan[i].strength >= scan[i + 1].strength)
            found.push_back(scan[i]);
    std::sort(found.begin(), found.end(), [](const Peak& a, const Peak& b) { return a.strength > b.strength; });
    return found;
}

// How many of the harmonics 2 to 30 of `fundamental` are at least `fraction`
// as strong as the fundamental itself. Each is looked for a little around its
// nominal place, since detuned voices and a scooped pitch smear it.
int strongHarmonics(const Wave& w, double fundamental, double fraction)
{
    const std::size_t count = w.sampleRate / 2;
    const std::size_t from = w.samples.size() / 2 - count / 2;
    const double base = strengthAt(w.samples, from, count, fundamental, w.sampleRate);
    int strong = 0;
    for (int k = 2; k <= 30 && k * fundamental < w.sampleRate / 2.0; ++k) {
        double best = 0;
        for (double f = k * fundamental - k - 3; f <= k * fundamental + k + 3; f += 1)
            best = std::max(best, strengthAt(w.samples, from, count, f, w.sampleRate));
        if (best >= fraction * base)
            ++strong;
    }
    return strong;
}

QString programFile(const char* name)
{
    return QStringLiteral(TALLIVOX_PROGRAM_FOLDER "/") + QLatin1String(name);
}

} // namespace

class TestSounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholePcmWaveFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("buzzer") << programFile("buzzer.wav") << 1.5 << 2.0;
        QTest::newRow("horn") << programFile("horn.wav") << 0.8 << 1.2;
    }

    void wholePcmWaveFiles()
    {
        QFETCH(QString, path);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        QVERIFY2(SoundDevice::isWaveFile(path), qPrintable(path));
        const Wave w = readWave(path);
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        QCOMPARE(qint64(w.riffSize), w.fileSize - 8);
        QCOMPARE(w.format, quint16(1));
        QCOMPARE(w.channels, quint16(1));
        QCOMPARE(w.sampleRate, quint32(44100));
        QCOMPARE(w.bits, quint16(16));
        QCOMPARE(w.blockAlign, quint16(2));
        QCOMPARE(w.byteRate, quint32(88200));
        QVERIFY2(w.seconds() >= shortest && w.seconds() <= longest, qPrintable(QString::number(w.seconds())));

        SoundDevice device;
        device.setFileName(path);
        device.open();
        QVERIFY(device.isOpen());
    }

    void loudButNeverClipping_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("quietestRms");
        QTest::newRow("buzzer") << programFile("buzzer.wav") << -8.0;
        QTest::newRow("horn") << programFile("horn.wav") << -12.0;
    }

    void loudButNeverClipping()
    {
        QFETCH(QString, path);
        QFETCH(double, quietestRms);
        const Wave w = readWave(path);
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        const double peak = peakOf(w.samples);
        QVERIFY2(peak >= 0.9 * FullScale, qPrintable(QString::number(peak)));
        // Not a single sample at or next to the rails.
        QVERIFY2(peak < 0.99 * FullScale, qPrintable(QString::number(peak)));
        QVERIFY2(rmsDbfs(w.samples) >= quietestRms, qPrintable(QString::number(rmsDbfs(w.samples))));
    }

    void startsAndEndsWithoutAClick_data() { loudButNeverClipping_data(); }

    void startsAndEndsWithoutAClick()
    {
        QFETCH(QString, path);
        const Wave w = readWave(path);
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        for (std::size_t i = 0; i < 10; ++i) {
            QVERIFY(std::abs(w.samples[i]) < 0.01 * FullScale);
            QVERIFY(std::abs(w.samples[w.samples.size() - 1 - i]) < 0.01 * FullScale);
        }
        // ... and the attack is short: half the peak within the first 50 ms.
        const double peak = peakOf(w.samples);
        const auto firstLoud = std::find_if(w.samples.begin(), w.samples.end(),
                                            [peak](qint16 v) { return std::abs(v) >= peak / 2; });
        QVERIFY(double(firstLoud - w.samples.begin()) / w.sampleRate < 0.05);
    }

    void theBuzzerIsAHarshMidPitchedBuzz()
    {
        const Wave w = readWave(programFile("buzzer.wav"));
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        const std::vector<Peak> p = peaks(w, 150, 1000);
        QVERIFY(!p.empty());
        QVERIFY2(p.front().frequency >= 300 && p.front().frequency <= 600, qPrintable(QString::number(p.front().frequency)));
        // Rich in harmonics: a pure tone has none above 5 %, a triangle wave one.
        const int harmonics = strongHarmonics(w, p.front().frequency, 0.05);
        QVERIFY2(harmonics >= 6, qPrintable(QString::number(harmonics)));
    }

    void theHornSoundsTwoTones()
    {
        const Wave w = readWave(programFile("horn.wav"));
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        const std::vector<Peak> p = peaks(w, 300, 600);
        QVERIFY(p.size() >= 2);
        QVERIFY2(std::abs(p[0].frequency - p[1].frequency) >= 50,
                 qPrintable(QStringLiteral("%1 and %2 Hz").arg(p[0].frequency).arg(p[1].frequency)));
        QVERIFY(p[1].strength >= 0.3 * p[0].strength);
        // Brass has harmonics too, though fewer than the buzzer.
        const int harmonics = strongHarmonics(w, p[0].frequency, 0.05);
        QVERIFY2(harmonics >= 3, qPrintable(QString::number(harmonics)));
    }
};

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
