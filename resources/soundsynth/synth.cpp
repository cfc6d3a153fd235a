#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>

namespace soundsynth {

namespace {

constexpr double Pi = std::numbers::pi;
// Harmonics are summed one by one up to here: nothing folds back below it as
// it would from a naive square wave, and the top stays free of hiss.
constexpr double TopFrequency = 14000;

// One harmonic-rich voice: its pitch over time, the weight of harmonic k
// (sounding at `partial` Hz) at time t, and its level in the mix.
struct Voice
{
    std::function<double(double t)> frequency;
    std::function<double(int k, double partial, double t)> weight;
    double level = 1;
};

void addVoice(std::vector<double>& out, const Voice& voice)
{
    double phase = 0; // in cycles of the fundamental, kept in [0, 1)
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double t = double(n) / SampleRate;
        const double f = voice.frequency(t);
        double sum = 0;
        for (int k = 1; k * f < TopFrequency; ++k) {
            const double w = voice.weight(k, k * f, t);
            if (w == 0)
                continue;
            const double cycles = k * phase;
            sum += w * std::sin(2 * Pi * (cycles - std::floor(cycles)));
        }
        out[n] += voice.level * sum;
        phase += f / SampleRate;
        phase -= std::floor(phase);
    }
}

double peakOf(const std::vector<double>& samples)
{
    double peak = 0;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

// Drives the mix into a soft limit: it flattens the waveform's peaks, which is
// what makes the sound harsh and keeps it loud for its peak level.
void saturate(std::vector<double>& samples, double drive)
{
    const double peak = peakOf(samples);
    if (peak == 0)
        return;
    for (double& s : samples)
        s = std::tanh(drive * s / peak);
}

// Raised-cosine attack and release: the sound starts and ends at silence
// without a click.
void shape(std::vector<double>& samples, double attack, double release)
{
    const double length = double(samples.size()) / SampleRate;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        const double t = double(n) / SampleRate;
        double gain = 1;
        if (t < attack)
            gain = 0.5 - 0.5 * std::cos(Pi * t / attack);
        else if (t > length - release)
            gain = 0.5 - 0.5 * std::cos(Pi * std::max(0.0, length - t) / release);
        samples[n] *= gain;
    }
}

// Harmonic weights: a square wave has the odd harmonics at 1/k, a sawtooth all
// of them. Both roll off gently above a few kilohertz, the way a horn's
// diaphragm does.
double rollOff(double partial) { return 1 / (1 + (partial / 12000) * (partial / 12000)); }

double squareWeight(int k, double partial)
{
    return k % 2 == 1 ? rollOff(partial) / k : 0;
}

double sawWeight(int k, double partial) { return rollOff(partial) / k; }

std::function<double(double)> steady(double frequency)
{
    return [frequency](double) { return frequency; };
}

constexpr double NormalPeak = 0.966; // -0.3 dB below full scale

} // namespace

// An arena buzzer: a square wave with a slightly detuned sawtooth beside it and
// a softer square an octave below, roughened by a 60 Hz flutter the way a
// mains-driven horn sounds, then driven hard into the limit.
std::vector<double> buzzer()
{
    constexpr double Length = 1.8;
    constexpr double Pitch = 370;
    std::vector<double> out(std::size_t(Length * SampleRate), 0.0);
    addVoice(out, {steady(Pitch), [](int k, double p, double) { return squareWeight(k, p); }, 1.0});
    addVoice(out, {steady(Pitch * 1.0065), [](int k, double p, double) { return sawWeight(k, p); }, 0.6});
    addVoice(out, {steady(Pitch / 2 * 0.996), [](int k, double p, double) { return squareWeight(k, p); }, 0.3});
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] *= 1 + 0.2 * std::sin(2 * Pi * 60 * double(n) / SampleRate);
    saturate(out, 2.2);
    shape(out, 0.008, 0.05);
    normalise(out, NormalPeak);
    return out;
}

// A shot clock horn: two brass-like tones a major third apart (G and B), each
// with a slightly detuned voice beside it. Each tone scoops up into its pitch and
// brightens as it speaks, and its harmonics around 1 kHz are lifted, which is
// what brass sounds like.
std::vector<double> horn()
{
    constexpr double Length = 1.0;
    std::vector<double> out(std::size_t(Length * SampleRate), 0.0);
    const auto brass = [](int k, double partial, double t) {
        const double cutoff = 700 + 3300 * (1 - std::exp(-t / 0.05));
        const double formant = 0.6 + 1.4 * std::exp(-std::pow((partial - 1100) / 700, 2));
        const double r = partial / cutoff;
        return formant / (1 + r * r * r * r) / k;
    };
    // A quieter voice a little off each tone thickens it; at a third of the
    // main voice's level its beating stays a shimmer, never a wobble.
    struct Part
    {
        double detune;
        double level;
    };
    for (double pitch : {392.0, 493.9}) {
        for (const Part part : {Part{1.0, 0.5}, Part{1.004, 0.17}}) {
            const double f = pitch * part.detune;
            const auto scoop = [f](double t) { return f * (1 - 0.025 * std::exp(-t / 0.04)); };
            addVoice(out, {scoop, brass, part.level});
        }
    }
    saturate(out, 1.4);
    shape(out, 0.03, 0.09);
    normalise(out, NormalPeak);
    return out;
}

void normalise(std::vector<double>& samples, double peak)
{
    const double loudest = peakOf(samples);
    if (loudest == 0)
        return;
    for (double& s : samples)
        s *= peak / loudest;
}

std::vector<unsigned char> waveFile(const std::vector<double>& samples, int sampleRate)
{
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    std::vector<unsigned char> b;
    b.reserve(44 + dataBytes);
    const auto text = [&b](const char* s) {
        for (int i = 0; i < 4; ++i)
            b.push_back((unsigned char)s[i]);
    };
    const auto u32 = [&b](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back((unsigned char)((v >> (8 * i)) & 0xff));
    };
    const auto u16 = [&b](std::uint16_t v) {
        b.push_back((unsigned char)(v & 0xff));
        b.push_back((unsigned char)(v >> 8));
    };
    text("RIFF");
    u32(36 + dataBytes);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(std::uint32_t(sampleRate));
    u32(std::uint32_t(sampleRate) * 2);
    u16(2);
    u16(16);
    text("data");
    u32(dataBytes);
    for (double s : samples) {
        const double scaled = std::nearbyint(std::clamp(s, -1.0, 1.0) * 32767);
        u16(std::uint16_t(std::int16_t(scaled)));
    }
    return b;
}

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    const std::string part = path + ".part";
    {
        std::ofstream file(part, std::ios::binary | std::ios::trunc);
        if (!file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())))
            return false;
        file.close();
        if (!file)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(part, path, error);
    if (error) {
        std::filesystem::remove(part, error);
        return false;
    }
    return true;
}

} // namespace soundsynth
