#include "image/ops/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "image/ops/ops_report.h"
#include "image/ops/output_image.h"
#include "image/ops/pixel.h"
#include "image/ops/pixel_rect.h"
#include "image/ops/resize.h"
#include "image/ops/worker_bands.h"

namespace vellum {

namespace {

constexpr char kRotateCode[] = "ROT";

enum RotateFilter : int { kRotateNearest = 0, kRotateBilinear = 1 };

// Quarter turns: target (x, y) takes source pixel at the position given per turn count.
void quarterTurn(const Image& source, Image& target, int turns) {
  const int w = source.width, h = source.height;
  forEachRowBand(target.height, minRowsPerBand(target.width), [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      uint32_t* out = rowOf(target, y);
      for (int x = 0; x < target.width; ++x) {
        int sx, sy;
        switch (turns) {
          case 1: sx = w - 1 - y, sy = x; break;          // 90: the right column becomes the top row
          case 2: sx = w - 1 - x, sy = h - 1 - y; break;  // 180
          default: sx = y, sy = h - 1 - x; break;         // 270: the left column becomes the top row
        }
        out[x] = rowOf(source, sy)[sx];
      }
    }
  });
}

// One source pixel carried premultiplied, transparent outside the picture.
struct Premultiplied {
  int32_t b = 0, g = 0, r = 0, a = 0;
};

Premultiplied carried(const Image& source, int64_t x, int64_t y, bool weighted) {
  if (x < 0 || y < 0 || x >= source.width || y >= source.height) return {};
  const uint32_t p = rowOf(source, y)[x];
  const int32_t a = weighted ? static_cast<int32_t>(pixel::alpha(p)) : 255;
  return {static_cast<int32_t>(pixel::blue(p)) * a, static_cast<int32_t>(pixel::green(p)) * a,
          static_cast<int32_t>(pixel::red(p)) * a, a * 255};
}

uint32_t finish(int64_t b, int64_t g, int64_t r, int64_t a255, int64_t one) {
  // Values carry a fixed-point weight `one`; colour is the alpha-weighted mean.
  if (a255 <= 0) return 0;
  auto channel = [a255](int64_t c) { return static_cast<uint32_t>(std::clamp<int64_t>((c * 255 + a255 / 2) / a255, 0, 255)); };
  const auto alpha = static_cast<uint32_t>(std::clamp<int64_t>((a255 + one * 255 / 2) / (one * 255), 0, 255));
  return pixel::make(alpha, channel(r), channel(g), channel(b));
}

void turnByAngle(const Image& source, Image& target, double radians, int filter) {
  // Screen y points down, so a counter-clockwise turn on screen maps target offsets back to the
  // source with the angle as written.
  const double c = std::cos(radians), s = std::sin(radians);
  const double sourceCx = source.width / 2.0, sourceCy = source.height / 2.0;
  const double targetCx = target.width / 2.0, targetCy = target.height / 2.0;
  const bool weighted = source.bitsPerPixel == 32;
  constexpr int kFractionBits = 8;
  constexpr int64_t kOne = 1 << kFractionBits;
  forEachRowBand(target.height, minRowsPerBand(target.width), [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      uint32_t* out = rowOf(target, y);
      const double dy = y + 0.5 - targetCy;
      for (int x = 0; x < target.width; ++x) {
        const double dx = x + 0.5 - targetCx;
        const double sx = sourceCx + dx * c - dy * s;
        const double sy = sourceCy + dx * s + dy * c;
        if (filter == kRotateNearest) {
          const int64_t ix = static_cast<int64_t>(std::floor(sx)), iy = static_cast<int64_t>(std::floor(sy));
          const Premultiplied p = carried(source, ix, iy, weighted);
          out[x] = finish(p.b, p.g, p.r, p.a, 1);
          continue;
        }
        // Bilinear between the four source centres around the point, fractions in 1/256.
        const double fx = sx - 0.5, fy = sy - 0.5;
        const int64_t x0 = static_cast<int64_t>(std::floor(fx)), y0 = static_cast<int64_t>(std::floor(fy));
        const int64_t wx = static_cast<int64_t>((fx - x0) * kOne + 0.5), wy = static_cast<int64_t>((fy - y0) * kOne + 0.5);
        const Premultiplied p00 = carried(source, x0, y0, weighted), p10 = carried(source, x0 + 1, y0, weighted);
        const Premultiplied p01 = carried(source, x0, y0 + 1, weighted), p11 = carried(source, x0 + 1, y0 + 1, weighted);
        const int64_t w00 = (kOne - wx) * (kOne - wy), w10 = wx * (kOne - wy), w01 = (kOne - wx) * wy, w11 = wx * wy;
        auto mix = [&](int32_t Premultiplied::*channel) {
          return w00 * (p00.*channel) + w10 * (p10.*channel) + w01 * (p01.*channel) + w11 * (p11.*channel);
        };
        out[x] = finish(mix(&Premultiplied::b), mix(&Premultiplied::g), mix(&Premultiplied::r), mix(&Premultiplied::a),
                        kOne * kOne);
      }
    }
  });
}

