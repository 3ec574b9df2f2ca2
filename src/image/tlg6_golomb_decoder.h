// Decoding of one TLG6 channel stream: alternating runs of zero and non-zero residuals, the
// non-zero ones Golomb-coded with an adaptive parameter.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

// Bytes a stream buffer must hold past its last data byte: the decoder reads ahead in words.
constexpr size_t kGolombReadPadding = 16;

enum class GolombResult {
  Ok,
  RunTooLong,       // a run goes past the residuals the band holds
  BadRunLength,     // a run length code longer than 32 bits
  PastEnd,          // the codes run past the channel's bit length
  MagnitudeTooBig,  // the running magnitude left the parameter table
};

const char* golombProblem(GolombResult result);

// How residuals land in the band's buffer of 32-bit words.
enum class ResidualLane {
  WholeWord,  // channel 0 of a 3- or 4-colour picture: the residual is the word, upper bytes 0
  Byte0,
  Byte1,
  Byte2,
  Byte3,
};

// `stream` holds `bitCount` bits followed by at least kGolombReadPadding readable bytes.
// Writes exactly `count` residuals to words[0 ... count-1]. Uses the processor's bit-manipulation
// instructions where it has them.
GolombResult decodeGolombChannel(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count,
                                 ResidualLane lane);
// The same for any processor; bit-exact with the above.
GolombResult decodeGolombChannelPlain(const uint8_t* stream, size_t bitCount, uint32_t* words, size_t count,
                                      ResidualLane lane);

}  // namespace vellum
