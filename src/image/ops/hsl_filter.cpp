#include "image/ops/hsl_filter.h"

#include <algorithm>
#include <cstdint>

#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"
#include "image/ops/pixel.h"

namespace vellum {

namespace {

constexpr char kHslCode[] = "HLB";

// Hue in 1/4096 of a 60-degree sector, saturation in 1/65535, lightness as max + min (0-510).
constexpr int64_t kSector = 4096;
constexpr int64_t kHueTurn = 6 * kSector;
constexpr int64_t kFullSaturation = 65535;
constexpr int64_t kFullLightness = 510;

struct Hsl {
  int64_t hue = 0, saturation = 0, lightness = 0;
};

int64_t roundedDivide(int64_t numerator, int64_t denominator) {
  return numerator >= 0 ? (numerator + denominator / 2) / denominator : -((-numerator + denominator / 2) / denominator);
}

// The span the chroma may take at a lightness: it narrows toward black and white.
int64_t chromaRoom(int64_t lightness) { return std::min(lightness, kFullLightness - lightness); }

Hsl toHsl(int64_t r, int64_t g, int64_t b) {
  const int64_t high = std::max({r, g, b}), low = std::min({r, g, b}), delta = high - low;
  Hsl hsl;
  hsl.lightness = high + low;
  if (delta == 0) return hsl;
  hsl.saturation = roundedDivide(delta * kFullSaturation, chromaRoom(hsl.lightness));
  int64_t hue;
  if (high == r) {
    hue = roundedDivide(kSector * (g - b), delta);
  } else if (high == g) {
    hue = 2 * kSector + roundedDivide(kSector * (b - r), delta);
  } else {
    hue = 4 * kSector + roundedDivide(kSector * (r - g), delta);
  }
  hsl.hue = (hue % kHueTurn + kHueTurn) % kHueTurn;
  return hsl;
}

uint32_t fromHsl(const Hsl& hsl) {
  const int64_t chroma = roundedDivide(hsl.saturation * chromaRoom(hsl.lightness), kFullSaturation);
  const int64_t high = (hsl.lightness + chroma + 1) / 2;
  const int64_t low = high - chroma;
  const int64_t sector = hsl.hue / kSector, within = hsl.hue % kSector;
  const int64_t rising = low + roundedDivide(chroma * within, kSector);
  const int64_t falling = low + roundedDivide(chroma * (kSector - within), kSector);
  int64_t r, g, b;
  switch (sector) {
    case 0: r = high, g = rising, b = low; break;
    case 1: r = falling, g = high, b = low; break;
    case 2: r = low, g = high, b = rising; break;
    case 3: r = low, g = falling, b = high; break;
    case 4: r = rising, g = low, b = high; break;
    default: r = high, g = low, b = falling; break;
  }
  auto clamp = [](int64_t v) { return static_cast<uint32_t>(std::clamp<int64_t>(v, 0, 255)); };
  return pixel::make(0, clamp(r), clamp(g), clamp(b));
}

}  // namespace

int hslImage(Image* image, int hue, int saturation, int lightness) {
  if (!image) return reportImageFailure(kHslCode, ImageFailure::NoPicture);
  const int64_t hueShift = roundedDivide(int64_t{hue} % 360 * kHueTurn, 360);
  const int64_t saturationShift = roundedDivide(int64_t{saturation} * kFullSaturation, 100);
  const int64_t lightnessShift = roundedDivide(int64_t{lightness} * kFullLightness, 100);
  for (int32_t i = 0; i < image->pixelCount; ++i) {
    const uint32_t p = image->pixels[i];
    Hsl hsl = toHsl(pixel::red(p), pixel::green(p), pixel::blue(p));
    hsl.hue = ((hsl.hue + hueShift) % kHueTurn + kHueTurn) % kHueTurn;
    hsl.saturation = std::clamp<int64_t>(hsl.saturation + saturationShift, 0, kFullSaturation);
    hsl.lightness = std::clamp<int64_t>(hsl.lightness + lightnessShift, 0, kFullLightness);
    image->pixels[i] = (p & pixel::kOpaque) | fromHsl(hsl);
  }
  // Grey has no hue to turn, but added saturation gives it one.
  noteColourWritten(*image, saturation > 0);
  return 1;
}

}  // namespace vellum
