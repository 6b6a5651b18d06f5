#include "tools/trvgen/Sound.h"

#include "tools/trvgen/ByteWriter.h"

#include <algorithm>

namespace trv::gen {

SoundDesign errorSoundDesign() {
    SoundDesign design;
    design.tones = {{185, 150}, {139, 170}};
    return design;
}

namespace {

// One period of the buzz: three parts triangle for body, one part square for the edge,
// from a phase of 32 bits; the result lies in -32768 .. 32767.
int32_t buzzAt(uint32_t phase) {
    const int32_t p = static_cast<int32_t>(phase >> 16); // 0 .. 65535
    const int32_t triangle = p < 32768 ? 2 * p - 32768 : 32767 - 2 * (p - 32768);
    const int32_t square = p < 32768 ? 32767 : -32768;
    return (3 * triangle + square) / 4;
}

} // namespace

std::vector<int16_t> synthesise(const SoundDesign& design) {
    std::vector<int16_t> samples;
    const int64_t fade = int64_t{design.sampleRate} * design.fadeMilliseconds / 1000;
    for (const Tone& tone : design.tones) {
        const int64_t count = int64_t{design.sampleRate} * tone.milliseconds / 1000;
        const uint32_t step =
            static_cast<uint32_t>((uint64_t{static_cast<uint32_t>(tone.hertz)} << 32) / design.sampleRate);
        uint32_t phase = 0;
        for (int64_t i = 0; i < count; ++i) {
            // Linear envelope: rises over the first fade samples, falls over the last ones.
            const int64_t envelope = std::min({fade, i, count - 1 - i});
            const int64_t value = int64_t{buzzAt(phase)} * design.peak / 32768 * envelope / std::max<int64_t>(fade, 1);
            samples.push_back(static_cast<int16_t>(value));
            phase += step;
        }
    }
    return samples;
}

std::string wavFile(const std::vector<int16_t>& samples, int sampleRate) {
    const auto dataSize = static_cast<uint32_t>(samples.size() * 2);
    ByteWriter out;
    out.text("RIFF");
    out.u32(36 + dataSize);
    out.text("WAVE");
    out.text("fmt ");
    out.u32(16);
    out.u16(1); // PCM
    out.u16(1); // mono
    out.u32(static_cast<uint32_t>(sampleRate));
    out.u32(static_cast<uint32_t>(sampleRate) * 2); // bytes per second
    out.u16(2);                                     // bytes per sample frame
    out.u16(16);                                    // bits per sample
    out.text("data");
    out.u32(dataSize);
    for (int16_t s : samples)
        out.u16(static_cast<uint16_t>(s));
    return out.take();
}

} // namespace trv::gen
