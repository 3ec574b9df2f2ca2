#include "picture_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "image/image_io.h"
#include "tool_error.h"

namespace vellum::image_tool {

std::vector<uint8_t> readPictureFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ToolError("cannot read '" + path + "': " + std::strerror(errno));
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ImageHandle decodePicture(const std::string& path, const std::vector<uint8_t>& bytes) {
  ImageHandle image(loadImage(bytes.data(), bytes.size()));
  if (!image) throw ToolError("'" + path + "' is not a picture the engine can decode");
  return image;
}

}  // namespace vellum::image_tool
