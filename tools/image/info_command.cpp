#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "image/image_format.h"
#include "picture_file.h"
#include "base/text_encoding.h"

namespace vellum::image_tool {

namespace {

// The TLG flavour from the magic: TLG5, TLG6, or either inside a TLG0 container.
std::string formatText(const std::vector<uint8_t>& bytes) {
  const ImageFormat format = detectImageFormat(bytes.data(), bytes.size());
  if (format != ImageFormat::Tlg || bytes.size() < 19) return imageFormatName(format);
  const auto stream = [&](size_t at) { return std::string(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + 4)); };
  if (stream(0) == "TLG0") return stream(15) + " in a TLG0 container";
  return stream(0);
}

}  // namespace

void showInfo(const ImageOptions& options) {
  const std::vector<uint8_t> bytes = readPictureFile(options.input);
  const ImageHandle image = decodePicture(options.input, bytes);
  const std::string name = toUtf8(std::string(image->name, strnlen(image->name, sizeof image->name)), CodePage::Gbk);
  std::printf("file:     %s\n", options.input.c_str());
  std::printf("format:   %s\n", formatText(bytes).c_str());
  std::printf("size:     %d x %d\n", image->width, image->height);
  std::printf("bits:     %d\n", image->bitsPerPixel);
  std::printf("position: %d, %d\n", image->left, image->top);
  std::printf("mode:     %d\n", image->mode);
  std::printf("name:     %s\n", name.c_str());
}

}  // namespace vellum::image_tool
