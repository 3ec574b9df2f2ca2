// The byte layout shared by the archive reader and writer: little-endian words, the header and the
// 21-byte index entry with its per-field XOR, and the two ways stored data is disguised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vellum {

inline uint32_t readLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline uint64_t readLe64(const uint8_t* p) { return uint64_t{readLe32(p)} | uint64_t{readLe32(p + 4)} << 32; }
inline void writeLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void writeLe64(uint8_t* p, uint64_t v) {
  writeLe32(p, static_cast<uint32_t>(v));
  writeLe32(p + 4, static_cast<uint32_t>(v >> 32));
}

// An index entry as its fields mean, before the path-byte XOR of stored entries.
struct IndexEntry {
  uint64_t key = 0;
  uint8_t flags = 0;
  uint32_t offset = 0;
  uint32_t storedSize = 0;
  uint32_t unpackedSize = 0;
};

// `layoutXor` is kArchiveCountXor for the ACV1 layout and 0 for the older one.
IndexEntry decodeIndexEntry(const uint8_t* bytes, uint32_t layoutXor);
void encodeIndexEntry(const IndexEntry& entry, uint32_t layoutXor, uint8_t* bytes);

// Byte i of a path, or 0 past its end (where a C string has its terminator).
inline uint8_t pathByte(std::string_view path, size_t i) {
  return i < path.size() ? static_cast<uint8_t>(path[i]) : 0;
}

// Stored entries keep their real offset and size XORed with these path bytes.
inline uint8_t offsetPathByte(std::string_view path) { return pathByte(path, path.size() / 2); }
inline uint8_t sizePathByte(std::string_view path) { return pathByte(path, path.size() / 4); }

// XORs every whole little-endian 32-bit word with `key`; a tail of 1-3 bytes stays as it is.
void xorWords(uint8_t* data, size_t length, uint32_t key);

// XORs consecutive parts of length/n bytes with path bytes 0 .. n-2; the last part and the
// remainder stay as they are. Applying it twice gives the original bytes back.
void scrambleWithPath(uint8_t* data, size_t length, std::string_view path);

}  // namespace vellum
