#include "image/png_chunks.h"

#include <cstring>

#include "image/byte_reader.h"

namespace vellum {

namespace {

constexpr size_t kSignatureSize = 8;
constexpr size_t kChunkOverhead = 12;  // length, type, CRC

}  // namespace

bool pngChunksFit(const uint8_t* data, size_t size, std::string& problem) {
  size_t at = kSignatureSize;
  while (at + 8 <= size) {
    const uint64_t length = loadBe32(data + at);
    const std::string type(reinterpret_cast<const char*>(data + at + 4), 4);
    if (length + kChunkOverhead > size - at) {
      problem = "the chunk '" + type + "' of " + std::to_string(length) + " bytes runs past the end of the data";
      return false;
    }
    if (type == "IEND") break;
    at += kChunkOverhead + length;
  }
  return true;
}

}  // namespace vellum
