// Walks a text in one of the engine's three encodings and hands each character to a sink as one
// UTF-16 unit. None of them reads past the given length: a character cut off by the end of the
// input (a final lead byte, a truncated UTF-8 sequence, an odd trailing byte of UTF-16) is dropped.
#pragma once

#include <cstdint>

#include "services/codepage_tables.h"

namespace vellum {

// Double-byte text: a lead byte and the byte after it form one code, any other byte is single.
template <typename Sink>
void decodeDoubleByte(const uint8_t* text, uint32_t length, Sink&& sink) {
  const uint16_t* const doubleByteToUtf16 = doubleByteTables().doubleByteToUtf16;
  for (uint32_t i = 0; i < length;) {
    const uint8_t first = text[i];
    if (!kLeadByte[first]) {
      sink(kSingleByteToUtf16[first]);
      ++i;
    } else if (length - i >= 2) {
      sink(doubleByteToUtf16[first << 8 | text[i + 1]]);
      i += 2;
    } else {
      break;
    }
  }
}

// length is in bytes.
template <typename Sink>
void decodeUtf16(const uint16_t* units, uint32_t length, Sink&& sink) {
  for (uint32_t i = 0; i < length / 2; ++i) sink(units[i]);
}

// The first byte alone gives the sequence length (1, 2 or 3), and the code point is assembled
// from the low bits without checking the continuation bytes: only the basic plane exists here.
template <typename Sink>
void decodeUtf8(const uint8_t* text, uint32_t length, Sink&& sink) {
  for (uint32_t i = 0; i < length;) {
    const uint8_t* s = text + i;
    const uint32_t sequenceLength = kUtf8LengthByFirstByte[s[0]];
    if (sequenceLength > length - i) break;
    uint32_t unit;
    if (sequenceLength == 1) {
      unit = s[0] & 0x7F;
    } else if (sequenceLength == 2) {
      unit = (s[0] & 0x1Fu) << 6 | (s[1] & 0x3Fu);
    } else {
      unit = (s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
    }
    sink(static_cast<uint16_t>(unit));
    i += sequenceLength;
  }
}

}  // namespace vellum
