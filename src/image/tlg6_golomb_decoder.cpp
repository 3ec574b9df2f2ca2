#include "image/tlg6_golomb_decoder.h"

#include <algorithm>
#include <bit>

#include "image/little_endian_load.h"
#include "image/tlg6_golomb_table.h"

namespace vellum {

namespace {

// The 64 bits starting at bit `pos` (at least 57 of them meaningful).
inline uint64_t peekBits(const uint8_t* stream, size_t pos) { return loadLe64(stream + (pos >> 3)) >> (pos & 7); }

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

template <ResidualLane Lane>
GolombResult decodeRuns(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count) {
  size_t pos = 1;
  bool zeroRun = (stream[0] & 1) == 0;
  int a = 0;
  int n = kGolombCountdown;
  size_t done = 0;
  while (done < count) {
    // Elias gamma: k zero bits, a one, then k bits m; the run is 2^k + m long.
    const uint64_t head = peekBits(stream, pos);
    if (static_cast<uint32_t>(head) == 0) return GolombResult::BadRunLength;
    const int k = std::countr_zero(head);
    pos += static_cast<size_t>(k) + 1;
    const size_t run = (size_t{1} << k) + (peekBits(stream, pos) & ((uint64_t{1} << k) - 1));
    pos += static_cast<size_t>(k);
    if (pos > bitCount) return GolombResult::PastEnd;
    if (run > count - done) return GolombResult::RunTooLong;

    if (zeroRun) {
      putZeros<Lane>(words, done, run);
      done += run;
    } else {
      for (const size_t end = done + run; done < end; ++done) {
        const unsigned bit = pos & 7;
        const uint64_t bits = loadLe64(stream + (pos >> 3)) >> bit;
        const int parameter = kGolombBitLength[static_cast<size_t>(a) * 4 + n];
        uint32_t t;
        const unsigned q = bits ? static_cast<unsigned>(std::countr_zero(bits)) : 64;
        if (q < 32 - bit) {
          // Unary quotient and its closing one, then `parameter` remainder bits.
          t = static_cast<uint32_t>(q << parameter) |
              static_cast<uint32_t>((bits >> (q + 1)) & ((1u << parameter) - 1));
          pos += q + 1 + parameter;
        } else {
          // The rest of the next four bytes is zero: the quotient is the byte after them.
          const size_t at = (pos >> 3) + 4;
          const uint32_t quotient = stream[at];
          pos = (at + 1) * 8;
          t = (quotient << parameter) | static_cast<uint32_t>(peekBits(stream, pos) & ((1u << parameter) - 1));
          pos += parameter;
        }
        if (pos > bitCount) return GolombResult::PastEnd;
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

GolombResult decodeGolombChannel(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count,
                                 ResidualLane lane) {
  if (count == 0) return GolombResult::Ok;
  if (bitCount == 0) return GolombResult::PastEnd;
  switch (lane) {
    case ResidualLane::WholeWord:
      return decodeRuns<ResidualLane::WholeWord>(stream, bitCount, words, count);
    case ResidualLane::Byte0:
      return decodeRuns<ResidualLane::Byte0>(stream, bitCount, words, count);
    case ResidualLane::Byte1:
      return decodeRuns<ResidualLane::Byte1>(stream, bitCount, words, count);
    case ResidualLane::Byte2:
      return decodeRuns<ResidualLane::Byte2>(stream, bitCount, words, count);
    case ResidualLane::Byte3:
      return decodeRuns<ResidualLane::Byte3>(stream, bitCount, words, count);
  }
  return GolombResult::Ok;
}

}  // namespace vellum
