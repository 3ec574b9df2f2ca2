#include "image/png_reader.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "image/codec_report.h"
#include "image/png_chunks.h"
#include "image/png_session.h"

namespace vellum {

namespace {

constexpr const char* kCodec = "PNG";

struct Layout {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int colourType = 0;
  bool alpha = false;
  size_t rowBytes = 0;
};

// Reads the header and sets up BGRA output: 16-bit channels stripped, grey and palettes expanded
// to RGB, tRNS to alpha, a 255 filler where there is no alpha, every interlace pass combined.
bool readLayout(PngReader& r, PngInput& input, Layout& layout) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_set_read_fn(r.png, &input, pngReadFromMemory);
  png_read_info(r.png, r.info);
  int bitDepth = 0;
  png_get_IHDR(r.png, r.info, &layout.width, &layout.height, &bitDepth, &layout.colourType, nullptr, nullptr,
               nullptr);
  const bool transparency = png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
  if (bitDepth == 16) png_set_scale_16(r.png);  // rounded to the nearest 8-bit value, not truncated
  if (layout.colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r.png);
  if (layout.colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(r.png);
  if (transparency) png_set_tRNS_to_alpha(r.png);
  if ((layout.colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(r.png);
  png_set_bgr(r.png);
  layout.alpha = (layout.colourType & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
  if (!layout.alpha) png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(r.png);
  png_read_update_info(r.png, r.info);
  layout.rowBytes = png_get_rowbytes(r.png, r.info);
  return true;
}

bool readRows(PngReader& r, png_bytepp rows) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_read_image(r.png, rows);
  png_read_end(r.png, r.info);
  return true;
}

// A text chunk's value, never read past its stated length.
std::string textOf(const png_text& text) {
  const char* value = text.text ? text.text : "";
  return std::string(value, strnlen(value, text.text_length));
}

int32_t parseNumber(const png_text& text, int base) {
  const std::string digits = textOf(text);
  if (base == 10) return static_cast<int32_t>(std::strtol(digits.c_str(), nullptr, 10));
  return static_cast<int32_t>(static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, base)));
}

void readMetadata(PngReader& r, Image& image) {
  png_textp texts = nullptr;
  int count = 0;
  png_get_text(r.png, r.info, &texts, &count);
  for (int i = 0; i < count; ++i) {
    const png_text& t = texts[i];
    if (!t.key) continue;
    if (std::strcmp(t.key, "Name") == 0) {
      const std::string name = textOf(t).substr(0, sizeof image.name - 1);
      std::memcpy(image.name, name.c_str(), name.size() + 1);
    }
    else if (std::strcmp(t.key, "Left") == 0) image.left = parseNumber(t, 16);
    else if (std::strcmp(t.key, "Top") == 0) image.top = parseNumber(t, 16);
    else if (std::strcmp(t.key, "Mode") == 0) image.mode = parseNumber(t, 10);
  }
}

bool fail(const std::string& problem) {
  reportBadPicture(kCodec, problem);
  return false;
}

}  // namespace

bool decodePng(const uint8_t* data, size_t size, DecodeTarget& target) {
  try {
    std::string problem;
    if (!pngChunksFit(data, size, problem)) return fail(problem);
    PngReader reader;
    if (!reader.ready()) return fail("libpng could not start");
    PngInput input{data, size};
    Layout layout;
    if (!readLayout(reader, input, layout)) return fail(reader.problem());
    Image* image = target.announce(kCodec, layout.width, layout.height, layout.alpha ? 32 : 24);
    if (!image) return false;
    if (layout.rowBytes != size_t{layout.width} * 4) return fail("unexpected row layout after conversion");
    std::vector<png_bytep> rows(layout.height);
    for (png_uint_32 y = 0; y < layout.height; ++y) {
      rows[y] = reinterpret_cast<png_bytep>(image->pixels + size_t{y} * layout.width);
    }
    if (!readRows(reader, rows.data())) return fail(reader.problem());
    readMetadata(reader, *image);
    return true;
  } catch (const std::bad_alloc&) {
    return fail("no memory for the row table");
  }
}

namespace {

struct GreyLayout {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  bool grey = false;
};

bool readGreyLayout(PngReader& r, PngInput& input, GreyLayout& layout) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_set_read_fn(r.png, &input, pngReadFromMemory);
  png_read_info(r.png, r.info);
  int bitDepth = 0;
  int colourType = 0;
  png_get_IHDR(r.png, r.info, &layout.width, &layout.height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  layout.grey = (colourType & ~PNG_COLOR_MASK_ALPHA) == PNG_COLOR_TYPE_GRAY;
  if (bitDepth == 16) png_set_scale_16(r.png);  // rounded to the nearest 8-bit value, not truncated
  if (bitDepth < 8) png_set_expand_gray_1_2_4_to_8(r.png);
  if (colourType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(r.png);
  png_set_interlace_handling(r.png);
  png_read_update_info(r.png, r.info);
  return true;
}

}  // namespace

bool decodeGreyPng(const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& grey) {
  try {
    std::string problem;
    if (!pngChunksFit(data, size, problem)) return false;
    PngReader reader;
    if (!reader.ready()) return false;
    PngInput input{data, size};
    GreyLayout layout;
    if (!readGreyLayout(reader, input, layout) || !layout.grey) return false;
    if (layout.width != static_cast<png_uint_32>(width) || layout.height != static_cast<png_uint_32>(height)) {
      return false;
    }
    if (png_get_rowbytes(reader.png, reader.info) != size_t(width)) return false;
    grey.assign(size_t(width) * height, 0);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = grey.data() + size_t(y) * width;
    return readRows(reader, rows.data());
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace vellum
