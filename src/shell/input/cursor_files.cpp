#include "shell/input/cursor_files.h"

#include <cstring>

#include "image/image_io.h"

namespace vellum {

namespace {

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Bytes per row of a bitmap, padded to 32 bits.
size_t rowBytes(int32_t width, int bitsPerPixel) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32) * 4;
}

bool decodePng(const uint8_t* data, size_t size, CursorFrame& out, std::string& error) {
  Image* image = loadImage(data, size);
  if (!image) {
    error = "the PNG picture does not decode";
    return false;
  }
  const bool fits = image->width <= kMaxCursorSide && image->height <= kMaxCursorSide;
  if (fits) {
    out.width = image->width;
    out.height = image->height;
    out.pixels.assign(image->pixels, image->pixels + static_cast<size_t>(image->width) * image->height);
  }
  freeImage(image);
  if (!fits) error = "the picture is too large";
  return fits;
}

// A device-independent bitmap with the colour rows and, below them, the 1-bit AND mask; the header
// gives twice the picture's height.
bool decodeDib(const uint8_t* data, size_t size, CursorFrame& out, std::string& error) {
  if (size < 40) {
    error = "the bitmap header is cut short";
    return false;
  }
  const uint32_t headerSize = u32(data);
  const int32_t width = static_cast<int32_t>(u32(data + 4));
  const int32_t doubleHeight = static_cast<int32_t>(u32(data + 8));
  const int bits = u16(data + 14);
  const uint32_t compression = u32(data + 16);
  uint32_t coloursUsed = u32(data + 32);
  if (headerSize < 40 || headerSize > size) {
    error = "the bitmap header size is wrong";
    return false;
  }
  if (width <= 0 || width > kMaxCursorSide || doubleHeight <= 0 || doubleHeight / 2 > kMaxCursorSide ||
      doubleHeight < 2) {
    error = "the bitmap size is out of range";
    return false;
  }
  if (compression != 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
    error = "the bitmap format is not supported";
    return false;
  }
  const int32_t height = doubleHeight / 2;
  size_t offset = headerSize;
  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const uint32_t most = 1u << bits;
    if (coloursUsed == 0 || coloursUsed > most) coloursUsed = most;
    if (size - offset < static_cast<size_t>(coloursUsed) * 4) {
      error = "the palette is cut short";
      return false;
    }
    for (uint32_t i = 0; i < coloursUsed; ++i) palette.push_back(u32(data + offset + i * 4) & 0x00FFFFFF);
    offset += static_cast<size_t>(coloursUsed) * 4;
  }
  const size_t colourRow = rowBytes(width, bits);
  const size_t maskRow = rowBytes(width, 1);
  const size_t colourBytes = colourRow * static_cast<size_t>(height);
  if (size - offset < colourBytes) {
    error = "the colour rows are cut short";
    return false;
  }
  const uint8_t* colours = data + offset;
  // Some files leave the mask out; every pixel is then shown.
  const uint8_t* mask = size - offset - colourBytes >= maskRow * static_cast<size_t>(height) ? colours + colourBytes : nullptr;
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(width) * height, 0);
  bool anyAlpha = false;
  for (int32_t y = 0; y < height; ++y) {
    // Bitmap rows run bottom-up.
    const uint8_t* row = colours + colourRow * static_cast<size_t>(height - 1 - y);
    const uint8_t* maskLine = mask ? mask + maskRow * static_cast<size_t>(height - 1 - y) : nullptr;
    for (int32_t x = 0; x < width; ++x) {
      uint32_t pixel = 0;
      switch (bits) {
        case 1: pixel = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
        case 4: pixel = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15; break;
        case 8: pixel = row[x]; break;
        case 24: pixel = row[x * 3] | (row[x * 3 + 1] << 8) | (static_cast<uint32_t>(row[x * 3 + 2]) << 16); break;
        default: pixel = u32(row + static_cast<size_t>(x) * 4); break;
      }
      if (bits <= 8) pixel = pixel < palette.size() ? palette[pixel] : 0;
      if (bits == 32 && (pixel >> 24) != 0) anyAlpha = true;
      const bool transparent = maskLine && ((maskLine[x >> 3] >> (7 - (x & 7))) & 1);
      if (bits != 32) pixel = (pixel & 0x00FFFFFF) | (transparent ? 0u : 0xFF000000u);
      out.pixels[static_cast<size_t>(y) * width + x] = pixel;
    }
  }
  // A 32-bit picture without any alpha takes its transparency from the mask.
  if (bits == 32 && !anyAlpha) {
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* maskLine = mask ? mask + maskRow * static_cast<size_t>(height - 1 - y) : nullptr;
      for (int32_t x = 0; x < width; ++x) {
        const bool transparent = maskLine && ((maskLine[x >> 3] >> (7 - (x & 7))) & 1);
        uint32_t& p = out.pixels[static_cast<size_t>(y) * width + x];
        p = (p & 0x00FFFFFF) | (transparent ? 0u : 0xFF000000u);
      }
    }
  }
  return true;
}

}  // namespace

