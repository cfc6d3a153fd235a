// Writes one of the program's sounds: tallivox_soundsynth buzzer|horn FILE.wav

#include "synth.h"

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    if (argc != 3 || (std::strcmp(argv[1], "buzzer") != 0 && std::strcmp(argv[1], "horn") != 0)) {
        std::fprintf(stderr, "usage: %s buzzer|horn FILE.wav\n", argc > 0 ? argv[0] : "tallivox_soundsynth");
        return 2;
    }
    const bool isBuzzer = std::strcmp(argv[1], "buzzer") == 0;
    const auto samples = isBuzzer ? soundsynth::buzzer() : soundsynth::horn();
    if (!soundsynth::writeFile(argv[2], soundsynth::waveFile(samples, soundsynth::SampleRate))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
