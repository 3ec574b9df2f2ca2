#include "movie/colour_conversion.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// One row pair from column `from` on, pixel by pixel: the whole row where there is no SSE2, the
// last few columns otherwise.
template <typename Form>
void scalarRowPair(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr, uint32_t* o0,
                   uint32_t* o1, size_t from, size_t width) {
  for (size_t x = from; x < width; x += 2) {
    const typename Form::Terms t = Form::terms(cb[x / 2], cr[x / 2]);
    o0[x] = Form::pixel(y0[x], t);
    o0[x + 1] = Form::pixel(y0[x + 1], t);
    o1[x] = Form::pixel(y1[x], t);
    o1[x + 1] = Form::pixel(y1[x + 1], t);
  }
}

#if defined(__SSE2__)

// Eight or sixteen pixels at a time with SSE2 (the x86-64 baseline). Both forms give exactly the
// bytes of their scalar pixel above: the plain form's products are formed in 32-bit lanes from
// pairs of 16-bit factors (pmaddwd), the vector form's with integer formulas that reproduce its
// rounded tables.
namespace sse2 {

__m128i pair(int16_t a, int16_t b) { return _mm_set1_epi32(static_cast<int32_t>(static_cast<uint16_t>(a)) | (int32_t{b} << 16)); }

// Eight 16-bit samples minus `bias`.
__m128i widen8(const uint8_t* p, int16_t bias) {
  const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  return _mm_sub_epi16(_mm_unpacklo_epi8(bytes, _mm_setzero_si128()), _mm_set1_epi16(bias));
}
// Four 16-bit samples (in the low half) minus `bias`.
__m128i widen4(const uint8_t* p, int16_t bias) {
  int32_t word;
  std::memcpy(&word, p, 4);
  return _mm_sub_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(word), _mm_setzero_si128()), _mm_set1_epi16(bias));
}

// Eight channels in 16-bit lanes (already shifted) into eight BGRA pixels, alpha 255, saturated.
// Rows on a 16-byte boundary (the decode image's) are written past the cache: the frame is far
// larger than it and is read again only by the hand-over.
void store8(uint32_t* out, __m128i b, __m128i g, __m128i r) {
  const __m128i bg = _mm_unpacklo_epi8(_mm_packus_epi16(b, b), _mm_packus_epi16(g, g));
  const __m128i ra = _mm_unpacklo_epi8(_mm_packus_epi16(r, r), _mm_set1_epi8(-1));
  auto* o = reinterpret_cast<__m128i*>(out);
  if ((reinterpret_cast<uintptr_t>(out) & 15) == 0) {
    _mm_stream_si128(o, _mm_unpacklo_epi16(bg, ra));
    _mm_stream_si128(o + 1, _mm_unpackhi_epi16(bg, ra));
  } else {
    _mm_storeu_si128(o, _mm_unpacklo_epi16(bg, ra));
    _mm_storeu_si128(o + 1, _mm_unpackhi_epi16(bg, ra));
  }
}

// Plain form: Yt = (Y - 16) x 38142 + 16384, terms (V - 128) x 52298, -(U - 128) x 12812 -
// (V - 128) x 26640 and (U - 128) x 66126, each split into two factors below 32768.
struct Plain {
  // Four chroma samples' terms, each spread over the two pixels of its column pair.
  struct Terms {
    __m128i r[2], g[2], b[2];
  };
  static Terms terms(const uint8_t* cb, const uint8_t* cr) {
    const __m128i u = widen4(cb, 128), v = widen4(cr, 128);
    const __m128i r = _mm_madd_epi16(_mm_unpacklo_epi16(v, v), pair(26149, 26149));
    const __m128i g = _mm_madd_epi16(_mm_unpacklo_epi16(u, v), pair(-12812, -26640));
    const __m128i b = _mm_madd_epi16(_mm_unpacklo_epi16(u, _mm_add_epi16(u, u)), pair(592, 32767));
    return {{_mm_unpacklo_epi32(r, r), _mm_unpackhi_epi32(r, r)},
            {_mm_unpacklo_epi32(g, g), _mm_unpackhi_epi32(g, g)},
            {_mm_unpacklo_epi32(b, b), _mm_unpackhi_epi32(b, b)}};
  }
  static __m128i channel(const __m128i (&luma)[2], const __m128i (&term)[2]) {
    return _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(luma[0], term[0]), 15),
                           _mm_srai_epi32(_mm_add_epi32(luma[1], term[1]), 15));
  }
  static void pixels8(const uint8_t* y, const Terms& t, uint32_t* out) {
    const __m128i y16 = widen8(y, 16);
    const __m128i k = pair(19071, 19071), half = _mm_set1_epi32(16384);
    const __m128i luma[2] = {_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(y16, y16), k), half),
                             _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(y16, y16), k), half)};
    store8(out, channel(luma, t.b), channel(luma, t.g), channel(luma, t.r));
  }
};

