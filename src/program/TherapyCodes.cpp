#include "program/TherapyCodes.h"

#include <algorithm>
#include <cmath>

namespace trv {

namespace {

constexpr int MaxCode = 4095;
constexpr int CodesPerDecade = 680;
constexpr int StartCodeBits = 12;
constexpr int SpanCodeBits = 10;

// 10^n in double, exact up to 10^22, which is far beyond any frequency the catalogue holds.
double PowerOfTen(int n) {
    double p = 1.0;
    for (int i = 0; i < n; ++i)
        p *= 10.0;
    return p;
}

// The decade of a positive product: the c with 10^c <= product < 10^(c+1). log10 only gives the
// first guess; the comparisons with exact powers of ten settle it, so 1000 lands in decade 3 and
// a product just below it in decade 2 whatever the last bit of the logarithm.
int DecadeOf(double product) {
    constexpr int MaxDecade = 38; // single precision ends here
    if (!(product > 0.0))
        return 0;
    const double guess = std::floor(std::log10(product));
    int c = static_cast<int>(std::clamp(guess, 0.0, static_cast<double>(MaxDecade)));
    while (c > 0 && PowerOfTen(c) > product)
        --c;
    while (c < MaxDecade && PowerOfTen(c + 1) <= product)
        ++c;
    return c;
}

} // namespace

float CorrectionFactor(uint8_t correctionPercentage) {
    // Formed in double and rounded once: for 72 of the 256 percentages a factor formed in single
    // precision lands on the other side of a decade boundary (20 %: just below 0.8 instead of above).
    return static_cast<float>(static_cast<double>(100 - static_cast<int>(correctionPercentage)) * 0.01);
}

int32_t EncodeFrequency(float x, float factor) {
    // The product of two floats is exact in double.
    const int c = DecadeOf(static_cast<double>(factor) * static_cast<double>(x));
    float d = 1.0f;
    for (int i = 0; i < c; ++i)
        d *= 10.0f;
    // Each step rounded to single precision; the position in the decade scales x - 10^c, not the
    // scaled frequency.
    const float difference = x - d;
    const float a = difference * factor;
    const float b = 0.014f * d;
    const float t = a / b;

    constexpr float Bound = 1.0e9f; // far beyond every code; keeps the conversion defined
    int32_t e = 0;
    if (std::isnan(t))
        e = 0;
    else if (t >= Bound)
        e = static_cast<int32_t>(Bound);
    else if (t <= -Bound)
        e = -static_cast<int32_t>(Bound);
    else {
        e = static_cast<int32_t>(t);
        if (t - static_cast<float>(e) > 0.5f)
            ++e;
    }
    return CodesPerDecade * c + e;
}

void PackBitsReversed(std::span<uint8_t> run, int firstByte, uint8_t firstMask, uint32_t value, int bitCount) {
    if (firstByte < 0 || firstMask == 0)
        return;
    size_t at = static_cast<size_t>(firstByte);
    uint8_t mask = firstMask;
    for (int i = 0; i < bitCount && at < run.size(); ++i) {
        if ((value >> i) & 1u)
            run[at] |= mask;
        mask = static_cast<uint8_t>(mask >> 1);
        if (mask == 0) {
            mask = 0x80;
            ++at;
        }
    }
}

void EncodeTherapyCodes(std::span<TherapySlot> slots, uint8_t correctionPercentage) {
    const float factor = CorrectionFactor(correctionPercentage);
    for (TherapySlot& slot : slots) {
        const int start = std::clamp(EncodeFrequency(static_cast<float>(slot.frequency), factor), 0, MaxCode);
        const float endFrequency = static_cast<float>(slot.frequency) + static_cast<float>(slot.frequencySpan);
        const int end = std::clamp(EncodeFrequency(endFrequency, factor), 0, MaxCode);
        const int difference = end - start;
        int spanCode = difference / 4;
        if (difference >= 0 && difference % 4 >= 2)
            ++spanCode;
        PackBitsReversed(slot.deviceBytes, 3, 0x08, static_cast<uint32_t>(start), StartCodeBits);
        PackBitsReversed(slot.deviceBytes, 5, 0x80, static_cast<uint32_t>(spanCode) & 0x3FFu, SpanCodeBits);
    }
}

} // namespace trv
