#include "image/lzss.h"

namespace vellum {

LzssRing filterTableRing() {
  LzssRing ring;
  uint8_t* p = ring.bytes;
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 16; ++j) {
      for (int k = 0; k < 4; ++k) *p++ = static_cast<uint8_t>(i);
      for (int k = 0; k < 4; ++k) *p++ = static_cast<uint8_t>(j);
    }
  }
  return ring;
}

LzssResult lzssDecode(LzssRing& ring, const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize) {
  uint8_t* const text = ring.bytes;
  uint32_t r = ring.position;
  size_t in = 0;
  size_t out = 0;
  LzssResult result = LzssResult::Ok;
  while (in < inputSize && result == LzssResult::Ok) {
    unsigned flags = input[in++];
    for (int item = 0; item < 8 && in < inputSize; ++item, flags >>= 1) {
      if ((flags & 1) == 0) {
        if (out == outputSize) {
          result = LzssResult::Overflow;
          break;
        }
        const uint8_t c = input[in++];
        output[out++] = c;
        text[r] = c;
        r = (r + 1) & kLzssRingMask;
        continue;
      }
      if (inputSize - in < 2) {
        result = LzssResult::Truncated;
        break;
      }
      uint32_t from = input[in] | (input[in + 1] & 0x0Fu) << 8;
      uint32_t length = (input[in + 1] >> 4) + kLzssMinMatch;
      in += 2;
      if (length == 18) {
        if (in == inputSize) {
          result = LzssResult::Truncated;
          break;
        }
        length = input[in++] + 18u;
      }
      if (length > outputSize - out) {
        result = LzssResult::Overflow;
        break;
      }
      // Byte by byte: a match may overlap the bytes it is writing.
      for (uint32_t i = 0; i < length; ++i) {
        const uint8_t c = text[from];
        from = (from + 1) & kLzssRingMask;
        output[out++] = c;
        text[r] = c;
        r = (r + 1) & kLzssRingMask;
      }
    }
  }
  ring.position = r;
  if (result == LzssResult::Ok && out != outputSize) result = LzssResult::Short;
  return result;
}

const char* lzssProblem(LzssResult result) {
  switch (result) {
    case LzssResult::Ok:
      return "no problem";
    case LzssResult::Overflow:
      return "the compressed data unpacks to more bytes than its buffer holds";
    case LzssResult::Truncated:
      return "the compressed data ends inside a match";
    case LzssResult::Short:
      return "the compressed data unpacks to fewer bytes than its buffer needs";
  }
  return "unknown";
}

}  // namespace vellum