// Vector form, in 16-bit lanes like the form itself: luma limited to 10..235, then
// trunc(0.5 + x x 74.496) for x = Y - 16, which equals (x x 19071 + c) >> 8 with c = 124 for
// x >= 0 and c = 384 for the six negative x (one pmaddwd forms x x 19071 + c x 1). The chroma
// terms likewise: each table value trunc(0.5 + x k), x the limited sample less 128 (-118..112),
// equals (x K + 2^(s-1)) >> s, plus 1 where 0.5 + x k is negative (truncation rounds up there),
// with K = k1 x 256 + k2 so that one pmaddwd of (x x 256, x) forms x K.
struct Vector {
  // Eight chroma samples' terms, each spread over the two pixels of its column pair: [0] for the
  // first eight pixels, [1] for the next.
  struct Terms {
    __m128i r[2], g[2], b[2];
  };
  template <int Shift>
  static __m128i term(__m128i x, __m128i x256, int16_t k1, int16_t k2) {
    const __m128i k = pair(k1, k2), half = _mm_set1_epi32(1 << (Shift - 1));
    const __m128i lo = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(x256, x), k), half), Shift);
    const __m128i hi = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(x256, x), k), half), Shift);
    return _mm_packs_epi32(lo, hi);
  }
  static Terms terms(const uint8_t* cb, const uint8_t* cr) {
    const __m128i both = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb)),
                                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr)));
    const __m128i limited = _mm_min_epu8(_mm_max_epu8(both, _mm_set1_epi8(10)), _mm_set1_epi8(static_cast<char>(240)));
    const __m128i zero = _mm_setzero_si128(), bias = _mm_set1_epi16(128);
    const __m128i u = _mm_sub_epi16(_mm_unpacklo_epi8(limited, zero), bias);
    const __m128i v = _mm_sub_epi16(_mm_unpackhi_epi8(limited, zero), bias);
    const __m128i u256 = _mm_slli_epi16(u, 8), v256 = _mm_slli_epi16(v, 8);
    // x 129.152, x 102.144 (rounded up below zero); -x 25.024 and -x 52.032 (rounded up above it).
    const __m128i b = _mm_sub_epi16(term<12>(u, u256, 2066, 111), _mm_cmplt_epi16(u, zero));
    const __m128i r = _mm_sub_epi16(term<11>(v, v256, 817, 39), _mm_cmplt_epi16(v, zero));
    const __m128i gu = _mm_sub_epi16(term<11>(u, u256, -201, 207), _mm_cmpgt_epi16(u, zero));
    const __m128i gv = _mm_sub_epi16(term<12>(v, v256, -833, 125), _mm_cmpgt_epi16(v, zero));
    const __m128i g = _mm_add_epi16(gu, gv);
    return {{_mm_unpacklo_epi16(r, r), _mm_unpackhi_epi16(r, r)},
            {_mm_unpacklo_epi16(g, g), _mm_unpackhi_epi16(g, g)},
            {_mm_unpacklo_epi16(b, b), _mm_unpackhi_epi16(b, b)}};
  }
  // Eight limited luma samples (16-bit) into their Yv.
  static __m128i luma(__m128i limited16) {
    const __m128i x = _mm_sub_epi16(limited16, _mm_set1_epi16(16));
    const __m128i c = _mm_add_epi16(_mm_set1_epi16(124), _mm_and_si128(_mm_cmplt_epi16(x, _mm_setzero_si128()), _mm_set1_epi16(260)));
    const __m128i k = pair(19071, 1);
    return _mm_packs_epi32(_mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(x, c), k), 8),
                           _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(x, c), k), 8));
  }
  static void store(uint32_t* out, __m128i yv, const Terms& t, int half) {
    store8(out, _mm_srai_epi16(_mm_add_epi16(yv, t.b[half]), 6), _mm_srai_epi16(_mm_add_epi16(yv, t.g[half]), 6),
           _mm_srai_epi16(_mm_add_epi16(yv, t.r[half]), 6));
  }
  static void pixels16(const uint8_t* y, const Terms& t, uint32_t* out) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y));
    const __m128i limited = _mm_min_epu8(_mm_max_epu8(bytes, _mm_set1_epi8(10)), _mm_set1_epi8(static_cast<char>(235)));
    store(out, luma(_mm_unpacklo_epi8(limited, _mm_setzero_si128())), t, 0);
    store(out + 8, luma(_mm_unpackhi_epi8(limited, _mm_setzero_si128())), t, 1);
  }
};

}  // namespace sse2

