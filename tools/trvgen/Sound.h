#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trv::gen {

struct Tone {
    int hertz = 0;
    int milliseconds = 0;
};

// A buzz of consecutive tones, each faded in and out so that no tone starts or ends with a click.
struct SoundDesign {
    int sampleRate = 22050;
    int peak = 16000; // of 32767
    int fadeMilliseconds = 8;
    std::vector<Tone> tones;
};

// The error sound: a low falling two-tone buzz of 0.32 s.
SoundDesign errorSoundDesign();

// 16-bit mono samples. Integer arithmetic only, so every build makes the same bytes.
std::vector<int16_t> synthesise(const SoundDesign& design);

// A RIFF/WAVE file with one PCM format chunk and one data chunk, 16-bit mono.
std::string wavFile(const std::vector<int16_t>& samples, int sampleRate);

} // namespace trv::gen
