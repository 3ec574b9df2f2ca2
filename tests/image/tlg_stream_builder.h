// Hand assembly of TLG streams for the decoder tests, written from the stream layout alone: LZSS
// data made of literal items and explicit match tokens, and bit strings least significant bit
// first for the TLG6 channel codes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image_test_util.h"

namespace vellum::image_test {

// The signature of a TLG5 stream.
inline constexpr uint8_t kMagic5[] = {'T', 'L', 'G', '5', '.', '0', 0x00, 'r', 'a', 'w', 0x1A};

// LZSS items: a literal byte, or a match (ring position, length 3 ... 273).
struct LzssItem {
  bool match;
  uint32_t value;  // the literal, or the position
  uint32_t length;
};
inline LzssItem literal(uint8_t byte) { return {false, byte, 0}; }
inline LzssItem match(uint32_t position, uint32_t length) { return {true, position, length}; }

inline Bytes lzssTokens(const std::vector<LzssItem>& items) {
  Bytes out;
  size_t flag = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i % 8 == 0) {
      flag = out.size();
      out.push_back(0);
    }
    const LzssItem& item = items[i];
    if (!item.match) {
      out.push_back(static_cast<uint8_t>(item.value));
      continue;
    }
    out[flag] |= static_cast<uint8_t>(1u << (i % 8));
    out.push_back(static_cast<uint8_t>(item.value & 0xFF));
    if (item.length >= 18) {
      out.push_back(static_cast<uint8_t>(((item.value >> 8) & 0x0F) | 0xF0));
      out.push_back(static_cast<uint8_t>(item.length - 18));
    } else {
      out.push_back(static_cast<uint8_t>(((item.value >> 8) & 0x0F) | (item.length - 3) << 4));
    }
  }
  return out;
}

inline Bytes lzssLiterals(const Bytes& data) {
  std::vector<LzssItem> items;
  for (uint8_t b : data) items.push_back(literal(b));
  return lzssTokens(items);
}

// Bits in reading order: the first pushed is bit 0 of byte 0.
class Bits {
 public:
  Bits& bit(int b) {
    bits_.push_back(b != 0);
    return *this;
  }
  // A written-out string such as "0001" (first character first).
  Bits& text(const std::string& s) {
    for (char c : s) bit(c == '1');
    return *this;
  }
  Bits& zeros(int n) {
    for (int i = 0; i < n; ++i) bit(0);
    return *this;
  }
  // `count` bits of v, least significant first.
  Bits& number(uint32_t v, int count) {
    for (int i = 0; i < count; ++i) bit((v >> i) & 1);
    return *this;
  }
  // Elias gamma: k zeros, a one, the k low bits of n - 2^k.
  Bits& gamma(uint32_t n) {
    int k = 0;
    while ((n >> (k + 1)) != 0) ++k;
    zeros(k).bit(1).number(n - (1u << k), k);
    return *this;
  }
  size_t size() const { return bits_.size(); }
  int bitInByte() const { return static_cast<int>(bits_.size() % 8); }
  Bytes bytes() const {
    Bytes out((bits_.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits_.size(); ++i)
      if (bits_[i]) out[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
    return out;
  }

 private:
  std::vector<bool> bits_;
};

}  // namespace vellum::image_test
