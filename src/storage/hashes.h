// The engine's two hashes. CRC-32 (reflected, zlib's) keys every name table; CRC-64 (ECMA-182
// polynomial, non-reflected, all-ones start and final complement) keys every stored file.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellum {

uint32_t crc32Of(std::string_view bytes);
uint64_t crc64Of(std::string_view bytes);

// Folds more bytes into a running CRC-64 state (start with ~0, finish with ~state).
uint64_t crc64Update(uint64_t state, const uint8_t* bytes, size_t length);

}  // namespace vellum
