#pragma once

#include "data/ProgramCatalogue.h"

#include <cstdint>
#include <span>

namespace trv {

// A therapy slot is a copy of one catalogue step; the build writes the frequency codes into
// its device bytes.
using TherapySlot = ProgramStep;

// (100 - percentage) x 0.01 in single precision; negative above 100.
float CorrectionFactor(uint8_t correctionPercentage);
// Writes the start and span codes into the device bytes of the first `count` slots.
void EncodeTherapyCodes(std::span<TherapySlot> slots, uint8_t correctionPercentage);
// The device's 12-bit frequency code before limiting: 680 codes per decade of factor x x.
int32_t EncodeFrequency(float x, float factor);
// ORs the low bitCount bits of value into run, lowest bit first, starting at run[firstByte] under
// firstMask and moving toward bit 0, then to bit 7 of the next byte. Bits past the run are dropped.
void PackBitsReversed(std::span<uint8_t> run, int firstByte, uint8_t firstMask, uint32_t value, int bitCount);

} // namespace trv
