#include "image/bmp_writer.h"

#include "image/byte_reader.h"
#include "image/pixel_luminance.h"

namespace vellum {

namespace {

void putLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

void encodeBmp(const Image& image, int bits, std::vector<uint8_t>& out) {
  const size_t width = static_cast<size_t>(image.width);
  const size_t height = static_cast<size_t>(image.height);
  const size_t stride = (width * static_cast<size_t>(bits) + 31) / 32 * 4;
  const size_t paletteBytes = bits == 8 ? 1024 : 0;
  const size_t offset = 54 + paletteBytes;
  const size_t start = out.size();
  out.resize(start + offset + stride * height, 0);
  uint8_t* p = out.data() + start;

  p[0] = 'B';
  p[1] = 'M';
  storeLe32(p + 2, static_cast<uint32_t>(offset + stride * height));
  storeLe32(p + 10, static_cast<uint32_t>(offset));
  storeLe32(p + 14, 40);
  storeLe32(p + 18, static_cast<uint32_t>(width));
  storeLe32(p + 22, static_cast<uint32_t>(height));
  putLe16(p + 26, 1);
  putLe16(p + 28, static_cast<uint16_t>(bits));
  storeLe32(p + 34, static_cast<uint32_t>(stride * height));
  if (bits == 8) {
    storeLe32(p + 46, 256);
    for (uint32_t i = 0; i < 256; ++i) storeLe32(p + 54 + i * 4, i | i << 8 | i << 16);
  }

  for (size_t y = 0; y < height; ++y) {
    const uint32_t* source = image.pixels + y * width;
    uint8_t* row = p + offset + (height - 1 - y) * stride;
    for (size_t x = 0; x < width; ++x) {
      const uint32_t pixel = source[x];
      if (bits == 8) {
        row[x] = pixelLuminance(pixel);
      } else if (bits == 24) {
        row[x * 3] = static_cast<uint8_t>(pixel);
        row[x * 3 + 1] = static_cast<uint8_t>(pixel >> 8);
        row[x * 3 + 2] = static_cast<uint8_t>(pixel >> 16);
      } else {
        storeLe32(row + x * 4, pixel);
      }
    }
  }
}

}  // namespace vellum
