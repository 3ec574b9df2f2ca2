// The "tags" chunk of a TLG0 container: entries "<key length>:<key>=<value length>:<value>,"
// with raw bytes of the given lengths. Single-byte keys 1 to 4 carry the layer name, left, top and
// mode (the numbers as 4 little-endian bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

namespace vellum {

constexpr uint8_t kTagName = 0x01;
constexpr uint8_t kTagLeft = 0x02;
constexpr uint8_t kTagTop = 0x03;
constexpr uint8_t kTagMode = 0x04;

// Stores the known tags into the image. False after reporting a malformed entry (a length that
// is not a number or runs past the chunk, a missing separator, a name longer than 255 bytes, a
// number tag that is not 4 bytes).
bool readTlgTags(const uint8_t* content, size_t size, Image& image);

// The chunk content the writer makes: left, top, mode and the name, in that order.
std::vector<uint8_t> makeTlgTags(const Image& image);

}  // namespace vellum