int rotateInto(Image** out, const Image& image, double degrees, int filter) {
  const double turns = degrees / 90.0;
  if (turns == std::floor(turns)) {
    const int quarter = static_cast<int>(std::fmod(std::fmod(turns, 4.0) + 4.0, 4.0));
    const bool sideways = quarter % 2 == 1;
    const int width = sideways ? image.height : image.width, height = sideways ? image.width : image.height;
    Image* result = outputFor(out, width, height, image.bitsPerPixel, &image);
    if (!result) return reportImageFailure(kRotateCode, ImageFailure::Memory);
    if (quarter == 0) {
      std::memcpy(result->pixels, image.pixels, static_cast<size_t>(image.pixelCount) * 4);
    } else {
      quarterTurn(image, *result, quarter);
    }
    copyMetadata(result, &image);
    commitOutput(out, result);
    return 1;
  }
  const double radians = std::fmod(degrees, 360.0) * std::numbers::pi / 180.0;
  const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
  // The bounding box of the turned picture, trimmed of rounding noise before rounding up.
  const double boxWidth = std::ceil(image.width * c + image.height * s - 1e-6);
  const double boxHeight = std::ceil(image.width * s + image.height * c - 1e-6);
  Image* result = outputFor(out, static_cast<int>(std::max(1.0, boxWidth)), static_cast<int>(std::max(1.0, boxHeight)), 32, &image);
  if (!result) return reportImageFailure(kRotateCode, ImageFailure::Memory);
  turnByAngle(image, *result, radians, filter);
  copyMetadata(result, &image);
  result->bitsPerPixel = 32;
  commitOutput(out, result);
  return 1;
}

}  // namespace

int rotateImage(Image** out, const Image* image, double degrees, double scale, int filter) {
  if (!out || !image) return reportImageFailure(kRotateCode, ImageFailure::NoPicture);
  if (filter != kRotateNearest && filter != kRotateBilinear) return reportImageFailure(kRotateCode, ImageFailure::InvalidMode);
  if (!std::isfinite(degrees)) return reportImageFailure(kRotateCode, ImageFailure::InvalidMode);
  if (!(scale >= 0) || !std::isfinite(scale)) return reportImageFailure(kRotateCode, ImageFailure::InvalidSize);
  if (scale == 0 || scale == 1) return rotateInto(out, *image, degrees, filter);

  Image* turned = nullptr;
  if (!rotateInto(&turned, *image, degrees, filter)) return 0;
  const int done = resizeImage(out, turned, scale, scale, 2, 1, 1);
  freeImage(turned);
  return done;
}

int rotateImage2(Image** image, double degrees, double scale, int filter) {
  return replaceWithResult(kRotateCode, image, [&](const Image* input, Image** result) {
    return rotateImage(result, input, degrees, scale, filter);
  });
}

}  // namespace vellum
