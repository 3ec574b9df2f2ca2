// Fuzz target: TLG0, TLG5 and TLG6 streams: every size the stream states is checked before it is used.
#include "image_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vellum::fuzz::decodePicture(data, size, true);
  return 0;
}
