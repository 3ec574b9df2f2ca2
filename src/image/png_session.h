// What the PNG reader and writer share around libpng: error hooks that record libpng's message and
// jump back to the guarded call instead of printing or aborting, and reading from memory.
//
// A guarded call is a function that does `if (setjmp(png_jmpbuf(png))) return false;` and then only
// libpng calls and plain data (nothing with a destructor), so the jump skips nothing.
#pragma once

#include <png.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace vellum {

struct PngErrors {
  char message[160] = {};
  bool outOfMemory = false;
};

// For png_create_*_struct: the error pointer is a PngErrors.
void pngErrorHook(png_structp png, png_const_charp message);
void pngWarningHook(png_structp png, png_const_charp message);

// A byte range libpng reads from; reading past its end is a libpng error.
struct PngInput {
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};
void pngReadFromMemory(png_structp png, png_bytep into, size_t length);

// libpng read structures freed with the holder.
struct PngReader {
  PngErrors errors;
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngReader();
  ~PngReader();
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  bool ready() const { return png && info; }
  std::string problem() const;
};

}  // namespace vellum