// One row pair: eight pixels at a time, the last few (a width that is no multiple of 8) one by one.
void plainRowPair(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr, uint32_t* o0,
                  uint32_t* o1, size_t width) {
  size_t x = 0;
  for (; x + 8 <= width; x += 8) {
    const sse2::Plain::Terms t = sse2::Plain::terms(cb + x / 2, cr + x / 2);
    sse2::Plain::pixels8(y0 + x, t, o0 + x);
    sse2::Plain::pixels8(y1 + x, t, o1 + x);
  }
  scalarRowPair<PlainForm>(y0, y1, cb, cr, o0, o1, x, width);
}

// Sixteen pixels at a time, the last few (a width that is no multiple of 16) one by one.
void vectorRowPair(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr, uint32_t* o0,
                   uint32_t* o1, size_t width) {
  size_t x = 0;
  for (; x + 16 <= width; x += 16) {
    const sse2::Vector::Terms t = sse2::Vector::terms(cb + x / 2, cr + x / 2);
    sse2::Vector::pixels16(y0 + x, t, o0 + x);
    sse2::Vector::pixels16(y1 + x, t, o1 + x);
  }
  scalarRowPair<VectorForm>(y0, y1, cb, cr, o0, o1, x, width);
}

#endif

using RowPair = void (*)(const uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, uint32_t*, uint32_t*, size_t);

template <typename Form>
void scalarWholeRowPair(const uint8_t* y0, const uint8_t* y1, const uint8_t* cb, const uint8_t* cr, uint32_t* o0,
                        uint32_t* o1, size_t width) {
  scalarRowPair<Form>(y0, y1, cb, cr, o0, o1, 0, width);
}

template <RowPair rowPair>
void convertRows(const FramePlanes& p, uint32_t* out, int32_t outWidth) {
  const auto width = static_cast<size_t>(p.lumaWidth);
  for (int32_t row = 0; row < p.lumaHeight; row += 2) {
    const uint8_t* cb = p.cb + static_cast<ptrdiff_t>(row / 2) * p.chromaStride;
    const uint8_t* cr = p.cr + static_cast<ptrdiff_t>(row / 2) * p.chromaStride;
    const uint8_t* y0 = p.luma + static_cast<ptrdiff_t>(row) * p.lumaStride;
    const uint8_t* y1 = y0 + p.lumaStride;
    uint32_t* o0 = out + static_cast<ptrdiff_t>(row) * outWidth;
    uint32_t* o1 = o0 + outWidth;
    rowPair(y0, y1, cb, cr, o0, o1, width);
  }
}

bool fits(const FramePlanes& p, const uint32_t* out, int32_t outWidth, int32_t outHeight) {
  if (!out || !p.luma || !p.cb || !p.cr) return false;
  if (p.lumaWidth <= 0 || p.lumaHeight <= 0 || p.lumaWidth % 2 || p.lumaHeight % 2) return false;
  if (p.lumaWidth > outWidth || p.lumaHeight > outHeight) return false;
  if (p.chromaWidth < p.lumaWidth / 2 || p.chromaHeight < p.lumaHeight / 2) return false;
  if (std::abs(p.lumaStride) < p.lumaWidth || std::abs(p.chromaStride) < p.lumaWidth / 2) return false;
  return true;
}

}  // namespace

uint32_t plainPixel(uint8_t y, uint8_t cb, uint8_t cr) { return PlainForm::pixel(y, PlainForm::terms(cb, cr)); }

uint32_t vectorPixel(uint8_t y, uint8_t cb, uint8_t cr) { return VectorForm::pixel(y, VectorForm::terms(cb, cr)); }

ColourForm chosenColourForm() {
  const EngineSettings& s = settings();
  return (s.sse2 || s.sse || s.mmx) ? ColourForm::Vector : ColourForm::Plain;
}

bool convertFrame(const FramePlanes& p, uint32_t* out, int32_t outWidth, int32_t outHeight, ColourForm form) {
#if defined(__SSE2__)
  if (!fits(p, out, outWidth, outHeight)) return false;
  if (form == ColourForm::Plain) {
    convertRows<plainRowPair>(p, out, outWidth);
  } else {
    convertRows<vectorRowPair>(p, out, outWidth);
  }
  _mm_sfence();  // the streamed rows are visible before the frame is handed over
  return true;
#else
  return convertFrameScalar(p, out, outWidth, outHeight, form);
#endif
}

bool convertFrameScalar(const FramePlanes& p, uint32_t* out, int32_t outWidth, int32_t outHeight, ColourForm form) {
  if (!fits(p, out, outWidth, outHeight)) return false;
  if (form == ColourForm::Plain) {
    convertRows<scalarWholeRowPair<PlainForm>>(p, out, outWidth);
  } else {
    convertRows<scalarWholeRowPair<VectorForm>>(p, out, outWidth);
  }
  return true;
}

}  // namespace vellum
