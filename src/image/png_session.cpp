#include "image/png_session.h"

#include <cstring>

namespace vellum {

void pngErrorHook(png_structp png, png_const_charp message) {
  auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
  if (errors) {
    std::strncpy(errors->message, message ? message : "unknown error", sizeof errors->message - 1);
    if (message && std::strstr(message, "memory")) errors->outOfMemory = true;
  }
  png_longjmp(png, 1);
}

// Warnings (a known-incorrect colour profile, say) do not stop a picture from loading.
void pngWarningHook(png_structp, png_const_charp) {}

void pngReadFromMemory(png_structp png, png_bytep into, size_t length) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (length > input->size - input->position) png_error(png, "the data ends inside the picture");
  std::memcpy(into, input->data + input->position, length);
  input->position += length;
}

PngReader::PngReader() {
  png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, pngErrorHook, pngWarningHook);
  if (png) info = png_create_info_struct(png);
}

PngReader::~PngReader() {
  if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
}

std::string PngReader::problem() const {
  return errors.message[0] ? std::string(errors.message) : std::string("libpng failed");
}

}  // namespace vellum
