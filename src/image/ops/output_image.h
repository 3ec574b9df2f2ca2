// The two ways an operation hands back its result.
//
// Output parameter (Image** out): the result goes into *out when it already has the result's size,
// else into a new picture that replaces *out (the old one is freed). A null *out is simply
// replaced. When *out is also an input of the operation a new picture is always used, so the
// input stays readable while the result is written.
//
// "...2" variants (Image** image): the result is always a new picture that replaces *image.
//
// Either way a failing operation leaves the caller's pointers and pictures untouched, short of
// memory running out while a result is already being written into a reused output.
#pragma once

#include "image/image.h"
#include "image/ops/ops_report.h"

namespace vellum {

// The picture to write a width x height result into, or nullptr when memory runs out. A reused
// picture keeps its old pixels; a new one is zeroed.
Image* outputFor(Image* const* out, int width, int height, int bitsPerPixel, const Image* input,
                 const Image* otherInput = nullptr);
// Hands the result to the caller, freeing the picture it replaces.
void commitOutput(Image** out, Image* result);
// Frees a result that was made for *out but will not be handed over.
void discardOutput(Image* const* out, Image*& result);

// Name, position, mode and bits per pixel.
void copyMetadata(Image* to, const Image* from);

// An 8-bit picture stores grey in all three colour bytes; once an operation writes real colour
// into it, it is a 24-bit picture.
void noteColourWritten(Image& image, bool colourWritten = true);

// Copies a whole picture (pixels and metadata) into a new one; nullptr when memory runs out.
Image* duplicateImage(const Image* image);

// The "...2" form of an operation with an output parameter: operation(input, &result) computes a
// new picture, which then replaces *image.
template <typename Operation>
int replaceWithResult(const char* code, Image** image, Operation&& operation) {
  if (!image || !*image) return reportImageFailure(code, ImageFailure::NoPicture);
  Image* result = nullptr;
  if (!operation(static_cast<const Image*>(*image), &result)) return 0;
  freeImage(*image);
  *image = result;
  return 1;
}

}  // namespace vellum
