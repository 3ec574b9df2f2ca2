// Any bytes as a THOR movie or a frame file: the header checks keep the sound, the video and every
// frame chunk inside the file, and the Theora reader and the colour conversion never read or write
// outside their buffers.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "movie/colour_conversion.h"
#include "movie/frame_files.h"
#include "movie/theora_stream.h"
#include "movie/thor_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  FrameFileLayout layout;
  std::string frameProblem;
  if (readFrameFileLayout(data, size, 25, layout, frameProblem)) {
    uint64_t position = layout.firstChunk;
    for (uint32_t i = 0; i < layout.frameCount; ++i) {
      const FrameChunk chunk = nextFrameChunk(data, size, position, layout.avi);
      if (chunk.kind == FrameChunk::End || chunk.kind == FrameChunk::Bad) break;
      if (chunk.offset + chunk.length > size) std::abort();
    }
  }
  ThorHeader header;
  std::string problem;
  uint64_t videoOffset = 0, videoLength = size;
  if (parseThorHeader(data, size, size, header, problem)) {
    if (header.videoOffset() + header.videoLength > size) std::abort();
    videoOffset = header.videoOffset();
    videoLength = header.videoLength;
  }
  // The video part (or, without a header, all the bytes) as a Theora stream.
  TheoraStream stream(
      [&](uint8_t* destination, uint64_t offset, size_t want) -> size_t {
        if (offset >= videoLength) return 0;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(want, videoLength - offset));
        std::memcpy(destination, data + videoOffset + offset, n);
        return n;
      },
      videoLength);
  if (!stream.open(problem)) return 0;
  const TheoraStreamInfo& info = stream.info();
  if (uint64_t{info.pictureWidth} * info.pictureHeight > (1u << 22)) return 0;
  std::vector<uint32_t> picture(size_t{info.pictureWidth + 1} * (info.pictureHeight + 1));
  for (int frame : {0, 1, 3, 0}) {
    if (!stream.decodeTo(frame)) break;
    FramePlanes planes;
    if (stream.planes(planes))
      convertFrame(planes, picture.data(), static_cast<int32_t>(info.pictureWidth + 1),
                   static_cast<int32_t>(info.pictureHeight + 1), ColourForm::Plain);
  }
  return 0;
}
