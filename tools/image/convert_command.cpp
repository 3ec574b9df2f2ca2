#include "commands.h"
#include "image/image_io.h"
#include "picture_file.h"
#include "base/text_encoding.h"
#include "tool_error.h"

namespace vellum::image_tool {

namespace {

constexpr int kDefaultQuality = 90;
constexpr int kPngLevel = 9;
constexpr int kOptimisedHuffman = 1;

SaveRequest requestFor(const ImageOptions& options, const Image& image) {
  switch (*options.format) {
    case OutputFormat::Tlg5:
      return {SaveFormat::Tlg, options.bits, 0, 0};
    case OutputFormat::Tlg6:
      return {SaveFormat::Tlg, options.bits, 1, 0};
    case OutputFormat::Png:
      return {SaveFormat::Png, options.bits, kPngLevel, 0};
    case OutputFormat::Bmp:
      return {SaveFormat::Bmp, options.bits, 0, 0};
    case OutputFormat::Jpeg: {
      // 32 bits (asked for, or the picture's own) keep the alpha as the engine's alpha channel.
      const int bits = options.bits ? options.bits : image.bitsPerPixel == 32 ? 32 : 0;
      return {SaveFormat::Jpeg, bits, options.quality.value_or(kDefaultQuality), kOptimisedHuffman};
    }
  }
  return {};
}

}  // namespace

void convertPicture(const ImageOptions& options) {
  const ImageHandle image = decodePicture(options.input, readPictureFile(options.input));
  // saveImage takes a game path in the engine's code page.
  const std::string gamePath = fromUtf8(options.output, CodePage::Gbk);
  if (toUtf8(gamePath, CodePage::Gbk) != options.output) {
    throw ToolError("'" + options.output + "' has characters the engine's code page cannot name");
  }
  if (!saveImage(gamePath, image.get(), requestFor(options, *image))) {
    throw ToolError("could not write '" + options.output + "'");
  }
}

}  // namespace vellum::image_tool
