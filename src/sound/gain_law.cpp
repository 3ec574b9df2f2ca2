#include "sound/gain_law.h"

#include <cmath>

namespace vellum {

int32_t gainToHundredths(double volume, double volume2, int32_t factor) {
  const double gain = (volume * volume2 / 100.0) * (factor / 10000.0);
  if (!(gain >= 0.005)) return -10000;
  return static_cast<int32_t>(std::trunc(2000.0 * std::log10(gain > 1.0 ? 1.0 : gain)));
}

int32_t panToHundredths(double pan) {
  if (pan < -99.995) return -10000;
  if (pan < 0) return static_cast<int32_t>(std::trunc(2000.0 * std::log10((pan + 100.0) / 100.0)));
  if (pan > 99.995) return 10000;
  if (pan > 0) return static_cast<int32_t>(std::trunc(-2000.0 * std::log10((100.0 - pan) / 100.0)));
  return 0;
}

int32_t categoryFactor(int32_t onFlag, int32_t masterOn, int32_t masterVolume, int32_t categoryVolume) {
  return static_cast<int32_t>(static_cast<int64_t>(onFlag) * masterOn * masterVolume * categoryVolume / 100);
}

}  // namespace vellum
