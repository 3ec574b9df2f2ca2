#include "image/bmp_reader.h"

#include <cstring>
#include <string>

#include "image/byte_reader.h"
#include "image/codec_report.h"

namespace vellum {

namespace {

constexpr const char* kCodec = "BMP";
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kBitFields = 3;  // 32-bit files from some tools; the masks are the usual BGRA

bool fail(const std::string& problem) {
  reportBadPicture(kCodec, problem);
  return false;
}

struct Header {
  uint32_t pixelOffset;
  uint32_t infoSize;
  int32_t width;
  int32_t height;
  uint16_t bits;
  uint32_t compression;
  uint32_t coloursUsed;
};

bool readHeader(const uint8_t* data, size_t size, Header& h) {
  ByteReader in(data, size);
  in.skip(10);
  h.pixelOffset = in.le32();
  h.infoSize = in.le32();
  h.width = static_cast<int32_t>(in.le32());
  h.height = static_cast<int32_t>(in.le32());
  in.le16();  // planes
  h.bits = in.le16();
  h.compression = in.le32();
  in.skip(12);  // image size, resolution
  h.coloursUsed = in.le32();
  return in.ok();
}

// Palette index of pixel x in a row of 1-, 4- or 8-bit indices.
inline uint32_t indexAt(const uint8_t* row, uint32_t x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    default:
      return row[x];
  }
}

}  // namespace

bool decodeBmp(const uint8_t* data, size_t size, DecodeTarget& target) {
  Header h{};
  if (size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') return fail("not a bitmap");
  if (!readHeader(data, size, h)) return fail("the header is cut off");
  if (h.infoSize < kInfoHeaderSize) return fail("the info header of " + std::to_string(h.infoSize) + " bytes is not supported");
  const int bits = h.bits;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    return fail(std::to_string(bits) + " bits per pixel are not supported");
  }
  if (h.compression != kUncompressed && !(h.compression == kBitFields && bits == 32)) {
    return fail("compression " + std::to_string(h.compression) + " is not supported");
  }
  if (h.height == INT32_MIN) return fail("the height is out of range");
  const bool bottomUp = h.height > 0;
  const long long width = h.width;
  const long long height = bottomUp ? h.height : -static_cast<long long>(h.height);

  uint32_t palette[256] = {};
  uint32_t paletteSize = 0;
  if (bits <= 8) {
    const uint32_t most = 1u << bits;
    paletteSize = h.coloursUsed ? h.coloursUsed : most;
    if (paletteSize > most) return fail(std::to_string(paletteSize) + " palette entries for " + std::to_string(bits) + " bits");
    const uint64_t at = kFileHeaderSize + uint64_t{h.infoSize};
    if (at + uint64_t{paletteSize} * 4 > size) return fail("the palette runs past the end of the data");
    for (uint32_t i = 0; i < paletteSize; ++i) palette[i] = (loadLe32(data + at + i * 4) & 0x00FFFFFFu) | 0xFF000000u;
  }

  Image* image = target.announce(kCodec, width, height, bits == 32 ? 32 : 24);
  if (!image) return false;
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  if (uint64_t{h.pixelOffset} + stride * static_cast<uint64_t>(height) > size) {
    return fail("the pixel rows run past the end of the data");
  }
  const uint32_t w = static_cast<uint32_t>(width);
  for (uint32_t r = 0; r < height; ++r) {
    const uint8_t* row = data + h.pixelOffset + stride * r;
    uint32_t* out = image->pixels + size_t{bottomUp ? static_cast<uint32_t>(height) - 1 - r : r} * w;
    if (bits <= 8) {
      for (uint32_t x = 0; x < w; ++x) {
        const uint32_t index = indexAt(row, x, bits);
        if (index >= paletteSize) {
          return fail("palette index " + std::to_string(index) + " past the " + std::to_string(paletteSize) + " entries");
        }
        out[x] = palette[index];
      }
    } else if (bits == 24) {
      for (uint32_t x = 0; x < w; ++x) {
        const uint8_t* p = row + x * 3;
        out[x] = 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
      }
    } else {
      for (uint32_t x = 0; x < w; ++x) out[x] = loadLe32(row + x * 4);
    }
  }
  return true;
}

}  // namespace vellum
