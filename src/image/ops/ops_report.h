// Failure lines of the image operations. Each operation family has a short code, and a failure
// prints "-CODE: text\n" (the text in Shift-JIS) on the engine's standard output; the operation
// then returns 0 and leaves its pictures as they were.
#pragma once

#include <string_view>

namespace vellum {

enum class ImageFailure {
  Memory,        // a picture or work buffer could not be allocated
  NoPicture,     // a null picture was given
  InvalidSize,   // a size, radius or scale that cannot be used
  OutOfRange,    // the rectangle does not touch the picture
  InvalidMode,   // a mode, kind or filter index the operation does not know
  SizeMismatch,  // two pictures that must have one size do not
};

// `code` is the family's code (for example "CUT"). Always returns 0, so that a failing operation
// can end with `return reportImageFailure(...)`.
int reportImageFailure(std::string_view code, ImageFailure failure);

// The Shift-JIS text printed for a failure.
std::string_view imageFailureText(ImageFailure failure);

}  // namespace vellum
