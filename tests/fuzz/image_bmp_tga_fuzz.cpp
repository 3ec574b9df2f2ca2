// Fuzz target: BMP and TGA: headers, palettes, colour maps and run-length packets against the data.
#include "image_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vellum::fuzz::decodePicture(data, size, true);
  return 0;
}
