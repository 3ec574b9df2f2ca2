#include "movie/colour_conversion.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "persist/engine_settings.h"

namespace vellum {

namespace {

uint32_t clampByte(int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); }

uint32_t packed(int32_t r, int32_t g, int32_t b) {
  return 0xFF000000u | clampByte(r) << 16 | clampByte(g) << 8 | clampByte(b);
}

// The plain form's five tables (15-bit fixed point).
struct PlainTables {
  std::array<int32_t, 256> rV, gU, gV, bU;
  PlainTables() {
    for (int i = 0; i < 256; ++i) {
      rV[i] = (i - 128) * 52298;
      gU[i] = (i - 128) * 12812;
      gV[i] = (i - 128) * 26640;
      bU[i] = (i - 128) * 66126;
    }
  }
};
const PlainTables kPlain;

// The vector form's tables (6-bit fixed point, 0.5 added and truncated toward zero), with the
// inputs limited first: luma to 10..235, chroma to 10..240.
int32_t truncated(double v) { return static_cast<int32_t>(v); }
struct VectorTables {
  std::array<int32_t, 256> r, b;
  VectorTables() {
    for (int i = 0; i < 256; ++i) {
      const int lc = std::clamp(i, 10, 240);
      b[i] = truncated(0.5 + (lc - 128) * 129.152);
      r[i] = truncated(0.5 + (lc - 128) * 102.144);
    }
  }
  // The G term sums two rounded products, one per chroma plane.
  static int32_t gU(int i) { return truncated(0.5 - (std::clamp(i, 10, 240) - 128) * 25.024); }
  static int32_t gV(int i) { return truncated(0.5 - (std::clamp(i, 10, 240) - 128) * 52.032); }
};
const VectorTables kVector;
struct VectorGTables {
  std::array<int32_t, 256> u, v;
  VectorGTables() {
    for (int i = 0; i < 256; ++i) {
      u[i] = VectorTables::gU(i);
      v[i] = VectorTables::gV(i);
    }
  }
};
const VectorGTables kVectorG;

// The chroma terms of a 2 x 2 block are computed once and shared by its four pixels.
struct PlainForm {
  struct Terms {
    int32_t r, g, b;
  };
  static Terms terms(uint8_t u, uint8_t v) { return {kPlain.rV[v], -kPlain.gU[u] - kPlain.gV[v], kPlain.bU[u]}; }
  static int32_t luma(uint8_t y) { return (int32_t{y} - 16) * 38142 + 16384; }
  static uint32_t pack(int32_t r, int32_t g, int32_t b) { return packed(r >> 15, g >> 15, b >> 15); }
  static uint32_t pixel(uint8_t y, const Terms& t) { return pack(luma(y) + t.r, luma(y) + t.g, luma(y) + t.b); }
};

struct VectorForm {
  struct Terms {
    int32_t r, g, b;
  };
  static Terms terms(uint8_t u, uint8_t v) { return {kVector.r[v], kVectorG.u[u] + kVectorG.v[v], kVector.b[u]}; }
  // trunc(0.5 + (y - 16) x 74.496) in integers (never exactly on a boundary, so the same values).
  static int32_t luma(uint8_t y) { return ((std::clamp(int32_t{y}, 10, 235) - 16) * 74496 + 500) / 1000; }
  static uint32_t pack(int32_t r, int32_t g, int32_t b) { return packed(r >> 6, g >> 6, b >> 6); }
  static uint32_t pixel(uint8_t y, const Terms& t) { return pack(luma(y) + t.r, luma(y) + t.g, luma(y) + t.b); }
};

// A row pair's chroma terms are spread to one per pixel first, so that the loop over each row is
// plain element-wise arithmetic the compiler can vectorise.
template <typename Form>
void convertRows(const FramePlanes& p, uint32_t* out, int32_t outWidth) {
  const auto width = static_cast<size_t>(p.lumaWidth);
  std::vector<int32_t> r(width), g(width), b(width);
  for (int32_t row = 0; row < p.lumaHeight; row += 2) {
    const uint8_t* cb = p.cb + static_cast<ptrdiff_t>(row / 2) * p.chromaStride;
    const uint8_t* cr = p.cr + static_cast<ptrdiff_t>(row / 2) * p.chromaStride;
    for (size_t x = 0; x < width; x += 2) {
      const typename Form::Terms t = Form::terms(cb[x / 2], cr[x / 2]);
      r[x] = r[x + 1] = t.r;
      g[x] = g[x + 1] = t.g;
      b[x] = b[x + 1] = t.b;
    }
    for (int32_t half = 0; half < 2; ++half) {
      const uint8_t* y = p.luma + static_cast<ptrdiff_t>(row + half) * p.lumaStride;
      uint32_t* o = out + static_cast<ptrdiff_t>(row + half) * outWidth;
      for (size_t x = 0; x < width; ++x) {
        const int32_t base = Form::luma(y[x]);
        o[x] = Form::pack(base + r[x], base + g[x], base + b[x]);
      }
    }
  }
}

}  // namespace

uint32_t plainPixel(uint8_t y, uint8_t cb, uint8_t cr) { return PlainForm::pixel(y, PlainForm::terms(cb, cr)); }

uint32_t vectorPixel(uint8_t y, uint8_t cb, uint8_t cr) { return VectorForm::pixel(y, VectorForm::terms(cb, cr)); }

ColourForm chosenColourForm() {
  const EngineSettings& s = settings();
  return (s.sse2 || s.sse || s.mmx) ? ColourForm::Vector : ColourForm::Plain;
}

bool convertFrame(const FramePlanes& p, uint32_t* out, int32_t outWidth, int32_t outHeight, ColourForm form) {
  if (!out || !p.luma || !p.cb || !p.cr) return false;
  if (p.lumaWidth <= 0 || p.lumaHeight <= 0 || p.lumaWidth % 2 || p.lumaHeight % 2) return false;
  if (p.lumaWidth > outWidth || p.lumaHeight > outHeight) return false;
  if (p.chromaWidth < p.lumaWidth / 2 || p.chromaHeight < p.lumaHeight / 2) return false;
  if (std::abs(p.lumaStride) < p.lumaWidth || std::abs(p.chromaStride) < p.lumaWidth / 2) return false;
  if (form == ColourForm::Plain) {
    convertRows<PlainForm>(p, out, outWidth);
  } else {
    convertRows<VectorForm>(p, out, outWidth);
  }
  return true;
}

}  // namespace vellum
