#include <cstring>

#include "image/byte_reader.h"
#include "image/image_format.h"
#include "image/image_io.h"
#include "image/tlg_format.h"

namespace vellum {

namespace {

bool tlgHeader(const uint8_t* data, size_t size, PictureHeader& h) {
  if (hasMagic(data, size, kTlg0Magic)) {
    data += kTlg0HeaderSize;
    size -= kTlg0HeaderSize;
  }
  if (hasMagic(data, size, kTlg6Magic) && size >= 23) {
    h = {static_cast<int32_t>(loadLe32(data + 15)), static_cast<int32_t>(loadLe32(data + 19)), data[11] * 8};
    return true;
  }
  if (hasMagic(data, size, kTlg5Magic) && size >= 20) {
    h = {static_cast<int32_t>(loadLe32(data + 12)), static_cast<int32_t>(loadLe32(data + 16)), data[11] * 8};
    return true;
  }
  return false;
}

bool pngHeader(const uint8_t* data, size_t size, PictureHeader& h) {
  if (size < 26 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
  int bits;
  switch (data[25]) {
    case 0:
    case 3:
      bits = 8;
      break;
    case 2:
      bits = 24;
      break;
    case 4:
    case 6:
      bits = 32;
      break;
    default:
      return false;
  }
  h = {static_cast<int32_t>(loadBe32(data + 16)), static_cast<int32_t>(loadBe32(data + 20)), bits};
  return true;
}

bool bmpHeader(const uint8_t* data, size_t size, PictureHeader& h) {
  if (size < 30) return false;
  const auto height = static_cast<int32_t>(loadLe32(data + 22));
  if (height == INT32_MIN) return false;
  h = {static_cast<int32_t>(loadLe32(data + 18)), height < 0 ? -height : height, loadLe16(data + 28)};
  return true;
}

// Walks the marker segments up to the frame header; an "ALP" segment on the way means alpha.
bool jpegHeader(const uint8_t* data, size_t size, PictureHeader& h) {
  bool alpha = false;
  size_t at = 2;
  while (at + 4 <= size) {
    if (data[at] != 0xFF) return false;
    const uint8_t marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return false;  // end or scan before any frame header
    const size_t length = loadBe16(data + at + 2);
    if (length < 2 || at + 2 + length > size) return false;
    const uint8_t* body = data + at + 4;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 8) return false;
      const int components = body[5];
      h = {loadBe16(body + 3), loadBe16(body + 1), alpha ? 32 : components * 8};
      return true;
    }
    if (marker == 0xE2 && length >= 2 + 3 && std::memcmp(body, "ALP", 3) == 0) alpha = true;
    at += 2 + length;
  }
  return false;
}

bool tgaHeader(const uint8_t* data, size_t size, PictureHeader& h) {
  if (size < 17) return false;
  h = {loadLe16(data + 12), loadLe16(data + 14), data[16]};
  return true;
}

}  // namespace

bool loadHeader(const uint8_t* data, size_t size, PictureHeader& header) {
  PictureHeader h{};
  bool found = false;
  switch (detectImageFormat(data, size)) {
    case ImageFormat::Tlg:
      found = tlgHeader(data, size, h);
      break;
    case ImageFormat::Png:
      found = pngHeader(data, size, h);
      break;
    case ImageFormat::Bmp:
      found = bmpHeader(data, size, h);
      break;
    case ImageFormat::Jpeg:
      found = jpegHeader(data, size, h);
      break;
    case ImageFormat::Tga:
      found = tgaHeader(data, size, h);
      break;
    case ImageFormat::Unknown:
      break;
  }
  if (!found || h.width < 1 || h.height < 1) return false;
  header = h;
  return true;
}

}  // namespace vellum
