#include "storage/archive_format.h"

#include <cstring>

namespace vellum {

IndexEntry decodeIndexEntry(const uint8_t* bytes, uint32_t layoutXor) {
  IndexEntry e;
  e.key = readLe64(bytes);
  const auto k = static_cast<uint32_t>(e.key);
  e.flags = static_cast<uint8_t>(bytes[8] ^ (k & 0xFF));
  e.offset = readLe32(bytes + 9) ^ k ^ layoutXor;
  e.storedSize = readLe32(bytes + 13) ^ k;
  e.unpackedSize = readLe32(bytes + 17) ^ k;
  return e;
}

void encodeIndexEntry(const IndexEntry& e, uint32_t layoutXor, uint8_t* bytes) {
  const auto k = static_cast<uint32_t>(e.key);
  writeLe64(bytes, e.key);
  bytes[8] = static_cast<uint8_t>(e.flags ^ (k & 0xFF));
  writeLe32(bytes + 9, e.offset ^ k ^ layoutXor);
  writeLe32(bytes + 13, e.storedSize ^ k);
  writeLe32(bytes + 17, e.unpackedSize ^ k);
}

void xorWords(uint8_t* data, size_t length, uint32_t key) {
  // Words are little-endian on disk; the buffer may be unaligned, so go through memcpy.
  uint8_t keyBytes[4];
  writeLe32(keyBytes, key);
  uint32_t k;
  std::memcpy(&k, keyBytes, 4);
  const size_t words = length / 4;
  for (size_t i = 0; i < words; ++i) {
    uint32_t w;
    std::memcpy(&w, data + 4 * i, 4);
    w ^= k;
    std::memcpy(data + 4 * i, &w, 4);
  }
}

void scrambleWithPath(uint8_t* data, size_t length, std::string_view path) {
  const size_t n = path.size();
  if (n == 0) return;
  const size_t part = length / n;
  if (part == 0) return;
  uint8_t* p = data;
  for (size_t i = 0; i + 1 < n; ++i) {
    const auto c = static_cast<uint8_t>(path[i]);
    for (size_t j = 0; j < part; ++j) p[j] ^= c;
    p += part;
  }
}

}  // namespace vellum
