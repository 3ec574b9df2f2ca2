#include "image/ops/colour_filters.h"

#include <algorithm>
#include <cmath>

#include "image/ops/channel_tables.h"
#include "image/ops/image_tables.h"
#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"
#include "image/ops/pixel.h"

namespace vellum {

namespace {

constexpr char kColourSwapCode[] = "C2C";
constexpr char kNegativeCode[] = "REV";
constexpr char kGreyCode[] = "GRY";
constexpr char kBrightnessCode[] = "BC";
constexpr char kGammaCode[] = "RGB";

ChannelTable gammaTable(int value) {
  ChannelTable table{};
  const double exponent = std::pow(0.5, value / 100.0);
  for (int c = 0; c < 256; ++c) {
    // The bias keeps exact results (exponent 1) from truncating one below.
    const double v = 255.0 * std::pow(c / 255.0, exponent) + 1e-9;
    table[c] = static_cast<uint8_t>(std::clamp(static_cast<int>(v), 0, 255));
  }
  return table;
}

}  // namespace

int color2colorImage(Image* image, uint32_t from, uint32_t to, int kind) {
  if (!image) return reportImageFailure(kColourSwapCode, ImageFailure::NoPicture);
  if (kind == 1) {
    from = image->pixels[0];
  } else if (kind == 2) {
    from = image->pixels[image->width - 1];
  } else if (kind != 0) {
    return reportImageFailure(kColourSwapCode, ImageFailure::InvalidMode);
  }
  const bool ownAlpha = to > pixel::kColourMask;
  const bool alphaMatters = image->bitsPerPixel == 32;
  const uint32_t compareMask = alphaMatters ? 0xFFFFFFFFu : pixel::kColourMask;
  // Without its own alpha the new colour stays opaque where alpha carries no meaning.
  const uint32_t written = ownAlpha || alphaMatters ? to : (to | pixel::kOpaque);
  const uint32_t key = from & compareMask;
  for (int32_t i = 0; i < image->pixelCount; ++i) {
    if ((image->pixels[i] & compareMask) == key) image->pixels[i] = written;
  }
  if (ownAlpha) image->bitsPerPixel = 32;
  noteColourWritten(*image, pixel::red(to) != pixel::green(to) || pixel::green(to) != pixel::blue(to));
  return 1;
}

int negaposiImage(Image* image) {
  if (!image) return reportImageFailure(kNegativeCode, ImageFailure::NoPicture);
  for (int32_t i = 0; i < image->pixelCount; ++i) image->pixels[i] ^= pixel::kColourMask;
  return 1;
}

int grayscalImage(Image* image) {
  if (!image) return reportImageFailure(kGreyCode, ImageFailure::NoPicture);
  const ImageTables& t = imageTables();
  for (int32_t i = 0; i < image->pixelCount; ++i) {
    const uint32_t p = image->pixels[i];
    const float grey = t.greyRed[pixel::red(p)] + t.greyGreen[pixel::green(p)] + t.greyBlue[pixel::blue(p)];
    const uint32_t g = std::min(255u, static_cast<uint32_t>(grey + 0.5f));
    image->pixels[i] = (p & pixel::kOpaque) | (g * 0x010101u);
  }
  return 1;
}

int bcImage(Image* image, int brightness, int contrast) {
  if (!image) return reportImageFailure(kBrightnessCode, ImageFailure::NoPicture);
  ChannelTable table{};
  const double factor = (contrast + 100) / 100.0;
  for (int c = 0; c < 256; ++c) {
    // Clamped before the conversion so that absurd contrasts stay defined.
    const double scaled = std::clamp(factor * (c - 128), -1e9, 1e9);
    const long long v = static_cast<long long>(scaled) + brightness + 128;
    table[c] = static_cast<uint8_t>(std::clamp<long long>(v, 0, 255));
  }
  applyChannelTables(*image, table, table, table);
  return 1;
}

int colorImage(Image* image, int red, int green, int blue) {
  if (!image) return reportImageFailure(kGammaCode, ImageFailure::NoPicture);
  applyChannelTables(*image, gammaTable(red), gammaTable(green), gammaTable(blue));
  noteColourWritten(*image, red != green || green != blue);
  return 1;
}

}  // namespace vellum
