// The two things vellum-image does, each through the engine's own codecs.
#pragma once

#include "image_options.h"

namespace vellum::image_tool {

// Prints the picture's description on stdout.
void showInfo(const ImageOptions& options);
// Decodes the input and writes the output.
void convertPicture(const ImageOptions& options);

}  // namespace vellum::image_tool
