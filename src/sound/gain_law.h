// Channel volumes and pans as the sound device's hundredths of a decibel.
#pragma once

#include <cstdint>

namespace vellum {

// Gain = (volume × volume2 / 100) × (categoryFactor / 10000), 0..1; below 0.005 it is silence.
int32_t gainToHundredths(double volume, double volume2, int32_t categoryFactor);
// Pan -100 (left) .. 100 (right) to the device's attenuation of the other side.
int32_t panToHundredths(double pan);
// On-flag × master on-flag × master volume × category volume / 100 (integer division).
int32_t categoryFactor(int32_t onFlag, int32_t masterOn, int32_t masterVolume, int32_t categoryVolume);

}  // namespace vellum
