#include "image/jpeg_alpha_reader.h"

#include <cstring>
#include <new>
#include <string>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/jpeg_markers.h"
#include "image/jpeg_session.h"
#include "image/png_reader.h"
#include "storage/zlib_buffer.h"

namespace vellum {

namespace {

AlphaFound broken(const std::string& problem) {
  reportBadPicture("JPEG", "alpha channel ignored: " + problem);
  return AlphaFound::Broken;
}

bool isAlphaSegment(const jpeg_saved_marker_ptr m) {
  return m->marker == JPEG_APP0 + 2 && m->data_length >= kAlphaHeaderSize &&
         std::memcmp(m->data, kAlphaTag, sizeof kAlphaTag) == 0;
}

// The V bytes that start in `first` and go on in the APP2 segments right after it.
bool gatherCarried(const jpeg_saved_marker_ptr first, uint32_t size, std::vector<uint8_t>& bytes) {
  size_t total = first->data_length - kAlphaHeaderSize;
  for (jpeg_saved_marker_ptr m = first->next; m && m->marker == JPEG_APP0 + 2 && total < size; m = m->next) {
    total += m->data_length;
  }
  if (total < size) return false;
  bytes.clear();
  bytes.reserve(size);
  const uint8_t* start = first->data + kAlphaHeaderSize;
  size_t take = std::min<size_t>(size, first->data_length - kAlphaHeaderSize);
  bytes.insert(bytes.end(), start, start + take);
  for (jpeg_saved_marker_ptr m = first->next; bytes.size() < size; m = m->next) {
    take = std::min<size_t>(size - bytes.size(), m->data_length);
    bytes.insert(bytes.end(), m->data, m->data + take);
  }
  return true;
}

bool inflateExactly(const uint8_t* data, size_t size, size_t expected, std::vector<uint8_t>& alpha) {
  alpha.assign(expected, 0);
  size_t produced = 0;
  return inflateZlib(data, size, alpha.data(), expected, produced) == InflateStatus::Ok && produced == expected;
}

bool decodeStored(uint8_t kind, const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& alpha) {
  const size_t pixels = size_t(width) * height;
  switch (kind) {
    case kAlphaJpeg:
      return decodeGreyJpeg(data, size, width, height, alpha);
    case kAlphaZlib:
      return inflateExactly(data, size, pixels, alpha);
    case kAlphaPng:
      return decodeGreyPng(data, size, width, height, alpha);
    default:
      return false;
  }
}

}  // namespace

AlphaFound readJpegAlpha(const jpeg_saved_marker_ptr markers, const uint8_t* file, size_t fileSize, int width,
                         int height, std::vector<uint8_t>& alpha) {
  jpeg_saved_marker_ptr segment = markers;
  while (segment && !isAlphaSegment(segment)) segment = segment->next;
  if (!segment) return AlphaFound::None;
  const uint8_t type = segment->data[3];
  const uint32_t value = loadLe32(segment->data + 4);
  const size_t pixels = size_t(width) * height;
  try {
    if (type == kAlphaRaw) {
      if (value != pixels) {
        return broken("it holds " + std::to_string(value) + " bytes for " + std::to_string(pixels) + " pixels");
      }
      if (!gatherCarried(segment, value, alpha)) return broken("its segments end before its " + std::to_string(value) + " bytes");
      return AlphaFound::Decoded;
    }
    if (type >= kAlphaJpeg && type <= kAlphaPng) {
      std::vector<uint8_t> carried;
      if (!gatherCarried(segment, value, carried)) return broken("its segments end before its " + std::to_string(value) + " bytes");
      if (!decodeStored(type, carried.data(), carried.size(), width, height, alpha)) return broken("it does not decode");
      return AlphaFound::Decoded;
    }
    if (type >= (kAlphaAfterEnd | kAlphaJpeg) && type <= (kAlphaAfterEnd | kAlphaPng)) {
      if (value >= fileSize) return broken("its offset " + std::to_string(value) + " lies past the data");
      if (!decodeStored(type & 0x0F, file + value, fileSize - value, width, height, alpha)) return broken("it does not decode");
      return AlphaFound::Decoded;
    }
    return broken("unknown type " + std::to_string(type));
  } catch (const std::bad_alloc&) {
    return broken("no memory");
  }
}

}  // namespace vellum
