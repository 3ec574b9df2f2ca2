// Loading a picture file for the tool: the bytes, and the engine's decoded Image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/image.h"

namespace vellum::image_tool {

struct ImageDeleter {
  void operator()(Image* image) const { freeImage(image); }
};
using ImageHandle = std::unique_ptr<Image, ImageDeleter>;

// Throws ToolError when the file cannot be read.
std::vector<uint8_t> readPictureFile(const std::string& path);
// Throws ToolError when the engine cannot decode it (the engine's reason is printed first).
ImageHandle decodePicture(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace vellum::image_tool
