#include "image/tlg6_golomb_decoder.h"

#include <algorithm>
#include <bit>

#include "image/little_endian_load.h"
#include "image/tlg6_golomb_table.h"

namespace vellum {

namespace {

template <ResidualLane Lane>
inline void put(uint32_t* words, size_t i, uint32_t residual) {
  if constexpr (Lane == ResidualLane::WholeWord) {
    words[i] = residual;
  } else {
    constexpr int byte = static_cast<int>(Lane) - static_cast<int>(ResidualLane::Byte0);
    if constexpr (std::endian::native == std::endian::little) {
      reinterpret_cast<uint8_t*>(words + i)[byte] = static_cast<uint8_t>(residual);
    } else {
      words[i] = (words[i] & ~(0xFFu << byte * 8)) | residual << byte * 8;
    }
  }
}

template <ResidualLane Lane>
void putZeros(uint32_t* words, size_t from, size_t count) {
  if constexpr (Lane == ResidualLane::WholeWord) {
    std::fill(words + from, words + from + count, 0u);
  } else {
    for (size_t i = from; i < from + count; ++i) put<Lane>(words, i, 0);
  }
}

// Bits least significant first. `bits` holds the stream from `pos` on, `valid` of them real; the
// reload keeps at least 57, so a plain value (at most 32 + 1 + 8 bits) needs no reload.
struct BitCursor {
  const uint8_t* stream;
  size_t pos = 0;
  uint64_t bits = 0;
  int valid = 0;

  void reload() {
    bits = loadLe64(stream + (pos >> 3)) >> (pos & 7);
    valid = 64 - static_cast<int>(pos & 7);
  }
  void consume(int count) {
    bits >>= count;
    valid -= count;
    pos += static_cast<size_t>(count);
  }
};

constexpr int kLongestPlainValue = 32 + 1 + 8;

template <ResidualLane Lane>
[[gnu::always_inline]] inline GolombResult decodeRuns(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count) {
  BitCursor in{stream};
  in.reload();
  bool zeroRun = (in.bits & 1) == 0;
  in.consume(1);
  int a = 0;
  int n = kGolombCountdown;
  size_t done = 0;
  while (done < count) {
    // Elias gamma: k zero bits, a one, then k bits m; the run is 2^k + m long.
    in.reload();
    if (static_cast<uint32_t>(in.bits) == 0) return GolombResult::BadRunLength;
    const int k = std::countr_zero(in.bits);
    in.consume(k + 1);
    if (in.valid < k) in.reload();
    const size_t run = (size_t{1} << k) + (in.bits & ((uint64_t{1} << k) - 1));
    in.consume(k);
    if (in.pos > bitCount) return GolombResult::PastEnd;
    if (run > count - done) return GolombResult::RunTooLong;

    if (zeroRun) {
      putZeros<Lane>(words, done, run);
      done += run;
    } else {
      for (const size_t end = done + run; done < end; ++done) {
        if (in.valid < kLongestPlainValue) in.reload();
        const int parameter = kGolombBitLength[static_cast<size_t>(a) * 4 + n];
        const uint32_t mask = (1u << parameter) - 1;
        const int q = std::countr_zero(in.bits);
        uint32_t t;
        if (q < 32 - static_cast<int>(in.pos & 7)) {
          // Unary quotient and its closing one, then `parameter` remainder bits.
          t = static_cast<uint32_t>(q) << parameter | (static_cast<uint32_t>(in.bits >> (q + 1)) & mask);
          in.consume(q + 1 + parameter);
        } else {
          // The rest of the next four bytes is zero: the quotient is the byte after them.
          const size_t at = (in.pos >> 3) + 4;
          in.pos = (at + 1) * 8;
          in.reload();
          t = uint32_t{stream[at]} << parameter | (static_cast<uint32_t>(in.bits) & mask);
          in.consume(parameter);
        }
        if (in.pos > bitCount) return GolombResult::PastEnd;
        put<Lane>(words, done, (t & 1) ? ((t >> 1) + 1) & 0xFF : ~(t >> 1) & 0xFF);
        a += static_cast<int>(t >> 1);
        if (--n < 0) {
          a >>= 1;
          n = kGolombCountdown;
        }
        if (a > kGolombMaxMagnitude) return GolombResult::MagnitudeTooBig;
      }
    }
    zeroRun = !zeroRun;
  }
  return GolombResult::Ok;
}

}  // namespace

const char* golombProblem(GolombResult result) {
  switch (result) {
    case GolombResult::Ok:
      return "no problem";
    case GolombResult::RunTooLong:
      return "a run goes past the end of the band";
    case GolombResult::BadRunLength:
      return "a run length code is longer than 32 bits";
    case GolombResult::PastEnd:
      return "the codes run past the channel's bit length";
    case GolombResult::MagnitudeTooBig:
      return "the Golomb magnitude leaves the parameter table";
  }
  return "unknown";
}

// One body, compiled twice: for the baseline processor and with the bit-manipulation extensions
// (tzcnt, shifts by a register without the count register), picked at first use.
#define VELLUM_GOLOMB_DISPATCH                                                         \
  if (count == 0) return GolombResult::Ok;                                           \
  if (bitCount == 0) return GolombResult::PastEnd;                                   \
  switch (lane) {                                                                    \
    case ResidualLane::WholeWord:                                                    \
      return decodeRuns<ResidualLane::WholeWord>(stream, bitCount, words, count);    \
    case ResidualLane::Byte0:                                                        \
      return decodeRuns<ResidualLane::Byte0>(stream, bitCount, words, count);        \
    case ResidualLane::Byte1:                                                        \
      return decodeRuns<ResidualLane::Byte1>(stream, bitCount, words, count);        \
    case ResidualLane::Byte2:                                                        \
      return decodeRuns<ResidualLane::Byte2>(stream, bitCount, words, count);        \
    case ResidualLane::Byte3:                                                        \
      return decodeRuns<ResidualLane::Byte3>(stream, bitCount, words, count);        \
  }                                                                                  \
  return GolombResult::Ok;

GolombResult decodeGolombChannelPlain(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count,
                                      ResidualLane lane) {
  VELLUM_GOLOMB_DISPATCH
}

#if defined(__x86_64__) && defined(__GNUC__)

namespace {

__attribute__((target("bmi,bmi2,lzcnt"))) GolombResult decodeWithBitManipulation(const uint8_t* stream,
                                                                                  size_t bitCount, uint32_t* words,
                                                                                  size_t count, ResidualLane lane) {
  VELLUM_GOLOMB_DISPATCH
}

using Decoder = GolombResult (*)(const uint8_t*, size_t, uint32_t*, size_t, ResidualLane);

Decoder chooseDecoder() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("bmi2") ? &decodeWithBitManipulation : &decodeGolombChannelPlain;
}

}  // namespace

GolombResult decodeGolombChannel(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count,
                                 ResidualLane lane) {
  static const Decoder chosen = chooseDecoder();
  return chosen(stream, bitCount, words, count, lane);
}

#else

GolombResult decodeGolombChannel(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count,
                                 ResidualLane lane) {
  return decodeGolombChannelPlain(stream, bitCount, words, count, lane);
}

#endif

#undef VELLUM_GOLOMB_DISPATCH

}  // namespace vellum
