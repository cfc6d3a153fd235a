#pragma once
// The two sounds that ship beside the program, made from nothing but arithmetic:
// a harsh game buzzer and a brassy two-tone shot clock horn. Plain C++, so the
// build runs it on the host before anything else exists.

#include <string>
#include <vector>

namespace soundsynth {

constexpr int SampleRate = 44100;

// Samples in [-1, 1], mono, at SampleRate.
std::vector<double> buzzer();
std::vector<double> horn();

// Scales the sound so that its loudest sample sits at `peak` of full scale.
void normalise(std::vector<double>& samples, double peak);

// A 16-bit PCM mono RIFF/WAVE file of the samples, rounded and kept in range.
std::vector<unsigned char> waveFile(const std::vector<double>& samples, int sampleRate);

// Writes beside `path` first and renames, so that a failed run never leaves a
// half-written sound that the build would take as done.
bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace soundsynth
