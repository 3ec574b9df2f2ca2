// Any bytes as the movie file of a backlog picture-log record: the first frame found always lies
// inside the file and starts like a JPEG.
#include <cstdint>
#include <cstdlib>

#include "text/movie_first_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  const FirstFrame frame = findFirstMovieFrame(data, size);
  if (frame.result == FirstFrameResult::Jpeg) {
    if (frame.offset > size || frame.length > size - frame.offset || frame.length < 2) std::abort();
    if (data[frame.offset] != 0xFF || data[frame.offset + 1] != 0xD8) std::abort();
  }
  return 0;
}
