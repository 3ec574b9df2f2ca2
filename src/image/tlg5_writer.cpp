#include <algorithm>
#include <new>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/slide_compressor.h"
#include "image/tlg_format.h"
#include "image/tlg_writer.h"

namespace vellum {

namespace {

void putLe32(std::vector<uint8_t>& out, uint32_t v) {
  const size_t at = out.size();
  out.resize(at + 4);
  storeLe32(out.data() + at, v);
}

// The inverse of the reader's composition: the difference from the pixel above, then from the
// previous pixel's difference along the line, then blue and red relative to green.
void splitBlock(const Image& image, uint32_t top, uint32_t lines, int colours, uint8_t* const* channel) {
  const uint32_t width = static_cast<uint32_t>(image.width);
  for (uint32_t j = 0; j < lines; ++j) {
    const uint32_t y = top + j;
    const uint32_t* row = image.pixels + size_t{y} * width;
    const uint32_t* above = y ? row - width : nullptr;
    const size_t base = size_t{j} * width;
    uint32_t previous[4] = {};
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t pixel = row[x];
      const uint32_t up = above ? above[x] : 0;
      uint32_t s[4];
      for (int c = 0; c < 4; ++c) {
        const uint32_t d = ((pixel >> c * 8) - (up >> c * 8)) & 0xFF;
        s[c] = (d - previous[c]) & 0xFF;
        previous[c] = d;
      }
      if (colours == 1) {
        channel[0][base + x] = static_cast<uint8_t>(s[0]);
        continue;
      }
      channel[0][base + x] = static_cast<uint8_t>(s[0] - s[1]);
      channel[1][base + x] = static_cast<uint8_t>(s[1]);
      channel[2][base + x] = static_cast<uint8_t>(s[2] - s[1]);
      if (colours == 4) channel[3][base + x] = static_cast<uint8_t>(s[3]);
    }
  }
}

}  // namespace

bool encodeTlg5(const Image& image, int colours, std::vector<uint8_t>& out) {
  if (colours != 1 && colours != 3 && colours != 4) {
    reportWriterText("SaveTLG5: Unsupported Color Type");
    return false;
  }
  try {
    const uint32_t width = static_cast<uint32_t>(image.width);
    const uint32_t height = static_cast<uint32_t>(image.height);
    const uint32_t lines = kTlg5WriterBlockHeight;
    const uint32_t blockCount = (height + lines - 1) / lines;
    out.insert(out.end(), std::begin(kTlg5Magic), std::end(kTlg5Magic));
    out.push_back(static_cast<uint8_t>(colours));
    putLe32(out, width);
    putLe32(out, height);
    putLe32(out, lines);
    const size_t table = out.size();
    out.resize(table + size_t{blockCount} * 4);

    const size_t blockBytes = size_t{width} * lines;
    std::vector<uint8_t> buffer(blockBytes * colours);
    uint8_t* channel[4] = {};
    for (int c = 0; c < colours; ++c) channel[c] = buffer.data() + blockBytes * c;
    SlideCompressor compressor;
    std::vector<uint8_t> packed;
    for (uint32_t block = 0; block < blockCount; ++block) {
      const uint32_t top = block * lines;
      const uint32_t blockLines = std::min(lines, height - top);
      const size_t raw = size_t{width} * blockLines;
      splitBlock(image, top, blockLines, colours, channel);
      const size_t blockStart = out.size();
      for (int c = 0; c < colours; ++c) {
        compressor.checkpoint();
        packed.clear();
        compressor.encode(channel[c], raw, packed);
        const bool keepRaw = packed.size() >= raw;
        if (keepRaw) compressor.rollBack();
        out.push_back(keepRaw ? 1 : 0);
        putLe32(out, static_cast<uint32_t>(keepRaw ? raw : packed.size()));
        if (keepRaw) out.insert(out.end(), channel[c], channel[c] + raw);
        else out.insert(out.end(), packed.begin(), packed.end());
      }
      storeLe32(out.data() + table + size_t{block} * 4, static_cast<uint32_t>(out.size() - blockStart));
    }
    return true;
  } catch (const std::bad_alloc&) {
    reportWriterText("SaveTLG5: Insufficient memory");
    return false;
  }
}

}  // namespace vellum
