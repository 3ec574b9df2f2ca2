// The hash exports forward to the storage hashes; a null text hashes like the empty one.
#include <string_view>

#include "storage/hashes.h"
#include "vellum/exports.h"

namespace {

std::string_view textOf(const char* text) { return text ? std::string_view(text) : std::string_view(); }

std::string_view bytesOf(const void* bytes, size_t length) {
  return bytes ? std::string_view(static_cast<const char*>(bytes), length) : std::string_view();
}

}  // namespace

uint32_t crc32_hash(const char* text) { return vellum::crc32Of(textOf(text)); }
uint32_t crc32_hash2(const void* bytes, size_t length) { return vellum::crc32Of(bytesOf(bytes, length)); }
uint64_t crc64_hash(const char* text) { return vellum::crc64Of(textOf(text)); }
uint64_t crc64_hash2(const void* bytes, size_t length) { return vellum::crc64Of(bytesOf(bytes, length)); }
