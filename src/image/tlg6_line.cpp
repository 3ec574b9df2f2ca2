#include "image/tlg6_line.h"

#include <algorithm>
#include <array>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/packed_pixels.h"
#include "image/tlg6_colour_filter.h"
#include "image/tlg6_prediction.h"

namespace vellum {

namespace {

constexpr int kBlock = 8;

// Residual word of pixel i (left to right) of a block line stored forwards or backwards.
inline uint32_t residualAt(const uint32_t* line, int w, int i, bool backwards) {
  return line[backwards ? w - 1 - i : i];
}

inline const uint32_t* blockLine(const Tlg6LineInput& in, int block, int w) {
  const uint32_t* start = in.residuals + static_cast<size_t>(block) * kBlock * in.bandLines;
  const int slot = (block & 1) ? in.bandLines - 1 - in.bandLine : in.bandLine;
  return start + static_cast<size_t>(slot) * w;
}

// Any block width, any filter byte up to 31.
void blockPlain(const Tlg6LineInput& in, uint32_t* out, int block, uint32_t& left, uint32_t& aboveLeft) {
  const int x0 = block * kBlock;
  const int w = std::min(kBlock, in.width - x0);
  const uint8_t f = in.filters[block];
  const uint32_t* line = blockLine(in, block, w);
  const bool backwards = in.y & 1;
  for (int i = 0; i < w; ++i) {
    const uint32_t residual = applyColourFilter(f >> 1, residualAt(line, w, i, backwards));
    const uint32_t u = in.above[x0 + i];
    const uint32_t prediction = (f & 1) ? averagePredict(left, u) : medianPredict(left, u, aboveLeft);
    left = packedAdd(prediction, residual);
    aboveLeft = u;
    out[x0 + i] = left;
  }
}

}  // namespace

void reconstructTlg6LinePlain(const Tlg6LineInput& in, uint32_t* out) {
  uint32_t left = in.initial;
  uint32_t aboveLeft = in.initial;
  const int blocks = (in.width + kBlock - 1) / kBlock;
  for (int block = 0; block < blocks; ++block) {
    if (in.filters[block] > 31) return;  // the rest of the line is left as it is
    blockPlain(in, out, block, left, aboveLeft);
  }
}

#if defined(__SSE2__)

namespace {

// One full block with the filter and predictor fixed at compile time. The pixels ride in the low
// four bytes of SSE registers; left and above-left stay in registers along the line.
struct PackedState {
  __m128i left;
  __m128i aboveLeft;
};

template <int Filter, bool Average>
void blockPacked(const Tlg6LineInput& in, uint32_t* out, int block, PackedState& state) {
  __m128i left = state.left;
  __m128i aboveLeft = state.aboveLeft;
  const int x0 = block * kBlock;
  const uint32_t* line = blockLine(in, block, kBlock);
  const bool backwards = in.y & 1;
  const uint32_t* above = in.above + x0;
  for (int i = 0; i < kBlock; ++i) {
    const uint32_t word = applyColourFilter<Filter>(residualAt(line, kBlock, i, backwards));
    const __m128i residual = _mm_cvtsi32_si128(static_cast<int>(word));
    const __m128i u = _mm_cvtsi32_si128(static_cast<int>(above[i]));
    __m128i prediction;
    if constexpr (Average) {
      prediction = _mm_avg_epu8(left, u);
    } else {
      const __m128i low = _mm_min_epu8(left, u);
      const __m128i high = _mm_max_epu8(left, u);
      const __m128i clamped = _mm_min_epu8(_mm_max_epu8(aboveLeft, low), high);
      prediction = _mm_sub_epi8(_mm_add_epi8(low, high), clamped);
    }
    left = _mm_add_epi8(prediction, residual);
    aboveLeft = u;
    out[x0 + i] = static_cast<uint32_t>(_mm_cvtsi128_si32(left));
  }
  state.left = left;
  state.aboveLeft = aboveLeft;
}

using PackedBlock = void (*)(const Tlg6LineInput&, uint32_t*, int, PackedState&);

template <size_t... F>
constexpr auto packedTable(std::index_sequence<F...>) {
  // Indexed by the filter byte: bit 0 the predictor, bits 1-4 the colour filter.
  return std::array<PackedBlock, 32>{
      (F & 1 ? &blockPacked<static_cast<int>(F >> 1), true> : &blockPacked<static_cast<int>(F >> 1), false>)...};
}

constexpr auto kPackedBlocks = packedTable(std::make_index_sequence<32>{});

}  // namespace

void reconstructTlg6LineFast(const Tlg6LineInput& in, uint32_t* out) {
  PackedState state;
  state.left = _mm_cvtsi32_si128(static_cast<int>(in.initial));
  state.aboveLeft = state.left;
  const int fullBlocks = in.width / kBlock;
  for (int block = 0; block < fullBlocks; ++block) {
    const uint8_t f = in.filters[block];
    if (f > 31) return;
    kPackedBlocks[f](in, out, block, state);
  }
  if (in.width % kBlock == 0 || in.filters[fullBlocks] > 31) return;
  uint32_t l = static_cast<uint32_t>(_mm_cvtsi128_si32(state.left));
  uint32_t c = static_cast<uint32_t>(_mm_cvtsi128_si32(state.aboveLeft));
  blockPlain(in, out, fullBlocks, l, c);
}

Tlg6LineDecoder tlg6LineDecoder() { return &reconstructTlg6LineFast; }

#else

void reconstructTlg6LineFast(const Tlg6LineInput& in, uint32_t* out) { reconstructTlg6LinePlain(in, out); }

Tlg6LineDecoder tlg6LineDecoder() { return &reconstructTlg6LinePlain; }

#endif

}  // namespace vellum
