#include "image/ops/channel_tables.h"

#include "image/ops/pixel.h"

namespace vellum {

void applyChannelTables(Image& image, const ChannelTable& red, const ChannelTable& green, const ChannelTable& blue) {
  uint32_t* p = image.pixels;
  for (int32_t i = 0; i < image.pixelCount; ++i) {
    const uint32_t v = p[i];
    p[i] = (v & pixel::kOpaque) | (uint32_t{red[pixel::red(v)]} << 16) | (uint32_t{green[pixel::green(v)]} << 8) |
           blue[pixel::blue(v)];
  }
}

}  // namespace vellum
