#include "tools/trvgen/Picture.h"
#include "tools/trvgen/Sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace trv::gen {
namespace {

uint32_t u32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes.at(at + i))) << (8 * i);
    return v;
}

uint16_t u16At(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(at)) | static_cast<uint8_t>(bytes.at(at + 1)) << 8);
}

constexpr Rgb White{255, 255, 255};
constexpr Rgb Red{206, 17, 36};
constexpr Rgb Green{71, 112, 80};

TEST(Bitmap, HeadersAndPaddedBottomUpRows) {
    Picture picture(38, 25, White);
    picture.set(0, 0, Red);     // top left
    picture.set(37, 24, Green); // bottom right
    const std::string bmp = bmpFile(picture);
    constexpr size_t RowSize = 116; // 38 * 3 = 114, padded to a multiple of 4
    ASSERT_EQ(bmp.size(), 54 + RowSize * 25);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(u32At(bmp, 2), bmp.size());
    EXPECT_EQ(u32At(bmp, 10), 54u);
    EXPECT_EQ(u32At(bmp, 14), 40u);
    EXPECT_EQ(u32At(bmp, 18), 38u);
    EXPECT_EQ(u32At(bmp, 22), 25u);
    EXPECT_EQ(u16At(bmp, 26), 1);
    EXPECT_EQ(u16At(bmp, 28), 24);
    EXPECT_EQ(u32At(bmp, 30), 0u);
    EXPECT_EQ(u32At(bmp, 34), RowSize * 25);
    // The first stored row is the bottom one, pixels blue-green-red.
    EXPECT_EQ(bmp.substr(54 + 37 * 3, 3), "\x50\x70\x47");
    EXPECT_EQ(bmp.substr(54 + 114, 2), std::string(2, '\0'));
    const size_t topRow = 54 + RowSize * 24;
    EXPECT_EQ(bmp.substr(topRow, 3), "\x24\x11\xCE");
}

TEST(Flag, CrossIsCentredWithArmsAFifthOfTheHeight) {
    const Picture flag = drawFlag(parseFlagDesign("cross FFFFFF CE1124"), FlagWidth, FlagHeight);
    EXPECT_EQ(flag.at(0, 0), White);
    EXPECT_EQ(flag.at(37, 24), White);
    // Vertical arm: columns 16 to 21; horizontal arm: rows 10 to 14.
    EXPECT_EQ(flag.at(15, 0), White);
    EXPECT_EQ(flag.at(16, 0), Red);
    EXPECT_EQ(flag.at(21, 24), Red);
    EXPECT_EQ(flag.at(22, 24), White);
    EXPECT_EQ(flag.at(0, 9), White);
    EXPECT_EQ(flag.at(0, 10), Red);
    EXPECT_EQ(flag.at(37, 14), Red);
    EXPECT_EQ(flag.at(37, 15), White);
}

TEST(Flag, ThreeBandsOfTwentyFiveRowsAreEightNineAndEight) {
    const Picture flag = drawFlag(parseFlagDesign("bands CE1124 FFFFFF 477050"), FlagWidth, FlagHeight);
    EXPECT_EQ(flag.at(0, 7), Red);
    EXPECT_EQ(flag.at(37, 8), White);
    EXPECT_EQ(flag.at(0, 16), White);
    EXPECT_EQ(flag.at(37, 17), Green);
    EXPECT_EQ(flag.at(0, 24), Green);
}

TEST(Flag, MalformedDesignsAreRefused) {
    for (const char* design : {"cross FFFFFF", "stripes FFFFFF 000000", "bands FFFFFF", "bands FFFFFF 12345G",
                               "cross FFFFFF CE1124 000000", ""})
        EXPECT_THROW(parseFlagDesign(design), std::invalid_argument) << design;
}

int signChanges(const std::vector<int16_t>& samples, size_t from, size_t to) {
    int changes = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++changes;
    }
    return changes;
}

TEST(ErrorSound, IsAShortFadedBuzzOfTwoFallingTones) {
    const SoundDesign design = errorSoundDesign();
    const std::vector<int16_t> samples = synthesise(design);
    const double seconds = static_cast<double>(samples.size()) / design.sampleRate;
    EXPECT_GE(seconds, 0.2);
    EXPECT_LE(seconds, 0.5);
    EXPECT_EQ(samples.front(), 0);
    EXPECT_EQ(samples.back(), 0);
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_LE(*high, design.peak);
    EXPECT_GE(*low, -design.peak);
    EXPECT_GT(*high, design.peak / 2);

    // Each period crosses zero twice, so the tones show as counts of sign changes.
    ASSERT_EQ(design.tones.size(), 2u);
    const size_t split = static_cast<size_t>(design.sampleRate) * design.tones[0].milliseconds / 1000;
    const double first = signChanges(samples, 0, split) / 2.0 / (design.tones[0].milliseconds / 1000.0);
    const double second = signChanges(samples, split, samples.size()) / 2.0 / (design.tones[1].milliseconds / 1000.0);
    EXPECT_NEAR(first, design.tones[0].hertz, 10);
    EXPECT_NEAR(second, design.tones[1].hertz, 10);
    EXPECT_LT(second, first);
}

TEST(ErrorSound, WaveFileIsPcmMonoSixteenBit) {
    const std::vector<int16_t> samples = {0, 1000, -1000, 0};
    const std::string wav = wavFile(samples, 22050);
    ASSERT_EQ(wav.size(), 44u + 8);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(u32At(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32At(wav, 16), 16u);
    EXPECT_EQ(u16At(wav, 20), 1); // PCM
    EXPECT_EQ(u16At(wav, 22), 1); // mono
    EXPECT_EQ(u32At(wav, 24), 22050u);
    EXPECT_EQ(u32At(wav, 28), 44100u);
    EXPECT_EQ(u16At(wav, 32), 2);
    EXPECT_EQ(u16At(wav, 34), 16);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(u32At(wav, 40), 8u);
    EXPECT_EQ(wav.substr(44, 4), std::string("\0\0\xE8\x03", 4));
}

} // namespace
} // namespace trv::gen
