// The LZSS token format shared by TLG5 channels and the TLG6 filter-type table: a 4096-byte ring,
// flag bytes announcing eight items least significant bit first, literals (flag 0) and matches
// (flag 1) of a 12-bit ring position and a length of 3 to 273. The ring persists between calls.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

constexpr uint32_t kLzssRingSize = 4096;
constexpr uint32_t kLzssRingMask = kLzssRingSize - 1;
constexpr uint32_t kLzssMinMatch = 3;
constexpr uint32_t kLzssMaxMatch = 273;

struct LzssRing {
  uint8_t bytes[kLzssRingSize] = {};
  uint32_t position = 0;
};

// The ring TLG6 starts its filter table with: 32 x 16 entries of four bytes i then four bytes j.
LzssRing filterTableRing();

enum class LzssResult {
  Ok,
  Overflow,   // the data would write past the output
  Truncated,  // a match token is cut off by the end of the input
  Short,      // the input ended before the output was full
};

// Decodes all of `input` into exactly `outputSize` bytes of `output`, carrying the ring along.
LzssResult lzssDecode(LzssRing& ring, const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize);

const char* lzssProblem(LzssResult result);

}  // namespace vellum
