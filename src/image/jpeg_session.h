// What the JPEG reader and writer share around libjpeg: an error manager that records the library's
// message and jumps back to the guarded call instead of exiting, and silences warnings.
//
// A guarded call does `if (setjmp(errors.jump)) return false;` and then only libjpeg calls and
// plain data (nothing with a destructor), so the jump skips nothing.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/jpeg_library.h"

namespace vellum {

struct JpegErrors {
  jpeg_error_mgr manager;  // first, so the library's pointer is also ours
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool endedEarly;  // the library met the end of the data inside the picture
};

// Prepares the manager; returns what belongs in cinfo.err.
jpeg_error_mgr* installJpegErrors(JpegErrors& errors);

// The decompressor and its error manager, destroyed with the holder.
struct JpegDecompressor {
  JpegErrors errors;
  jpeg_decompress_struct cinfo;
  bool created = false;
  JpegDecompressor();
  ~JpegDecompressor();
  JpegDecompressor(const JpegDecompressor&) = delete;
  JpegDecompressor& operator=(const JpegDecompressor&) = delete;
  std::string problem() const;
};

// Guarded: creates the decompressor over the bytes and reads the header; APP1 ... APP11 markers are
// kept when `keepMarkers`.
// Decodes every scanline into `rows` in the given colour space with the floating-point DCT.
// False when the library reports an error or the data ends.
bool readJpegRows(JpegDecompressor& d, JSAMPARRAY rows, JDIMENSION height, J_COLOR_SPACE space);

bool startJpegDecompress(JpegDecompressor& d, const uint8_t* data, size_t size, bool keepMarkers);

// A greyscale rendering of a JPEG of exactly width x height (the alpha channel). Unreported.
bool decodeGreyJpeg(const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& grey);

}  // namespace vellum
