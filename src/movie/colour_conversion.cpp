#include "movie/colour_conversion.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>

#include "persist/engine_settings.h"

namespace vellum {

namespace {

uint32_t clampByte(int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); }

uint32_t packed(int32_t r, int32_t g, int32_t b) {
  return 0xFF000000u | clampByte(r) << 16 | clampByte(g) << 8 | clampByte(b);
}

// The plain form's five tables (15-bit fixed point).
struct PlainTables {
  std::array<int32_t, 256> y, rV, gU, gV, bU;
  PlainTables() {
    for (int i = 0; i < 256; ++i) {
      y[i] = (i - 16) * 38142 + 16384;
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
  std::array<int32_t, 256> y, r, g, b;
  VectorTables() {
    for (int i = 0; i < 256; ++i) {
      const int ly = std::clamp(i, 10, 235), lc = std::clamp(i, 10, 240);
      y[i] = truncated(0.5 + (ly - 16) * 74.496);
      b[i] = truncated(0.5 + (lc - 128) * 129.152);
      r[i] = truncated(0.5 + (lc - 128) * 102.144);
      g[i] = 0;
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

template <typename Pixel>
void convertRows(const FramePlanes& p, uint32_t* out, int32_t outWidth, Pixel pixel) {
  for (int32_t row = 0; row < p.lumaHeight; ++row) {
    const uint8_t* y = p.luma + static_cast<ptrdiff_t>(row) * p.lumaStride;
    const uint8_t* cb = p.cb + static_cast<ptrdiff_t>(row / 2) * p.chromaStride;
    const uint8_t* cr = p.cr + static_cast<ptrdiff_t>(row / 2) * p.chromaStride;
    uint32_t* o = out + static_cast<ptrdiff_t>(row) * outWidth;
    for (int32_t x = 0; x < p.lumaWidth; x += 2) {
      const uint8_t u = cb[x / 2], v = cr[x / 2];
      o[x] = pixel(y[x], u, v);
      o[x + 1] = pixel(y[x + 1], u, v);
    }
  }
}

}  // namespace

uint32_t plainPixel(uint8_t y, uint8_t cb, uint8_t cr) {
  const int32_t yt = kPlain.y[y];
  return packed((yt + kPlain.rV[cr]) >> 15, (yt - kPlain.gU[cb] - kPlain.gV[cr]) >> 15, (yt + kPlain.bU[cb]) >> 15);
}

uint32_t vectorPixel(uint8_t y, uint8_t cb, uint8_t cr) {
  const int32_t yv = kVector.y[y];
  return packed((yv + kVector.r[cr]) >> 6, (yv + kVectorG.u[cb] + kVectorG.v[cr]) >> 6, (yv + kVector.b[cb]) >> 6);
}

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
    convertRows(p, out, outWidth, &plainPixel);
  } else {
    convertRows(p, out, outWidth, &vectorPixel);
  }
  return true;
}

}  // namespace vellum
