// Fuzz target: JPEG through libjpeg, with the engine's position and alpha segments.
#include "image_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vellum::fuzz::decodePicture(data, size, false);
  return 0;
}
