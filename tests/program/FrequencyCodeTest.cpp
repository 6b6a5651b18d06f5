#include "program/TherapyCodes.h"

#include "program/DeviceImage.h"

#include "TestCatalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>

namespace trv {
namespace {

using Bytes9 = std::array<uint8_t, 9>;

struct FrequencyCase {
    float frequency;
    uint8_t percentage;
    int32_t code;
};

void PrintTo(const FrequencyCase& c, std::ostream* os) {
    *os << c.frequency << " at " << int(c.percentage) << " %";
}

class EncodeFrequencyTest : public testing::TestWithParam<FrequencyCase> {};

TEST_P(EncodeFrequencyTest, GivesTheDeviceCode) {
    const FrequencyCase c = GetParam();
    EXPECT_EQ(EncodeFrequency(c.frequency, CorrectionFactor(c.percentage)), c.code)
        << c.frequency << " at " << int(c.percentage) << " %";
}

INSTANTIATE_TEST_SUITE_P(Factor1, EncodeFrequencyTest,
                         testing::Values(FrequencyCase{1, 0, 0}, FrequencyCase{9, 0, 571}, FrequencyCase{10, 0, 680},
                                         FrequencyCase{99, 0, 1316}, FrequencyCase{100, 0, 1360},
                                         FrequencyCase{500, 0, 1646}, FrequencyCase{999, 0, 2002},
                                         FrequencyCase{1000, 0, 2040}, FrequencyCase{9999, 0, 2683},
                                         FrequencyCase{1e6f, 0, 4080}, FrequencyCase{1.2e6f, 0, 4094},
                                         FrequencyCase{2e6f, 0, 4151}));

INSTANTIATE_TEST_SUITE_P(Factor09, EncodeFrequencyTest,
                         testing::Values(FrequencyCase{100, 10, 1259}, FrequencyCase{500, 10, 1617},
                                         FrequencyCase{1000, 10, 1939}));

// The factor for 20 % is formed in double and rounded once, landing just above 0.8, so 125 scales
// to just above 100 and falls in decade 2. A factor formed in single precision would give 1337.
INSTANTIATE_TEST_SUITE_P(Factor08, EncodeFrequencyTest, testing::Values(FrequencyCase{125, 20, 1374}));

TEST(CorrectionFactor, DoubleFormationDiffersFromSingleFor72Percentages) {
    int differing = 0;
    for (int percentage = 0; percentage <= 255; ++percentage) {
        const float single = static_cast<float>(100 - percentage) * 0.01f;
        if (CorrectionFactor(static_cast<uint8_t>(percentage)) != single)
            ++differing;
    }
    EXPECT_EQ(differing, 72);
    EXPECT_EQ(CorrectionFactor(20), static_cast<float>(0.8));
}

TEST(EncodeFrequency, PowersOfTenStartTheirOwnDecade) {
    for (int c = 0; c <= 9; ++c) {
        const float x = static_cast<float>(std::pow(10.0, c));
        EXPECT_EQ(EncodeFrequency(x, 1.0f), 680 * c) << x;
    }
}

TEST(EncodeFrequency, ExactlyOneHalfStaysDown) {
    // In decade 3, b = 0.014 x 1000 rounds to exactly 14, so these positions are exact quotients.
    EXPECT_EQ(EncodeFrequency(1021.0f, 1.0f), 2041); // 21 / 14 = 1.5
    EXPECT_EQ(EncodeFrequency(1035.0f, 1.0f), 2042); // 35 / 14 = 2.5
    EXPECT_EQ(EncodeFrequency(1036.0f, 1.0f), 2043); // 36 / 14 = 2.57
}

TEST(EncodeFrequency, NothingBelowDecadeZero) {
    // A product below 1 or not positive keeps decade 0; the codes go negative and are limited later.
    EXPECT_EQ(EncodeFrequency(0.5f, 1.0f), -35); // (0.5 - 1) / 0.014 = -35.7, truncated toward zero
    EXPECT_EQ(EncodeFrequency(0.0f, 1.0f), -71);
    EXPECT_EQ(EncodeFrequency(1000.0f, 0.0f), 0);
    EXPECT_LT(EncodeFrequency(1000.0f, CorrectionFactor(150)), 0);
}

TEST(CorrectionFactor, PercentageAbove100GivesANegativeFactor) {
    EXPECT_EQ(CorrectionFactor(0), 1.0f);
    EXPECT_EQ(CorrectionFactor(100), 0.0f);
    EXPECT_LT(CorrectionFactor(101), 0.0f);
    EXPECT_GT(CorrectionFactor(20), 0.8);
}

TEST(PackBitsReversed, SetsBitsLowestFirstAcrossBytes) {
    std::array<uint8_t, 4> run{};
    PackBitsReversed(run, 1, 0x04, 0b1011, 4);
    // bit 0 -> byte 1 mask 04, bit 1 -> 02, bit 2 (0) -> 01, bit 3 -> byte 2 mask 80
    EXPECT_EQ(run, (std::array<uint8_t, 4>{0x00, 0x06, 0x80, 0x00}));
}

TEST(PackBitsReversed, NeverClearsAndNeverWritesPastTheRun) {
    std::array<uint8_t, 3> storage{0xFF, 0x00, 0x00};
    std::span<uint8_t> run(storage.data(), 2);
    PackBitsReversed(run, 0, 0x01, 0xFFFF, 16);
    EXPECT_EQ(storage[0], 0xFF); // already set bits stay
    EXPECT_EQ(storage[1], 0xFF);
    EXPECT_EQ(storage[2], 0x00); // bits past the run are dropped
    PackBitsReversed(run, 5, 0x80, 1, 1);
    EXPECT_EQ(storage[2], 0x00);
}

ProgramStep Encoded(ProgramStep step, uint8_t percentage) {
    std::array<ProgramStep, 1> slots{step};
    EncodeTherapyCodes(slots, percentage);
    return slots[0];
}

TEST(EncodeTherapyCodes, TestTherapyGoldenBytes) {
    const ProgramStep slot = Encoded(TestTherapy, 0);
    EXPECT_EQ(slot.deviceBytes, (Bytes9{0x28, 0xF7, 0xF7, 0xF7, 0x66, 0x00, 0x35, 0xF5, 0xD8}));
    EXPECT_EQ(slot.stepWord, 240);
    EXPECT_EQ(slot.padding, 0);
}

struct SlotCase {
    uint32_t frequency;
    uint32_t span;
    uint8_t percentage;
    Bytes9 deviceBytes;
};

void PrintTo(const SlotCase& c, std::ostream* os) {
    *os << c.frequency << " + " << c.span << " at " << int(c.percentage) << " %";
}

class SlotCodeTest : public testing::TestWithParam<SlotCase> {};

TEST_P(SlotCodeTest, WritesStartAndSpanCodes) {
    const SlotCase c = GetParam();
    EXPECT_EQ(Encoded(test::StepWithFrequency(c.frequency, c.span), c.percentage).deviceBytes, c.deviceBytes);
}

// start 2040 = 0x7F8 in bytes 3 and 4; span codes in bytes 5 and 6.
INSTANTIATE_TEST_SUITE_P(Slots, SlotCodeTest,
                         testing::Values(
                             // end 2076, difference 36: span 9
                             SlotCase{1000, 500, 0, {0, 0, 0, 0x01, 0xFE, 0x90, 0, 0, 0}},
                             // end 2077, difference 37: rounded down to 9
                             SlotCase{1000, 518, 0, {0, 0, 0, 0x01, 0xFE, 0x90, 0, 0, 0}},
                             // end 2078, difference 38: a half rounds up to 10 = 0b1010
                             SlotCase{1000, 532, 0, {0, 0, 0, 0x01, 0xFE, 0x50, 0, 0, 0}},
                             // span 0
                             SlotCase{1000, 0, 0, {0, 0, 0, 0x01, 0xFE, 0x00, 0, 0, 0}},
                             // 2 000 000 gives 4151: limited to 4095, all twelve start bits
                             SlotCase{2000000, 0, 0, {0, 0, 0, 0x0F, 0xFF, 0x00, 0, 0, 0}},
                             // percentage 100: factor 0, start 0 and span 0 whatever the frequency
                             SlotCase{123456, 5000, 100, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
                             // a negative factor gives negative codes, limited to 0
                             SlotCase{1000, 500, 200, {0, 0, 0, 0, 0, 0, 0, 0, 0}}));

TEST(EncodeTherapyCodes, KeepsTheCatalogueBits) {
    ProgramStep step = test::StepWithFrequency(1000, 500);
    step.deviceBytes = {0x11, 0x22, 0x33, 0xF0, 0x00, 0x00, 0x3F, 0x44, 0x55};
    EXPECT_EQ(Encoded(step, 0).deviceBytes, (Bytes9{0x11, 0x22, 0x33, 0xF1, 0xFE, 0x90, 0x3F, 0x44, 0x55}));
}

TEST(EncodeTherapyCodes, EndFrequencyIsSummedInSinglePrecision) {
    // 16 777 217 is not a float: the sum rounds to 16 777 216 and the span disappears.
    const ProgramStep slot = Encoded(test::StepWithFrequency(16777216, 1), 0);
    EXPECT_EQ(slot.deviceBytes[5], 0x00);
    EXPECT_EQ(slot.deviceBytes[6], 0x00);
}

} // namespace
} // namespace trv