bool parseCursorFile(const uint8_t* data, size_t size, CursorFrame& out, std::string& error) {
  out = CursorFrame{};
  if (!data || size < 6 || u16(data) != 0 || (u16(data + 2) != 1 && u16(data + 2) != 2)) {
    error = "not a cursor file";
    return false;
  }
  const bool cursor = u16(data + 2) == 2;
  const size_t count = u16(data + 4);
  if (count == 0 || size - 6 < count * 16) {
    error = "the picture directory is cut short";
    return false;
  }
  // The largest picture, the deepest among equals.
  size_t best = 0;
  int64_t bestArea = -1;
  int bestBits = -1;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = data + 6 + i * 16;
    const int64_t w = entry[0] ? entry[0] : 256, h = entry[1] ? entry[1] : 256;
    const int bits = cursor ? 0 : u16(entry + 6);
    if (w * h > bestArea || (w * h == bestArea && bits > bestBits)) {
      best = i;
      bestArea = w * h;
      bestBits = bits;
    }
  }
  const uint8_t* entry = data + 6 + best * 16;
  const uint32_t length = u32(entry + 8), offset = u32(entry + 12);
  if (offset > size || length > size - offset || length == 0) {
    error = "the picture lies outside the file";
    return false;
  }
  const uint8_t* picture = data + offset;
  const bool png = length >= 8 && std::memcmp(picture, kPngSignature, 8) == 0;
  if (!(png ? decodePng(picture, length, out, error) : decodeDib(picture, length, out, error))) return false;
  if (cursor) {
    out.hotX = u16(entry + 4);
    out.hotY = u16(entry + 6);
    if (out.hotX >= out.width) out.hotX = out.width - 1;
    if (out.hotY >= out.height) out.hotY = out.height - 1;
  }
  return true;
}

bool parseAnimatedCursor(const uint8_t* data, size_t size, CursorAnimation& out, std::string& error) {
  out = CursorAnimation{};
  if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "ACON", 4) != 0) {
    error = "not an animated cursor file";
    return false;
  }
  // The RIFF length may claim more than there is; the file's own end wins.
  size_t end = static_cast<size_t>(u32(data + 4)) + 8;
  if (end > size || end < 12) end = size;
  uint32_t steps = 0, frames = 0, defaultRate = 0, flags = 0;
  std::vector<uint32_t> rates, sequence;
  bool haveHeader = false;
  size_t at = 12;
  while (end - at >= 8) {
    const uint8_t* chunk = data + at;
    const size_t length = u32(chunk + 4);
    const size_t body = at + 8;
    if (length > end - body) {
      error = "a chunk runs past the end of the file";
      return false;
    }
    const uint8_t* bytes = data + body;
    if (std::memcmp(chunk, "anih", 4) == 0 && length >= 36) {
      frames = u32(bytes + 4);
      steps = u32(bytes + 8);
      defaultRate = u32(bytes + 28);
      flags = u32(bytes + 32);
      haveHeader = true;
    } else if (std::memcmp(chunk, "rate", 4) == 0) {
      for (size_t i = 0; i + 4 <= length && rates.size() < kMaxCursorFrames * 4; i += 4) rates.push_back(u32(bytes + i));
    } else if (std::memcmp(chunk, "seq ", 4) == 0) {
      for (size_t i = 0; i + 4 <= length && sequence.size() < kMaxCursorFrames * 4; i += 4)
        sequence.push_back(u32(bytes + i));
    } else if (std::memcmp(chunk, "LIST", 4) == 0 && length >= 4 && std::memcmp(bytes, "fram", 4) == 0) {
      size_t in = 4;
      while (length - in >= 8) {
        const uint8_t* sub = bytes + in;
        const size_t subLength = u32(sub + 4);
        if (subLength > length - in - 8) {
          error = "a frame runs past its list";
          return false;
        }
        if (std::memcmp(sub, "icon", 4) == 0) {
          if (out.frames.size() >= kMaxCursorFrames) {
            error = "too many frames";
            return false;
          }
          CursorFrame frame;
          if (!parseCursorFile(sub + 8, subLength, frame, error)) return false;
          out.frames.push_back(std::move(frame));
        }
        // The pad byte of an odd frame may be left out at the end of the list.
        const size_t step = 8 + subLength + (subLength & 1);
        if (step > length - in) break;
        in += step;
      }
    }
    at = body + length + (length & 1);
    if (at > end) break;
  }
  if (!haveHeader) {
    error = "the animation header is missing";
    return false;
  }
  if (!(flags & 1)) {
    error = "raw bitmap frames are not supported";
    return false;
  }
  if (out.frames.empty()) {
    error = "the animation has no frames";
    return false;
  }
  (void)frames;
  // Steps follow the sequence when there is one, else the frames in order.
  const size_t stepCount = !sequence.empty() ? sequence.size() : out.frames.size();
  for (size_t i = 0; i < stepCount && i < kMaxCursorFrames * 4; ++i) {
    const uint32_t frame = !sequence.empty() ? sequence[i] : static_cast<uint32_t>(i);
    if (frame >= out.frames.size()) {
      error = "the sequence names a missing frame";
      return false;
    }
    out.sequence.push_back(frame);
    // Rates count 1/60 s.
    const uint32_t jiffies = i < rates.size() ? rates[i] : defaultRate;
    out.durationsMs.push_back((jiffies ? (jiffies > 600000 ? 600000 : jiffies) : 1) * 1000 / 60);
  }
  (void)steps;
  return true;
}

}  // namespace vellum
