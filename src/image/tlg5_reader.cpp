#include "image/tlg5_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/lzss.h"
#include "image/packed_pixels.h"
#include "image/tlg_format.h"

namespace vellum {

namespace {

constexpr const char* kCodec = "TLG5";

bool fail(const std::string& problem) {
  reportBadPicture(kCodec, problem);
  return false;
}

// Undoes the running differences of one block: along each line, then from the line above.
void composeBlock(Image& image, uint32_t firstLine, uint32_t lines, int colours, const uint8_t* const* channel) {
  const uint32_t width = static_cast<uint32_t>(image.width);
  for (uint32_t j = 0; j < lines; ++j) {
    const uint32_t y = firstLine + j;
    uint32_t* row = image.pixels + static_cast<size_t>(y) * width;
    const uint32_t* above = y ? row - width : nullptr;
    const size_t base = static_cast<size_t>(j) * width;
    if (colours == 1) {
      uint32_t grey = 0;
      for (uint32_t x = 0; x < width; ++x) {
        grey += channel[0][base + x];
        row[x] = opaqueGrey(grey + (above ? above[x] : 0));
      }
      continue;
    }
    uint32_t pb = 0, pg = 0, pr = 0, pa = 0;
    const uint8_t* b = channel[0] + base;
    const uint8_t* g = channel[1] + base;
    const uint8_t* r = channel[2] + base;
    const uint8_t* a = colours == 4 ? channel[3] + base : nullptr;
    for (uint32_t x = 0; x < width; ++x) {
      pg += g[x];
      pb += b[x] + g[x];
      pr += r[x] + g[x];
      if (a) pa += a[x];
      uint32_t pixel = packBytes(pb, pg, pr, pa);
      if (above) pixel = packedAdd(pixel, above[x]);
      row[x] = a ? pixel : pixel | 0xFF000000u;
    }
  }
}

bool decode(const uint8_t* data, size_t size, DecodeTarget& target) {
  ByteReader in(data, size);
  if (!hasMagic(data, size, kTlg5Magic)) return fail("not a TLG5 stream");
  in.skip(kTlgMagicSize);
  const int colours = in.u8();
  const uint32_t width = in.le32();
  const uint32_t height = in.le32();
  const uint32_t blockHeight = in.le32();
  if (!in.ok()) return fail("the header is cut off");
  if (colours != 1 && colours != 3 && colours != 4) return fail(std::to_string(colours) + " colours are not supported");
  if (blockHeight == 0) return fail("the block height is 0");
  Image* image = target.announce(kCodec, width, height, colours * 8);
  if (!image) return false;

  const uint32_t lines = std::min(blockHeight, height);
  const uint64_t blockCount = (uint64_t{height} + lines - 1) / lines;
  if (!in.skip(blockCount * 4)) return fail("the block size table is cut off");

  const size_t blockBytes = size_t{width} * lines;
  std::vector<uint8_t> buffer(blockBytes * colours);
  const uint8_t* channel[4] = {};
  for (int c = 0; c < colours; ++c) channel[c] = buffer.data() + blockBytes * c;

  LzssRing ring;
  for (uint32_t y = 0, block = 0; y < height; y += lines, ++block) {
    const uint32_t blockLines = std::min(lines, height - y);
    const size_t need = size_t{width} * blockLines;
    for (int c = 0; c < colours; ++c) {
      const std::string where = "block " + std::to_string(block) + " channel " + std::to_string(c);
      const uint8_t mark = in.u8();
      const uint32_t stored = in.le32();
      const uint8_t* bytes = in.take(stored);
      if (!bytes) return fail(where + " runs past the end of the data");
      uint8_t* into = buffer.data() + blockBytes * c;
      if (mark != 0) {
        if (stored != need) {
          return fail(where + " holds " + std::to_string(stored) + " raw bytes, the block needs " +
                      std::to_string(need));
        }
        std::memcpy(into, bytes, need);
      } else if (LzssResult r = lzssDecode(ring, bytes, stored, into, need); r != LzssResult::Ok) {
        return fail(where + ": " + lzssProblem(r));
      }
    }
    composeBlock(*image, y, blockLines, colours, channel);
  }
  return true;
}

}  // namespace

bool decodeTlg5(const uint8_t* data, size_t size, DecodeTarget& target) {
  try {
    return decode(data, size, target);
  } catch (const std::bad_alloc&) {
    return fail("no memory for the block buffers");
  }
}

}  // namespace vellum
