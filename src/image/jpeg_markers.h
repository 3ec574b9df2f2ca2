// The engine's JPEG extensions. APP1 "pos\0": left, top and mode (4 bytes each, little-endian) and
// the NUL-terminated layer name. APP2 "ALP" + type + 4-byte value: an alpha channel carried in this
// and the following APP2 segments (types 0x00 raw, 0x01 JPEG, 0x02 zlib, 0x03 PNG, the value being
// its size) or stored after the JPEG at the offset the value gives (0x11, 0x12, 0x13).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

constexpr uint8_t kPositionTag[4] = {'p', 'o', 's', 0};
constexpr size_t kPositionPayloadSize = 256;
constexpr size_t kPositionNameOffset = 16;

constexpr uint8_t kAlphaTag[3] = {'A', 'L', 'P'};
constexpr size_t kAlphaHeaderSize = 8;

enum AlphaType : uint8_t {
  kAlphaRaw = 0x00,
  kAlphaJpeg = 0x01,
  kAlphaZlib = 0x02,
  kAlphaPng = 0x03,
  kAlphaAfterEnd = 0x10,  // added to 0x01 ... 0x03: stored after the JPEG's end
};

}  // namespace vellum
