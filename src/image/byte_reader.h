// Bounds-checked reading of a byte range: every read either succeeds inside the range or leaves the
// reader failed, so a decoder can read a whole header and test once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vellum {

inline uint16_t loadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t loadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline uint16_t loadBe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
inline uint32_t loadBe32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}
inline void storeLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }
  size_t position() const { return position_; }
  size_t remaining() const { return ok_ ? size_ - position_ : 0; }
  const uint8_t* here() const { return data_ + position_; }

  // The next n bytes, or nullptr (and the reader fails) when fewer remain.
  const uint8_t* take(size_t n) {
    if (!ok_ || n > size_ - position_) {
      ok_ = false;
      return nullptr;
    }
    const uint8_t* at = data_ + position_;
    position_ += n;
    return at;
  }
  bool skip(size_t n) { return take(n) != nullptr; }
  bool seek(size_t offset) {
    if (!ok_ || offset > size_) return ok_ = false;
    position_ = offset;
    return true;
  }
  uint8_t u8() {
    const uint8_t* p = take(1);
    return p ? p[0] : 0;
  }
  uint16_t le16() {
    const uint8_t* p = take(2);
    return p ? loadLe16(p) : 0;
  }
  uint32_t le32() {
    const uint8_t* p = take(4);
    return p ? loadLe32(p) : 0;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace vellum
