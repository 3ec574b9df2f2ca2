// libpng reading from a buffer in memory, for the benchmarks that time bare libpng decodes.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace vellum::bench {

struct PngMemoryInput {
  const std::vector<uint8_t>* bytes;
  size_t at;
};

// png_set_read_fn's reader over a PngMemoryInput; a read past the end is libpng's error.
inline void readPngMemory(png_structp png, png_bytep into, size_t length) {
  auto* in = static_cast<PngMemoryInput*>(png_get_io_ptr(png));
  if (length > in->bytes->size() - in->at) png_error(png, "short");
  std::memcpy(into, in->bytes->data() + in->at, length);
  in->at += length;
}

}  // namespace vellum::bench
