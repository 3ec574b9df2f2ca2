// Bits appended least significant first, eight to a byte (the order the TLG6 decoder reads).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellum {

class BitWriter {
 public:
  // Appends the low `count` bits of `value` (count at most 32).
  void put(uint32_t value, int count) {
    pending_ |= uint64_t{value & (count == 32 ? ~0u : (1u << count) - 1)} << pendingBits_;
    pendingBits_ += count;
    bits_ += static_cast<uint64_t>(count);
    while (pendingBits_ >= 8) {
      bytes_.push_back(static_cast<uint8_t>(pending_));
      pending_ >>= 8;
      pendingBits_ -= 8;
    }
  }
  void putZeros(int count) {
    while (count > 32) {
      put(0, 32);
      count -= 32;
    }
    put(0, count);
  }

  uint64_t bitCount() const { return bits_; }
  // The bit position inside the current byte.
  int bitInByte() const { return pendingBits_; }
  // The bytes with the last partial byte zero-filled. The writer stays usable.
  const std::vector<uint8_t>& finish() {
    if (pendingBits_ > 0) {
      bytes_.push_back(static_cast<uint8_t>(pending_));
      pending_ = 0;
      pendingBits_ = 0;
    }
    return bytes_;
  }
  void clear() {
    bytes_.clear();
    pending_ = 0;
    pendingBits_ = 0;
    bits_ = 0;
  }

 private:
  std::vector<uint8_t> bytes_;
  uint64_t pending_ = 0;
  int pendingBits_ = 0;
  uint64_t bits_ = 0;
};

}  // namespace vellum
