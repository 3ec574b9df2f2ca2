#include "image/tga_reader.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/packed_pixels.h"

namespace vellum {

namespace {

constexpr const char* kCodec = "TGA";

bool fail(const std::string& problem) {
  reportBadPicture(kCodec, problem);
  return false;
}

// A 15/16-bit 5-5-5 colour with each field widened to 8 bits, opaque.
uint32_t widen555(uint32_t v) {
  const auto widen = [](uint32_t five) { return five << 3 | five >> 2; };
  return 0xFF000000u | widen((v >> 10) & 31) << 16 | widen((v >> 5) & 31) << 8 | widen(v & 31);
}

// The pixel value stored in `bytes` bytes (1 to 4), before any colour map.
uint32_t rawValue(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t{p[i]} << (8 * i);
  return v;
}

// Turns a stored value into a BGRA pixel, for true-colour and grey types and for map entries.
uint32_t colourOf(uint32_t v, int depth, bool grey) {
  if (grey) return opaqueGrey(v);
  switch (depth) {
    case 15:
    case 16:
      return widen555(v);
    case 24:
      return 0xFF000000u | v;
    default:
      return v;
  }
}

struct Header {
  int idLength, mapType, imageType;
  int mapFirst, mapLength, mapDepth;
  int width, height, depth, descriptor;
};

Header readHeader(const uint8_t* d) {
  return {d[0], d[1], d[2], loadLe16(d + 3), loadLe16(d + 5), d[7], loadLe16(d + 12), loadLe16(d + 14), d[16], d[17]};
}

int bytesFor(int depth) { return (depth + 7) / 8; }

}  // namespace

bool decodeTga(const uint8_t* data, size_t size, DecodeTarget& target) {
  if (size < kTgaHeaderSize) return fail("the header needs 18 bytes, the data has " + std::to_string(size));
  const Header h = readHeader(data);
  const int baseType = h.imageType & ~8;
  const bool runLength = (h.imageType & 8) != 0;
  if (h.mapType > 1 || baseType < 1 || baseType > 3) return fail("image type " + std::to_string(h.imageType) + " is not supported");
  const bool mapped = baseType == 1;
  const bool grey = baseType == 3;
  if (mapped ? (h.mapType != 1 || (h.depth != 8 && h.depth != 16))
             : (grey ? h.depth != 8 : (h.depth != 15 && h.depth != 16 && h.depth != 24 && h.depth != 32))) {
    return fail(std::to_string(h.depth) + " bits per pixel do not fit image type " + std::to_string(h.imageType));
  }

  ByteReader in(data, size);
  in.skip(kTgaHeaderSize + static_cast<size_t>(h.idLength));
  std::vector<uint32_t> map;
  if (h.mapType == 1) {
    const int entryBytes = bytesFor(h.mapDepth);
    if (h.mapDepth != 15 && h.mapDepth != 16 && h.mapDepth != 24 && h.mapDepth != 32) {
      return fail("colour map entries of " + std::to_string(h.mapDepth) + " bits are not supported");
    }
    const uint8_t* entries = in.take(size_t(h.mapLength) * entryBytes);
    if (!entries) return fail("the colour map runs past the end of the data");
    if (mapped) {
      map.resize(static_cast<size_t>(h.mapLength));
      for (int i = 0; i < h.mapLength; ++i) map[static_cast<size_t>(i)] = colourOf(rawValue(entries + i * entryBytes, entryBytes), h.mapDepth, false);
    }
  }
  if (!in.ok()) return fail("the picture data is missing");

  const int bits = mapped ? (h.mapDepth == 32 ? 32 : 24) : (h.depth == 32 ? 32 : 24);
  Image* image = target.announce(kCodec, h.width, h.height, bits);
  if (!image) return false;

  const int pixelBytes = bytesFor(h.depth);
  const size_t width = static_cast<size_t>(h.width);
  const size_t count = width * static_cast<size_t>(h.height);
  const bool topDown = (h.descriptor & 0x20) != 0;
  const bool rightToLeft = (h.descriptor & 0x10) != 0;
  const auto place = [&](size_t i, uint32_t value) -> bool {
    uint32_t pixel;
    if (mapped) {
      const long long index = static_cast<long long>(value) - h.mapFirst;
      if (index < 0 || index >= static_cast<long long>(map.size())) return false;
      pixel = map[static_cast<size_t>(index)];
    } else {
      pixel = colourOf(value, h.depth, grey);
    }
    const size_t row = i / width;
    const size_t column = i % width;
    const size_t y = topDown ? row : static_cast<size_t>(h.height) - 1 - row;
    const size_t x = rightToLeft ? width - 1 - column : column;
    image->pixels[y * width + x] = pixel;
    return true;
  };
  const auto badIndex = [&](uint32_t value) {
    return fail("colour map index " + std::to_string(value) + " outside the " + std::to_string(map.size()) +
                " entries from " + std::to_string(h.mapFirst));
  };

  size_t i = 0;
  while (i < count) {
    size_t repeat = 1;
    size_t literal = 1;
    if (runLength) {
      const uint8_t packet = in.u8();
      if (!in.ok()) return fail("the run-length data ends after " + std::to_string(i) + " of " + std::to_string(count) + " pixels");
      // A packet may run past the last pixel; the surplus is dropped.
      const size_t length = std::min<size_t>((packet & 0x7F) + 1u, count - i);
      if (packet & 0x80) repeat = length;
      else literal = length;
    }
    for (size_t n = 0; n < literal; ++n) {
      const uint8_t* p = in.take(static_cast<size_t>(pixelBytes));
      if (!p) return fail("the pixel data ends after " + std::to_string(i) + " of " + std::to_string(count) + " pixels");
      const uint32_t value = rawValue(p, pixelBytes);
      for (size_t r = 0; r < repeat; ++r, ++i) {
        if (!place(i, value)) return badIndex(value);
      }
    }
  }
  return true;
}

}  // namespace vellum
