// Fuzz target: PNG through libpng: its errors come back as failed loads, never as a jump out of the engine.
#include "image_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vellum::fuzz::decodePicture(data, size, true);
  return 0;
}
