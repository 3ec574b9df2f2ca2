#include "storage/hashes.h"

#include <array>

namespace vellum {

namespace {

constexpr uint32_t kCrc32Polynomial = 0xEDB88320u;           // reflected form
constexpr uint64_t kCrc64Polynomial = 0x42F0E1EBA9EA3693ull;  // ECMA-182, non-reflected

constexpr std::array<uint32_t, 256> makeCrc32Table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ kCrc32Polynomial : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<uint64_t, 256> makeCrc64Table() {
  std::array<uint64_t, 256> table{};
  for (uint64_t i = 0; i < 256; ++i) {
    uint64_t c = i << 56;
    for (int bit = 0; bit < 8; ++bit) c = (c & (1ull << 63)) ? (c << 1) ^ kCrc64Polynomial : c << 1;
    table[i] = c;
  }
  return table;
}

constexpr auto kCrc32Table = makeCrc32Table();
constexpr auto kCrc64Table = makeCrc64Table();

}  // namespace

uint32_t crc32Of(std::string_view bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = kCrc32Table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

uint64_t crc64Update(uint64_t state, const uint8_t* bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) state = (state << 8) ^ kCrc64Table[(state >> 56) ^ bytes[i]];
  return state;
}

uint64_t crc64Of(std::string_view bytes) {
  return ~crc64Update(~0ull, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace vellum
