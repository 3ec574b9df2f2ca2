#include "image/jpeg_reader.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/jpeg_alpha_reader.h"
#include "image/jpeg_markers.h"
#include "image/jpeg_session.h"

namespace vellum {

namespace {

constexpr const char* kCodec = "JPEG";

bool fail(const std::string& problem) {
  reportBadPicture(kCodec, problem);
  return false;
}

void readPosition(const jpeg_saved_marker_ptr markers, Image& image) {
  for (jpeg_saved_marker_ptr m = markers; m; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data_length < kPositionNameOffset ||
        std::memcmp(m->data, kPositionTag, sizeof kPositionTag) != 0) {
      continue;
    }
    image.left = static_cast<int32_t>(loadLe32(m->data + 4));
    image.top = static_cast<int32_t>(loadLe32(m->data + 8));
    image.mode = static_cast<int32_t>(loadLe32(m->data + 12));
    const size_t room = m->data_length - kPositionNameOffset;
    const char* name = reinterpret_cast<const char*>(m->data + kPositionNameOffset);
    const size_t length = std::min(strnlen(name, room), sizeof image.name - 1);
    std::memcpy(image.name, name, length);
    image.name[length] = '\0';
    return;
  }
}

}  // namespace

bool decodeJpeg(const uint8_t* data, size_t size, DecodeTarget& target) {
  try {
    JpegDecompressor d;
    if (!startJpegDecompress(d, data, size, true)) return fail(d.problem());
    const int components = d.cinfo.num_components;
    if (components != 1 && components != 3) return fail(std::to_string(components) + " colour components are not supported");
    const JDIMENSION width = d.cinfo.image_width;
    const JDIMENSION height = d.cinfo.image_height;
    Image* image = target.announce(kCodec, width, height, components == 1 ? 8 : 24);
    if (!image) return false;

    std::vector<uint8_t> alpha;
    const AlphaFound found = readJpegAlpha(d.cinfo.marker_list, data, size, static_cast<int>(width),
                                           static_cast<int>(height), alpha);
    readPosition(d.cinfo.marker_list, *image);

    std::vector<JSAMPROW> rows(height);
    for (JDIMENSION y = 0; y < height; ++y) rows[y] = reinterpret_cast<JSAMPROW>(image->pixels + size_t{y} * width);
    // Straight into the BGRA rows (grey pictures come out as opaque grey).
    if (!readJpegRows(d, rows.data(), height, JCS_EXT_BGRA)) return fail(d.problem());
    if (d.errors.endedEarly) return fail("the data ends inside the picture");

    if (found == AlphaFound::Decoded) {
      const size_t pixels = size_t{width} * height;
      for (size_t i = 0; i < pixels; ++i) image->pixels[i] = (image->pixels[i] & 0x00FFFFFFu) | uint32_t{alpha[i]} << 24;
      image->bitsPerPixel = 32;
    }
    return true;
  } catch (const std::bad_alloc&) {
    return fail("no memory for the decoding buffers");
  }
}

}  // namespace vellum
