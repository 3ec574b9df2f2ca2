#include "image/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "image/codec_report.h"
#include "image/name_extension.h"
#include "image/pixel_luminance.h"
#include "image/png_session.h"

namespace vellum {

namespace {

struct WriteState {
  PngErrors errors;
  std::vector<uint8_t>* out = nullptr;
};

void writeToMemory(png_structp png, png_bytep data, size_t length) {
  auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
  bool grown = true;
  try {
    state->out->insert(state->out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  // Outside the handler: png_error does not return.
  if (!grown) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

struct Picture {
  png_uint_32 width;
  png_uint_32 height;
  int colourType;
  bool interlace;
  int level;
  bool dropFiller;
  png_bytepp rows;
  png_textp texts;
  int textCount;
};

bool writePicture(png_structp png, png_infop info, WriteState& state, const Picture& p) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &state, writeToMemory, flushNothing);
  png_set_IHDR(png, info, p.width, p.height, 8, p.colourType, p.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, p.level);
  if (p.textCount > 0) png_set_text(png, info, p.texts, p.textCount);
  png_write_info(png, info);
  if (p.colourType != PNG_COLOR_TYPE_GRAY) png_set_bgr(png);
  if (p.dropFiller) png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_write_image(png, p.rows);
  png_write_end(png, info);
  return true;
}

// libpng write structures freed with the holder.
struct Writer {
  WriteState state;
  png_structp png = nullptr;
  png_infop info = nullptr;
  explicit Writer(std::vector<uint8_t>& out) {
    state.out = &out;
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state.errors, pngErrorHook, pngWarningHook);
    if (png) info = png_create_info_struct(png);
  }
  ~Writer() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;
};

int clampLevel(int level) { return std::clamp(level, -1, 9); }

struct TextChunks {
  std::string keys[4] = {"Name", "Left", "Top", "Mode"};
  std::string values[4];
  png_text texts[4] = {};

  explicit TextChunks(const Image& image) {
    char number[16];
    values[0].assign(image.name, strnlen(image.name, sizeof image.name));
    std::snprintf(number, sizeof number, "%x", static_cast<unsigned>(image.left));
    values[1] = number;
    std::snprintf(number, sizeof number, "%x", static_cast<unsigned>(image.top));
    values[2] = number;
    std::snprintf(number, sizeof number, "%d", image.mode);
    values[3] = number;
    for (int i = 0; i < 4; ++i) {
      texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
      texts[i].key = keys[i].data();
      texts[i].text = values[i].data();
      texts[i].text_length = values[i].size();
    }
  }
};

}  // namespace

bool encodePng(Image& image, int bits, int level, bool interlace, std::vector<uint8_t>& out) {
  const size_t width = static_cast<size_t>(image.width);
  const size_t height = static_cast<size_t>(image.height);
  std::vector<uint8_t> grey;
  std::vector<png_bytep> rows;
  try {
    rows.resize(height);
  } catch (const std::bad_alloc&) {
    reportWriterOutOfMemory("PNG");
    return false;
  }
  if (bits == 8) {
    try {
      grey.resize(width * height);
    } catch (const std::bad_alloc&) {
      reportWriterText("malloc line");
      return false;
    }
    for (size_t i = 0; i < width * height; ++i) grey[i] = pixelLuminance(image.pixels[i]);
    for (size_t y = 0; y < height; ++y) rows[y] = grey.data() + y * width;
  } else {
    for (size_t y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(image.pixels + y * width);
  }

  const bool withText = hasLayerMetadata(image);
  if (withText) replaceNameExtension(image, "png");
  TextChunks text(image);

  Writer writer(out);
  if (!writer.png) {
    reportWriterText("png_create_write_struct");
    return false;
  }
  if (!writer.info) {
    reportWriterText("png_create_info_struct");
    return false;
  }
  const int colourType = bits == 8 ? PNG_COLOR_TYPE_GRAY : bits == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA;
  const Picture picture{static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), colourType, interlace,
                        clampLevel(level), bits == 24, rows.data(), text.texts, withText ? 4 : 0};
  if (!writePicture(writer.png, writer.info, writer.state, picture)) {
    if (writer.state.errors.outOfMemory) reportWriterOutOfMemory("PNG");
    else reportBadPicture("PNG", writer.state.errors.message);
    return false;
  }
  return true;
}

bool encodeGreyPng(const uint8_t* grey, int width, int height, int level, std::vector<uint8_t>& out) {
  try {
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = const_cast<png_bytep>(grey + size_t(y) * width);
    Writer writer(out);
    if (!writer.png || !writer.info) return false;
    const Picture picture{static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), PNG_COLOR_TYPE_GRAY,
                          false, clampLevel(level), false, rows.data(), nullptr, 0};
    return writePicture(writer.png, writer.info, writer.state, picture);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace vellum
