#include "image/tlg6_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/lzss.h"
#include "image/packed_pixels.h"
#include "image/tlg6_golomb_decoder.h"
#include "image/tlg6_line.h"
#include "image/tlg_format.h"

namespace vellum {

namespace {

constexpr const char* kCodec = "TLG6";
constexpr uint32_t kBitCountMask = 0x3FFFFFFF;

bool fail(const std::string& problem) {
  reportBadPicture(kCodec, problem);
  return false;
}

ResidualLane laneOf(int channel, int colours) {
  if (channel == 0) return colours == 1 ? ResidualLane::Byte0 : ResidualLane::WholeWord;
  return static_cast<ResidualLane>(static_cast<int>(ResidualLane::Byte0) + channel);
}

bool decode(const uint8_t* data, size_t size, DecodeTarget& target) {
  if (!hasMagic(data, size, kTlg6Magic)) return fail("not a TLG6 stream");
  ByteReader in(data, size);
  in.skip(kTlgMagicSize);
  const int colours = in.u8();
  const int dataFlag = in.u8();
  const int colourType = in.u8();
  const int externalTable = in.u8();
  const uint32_t width = in.le32();
  const uint32_t height = in.le32();
  const uint32_t maxBits = in.le32();
  const uint32_t tableSize = in.le32();
  if (!in.ok()) return fail("the header is cut off");
  if (colours != 1 && colours != 3 && colours != 4) return fail(std::to_string(colours) + " colours are not supported");
  if (dataFlag != 0 || colourType != 0 || externalTable != 0) return fail("the header flags are not 0");
  Image* image = target.announce(kCodec, width, height, colours * 8);
  if (!image) return false;

  const uint32_t blocksAcross = (width + kTlg6BlockSide - 1) / kTlg6BlockSide;
  const uint32_t blocksDown = (height + kTlg6BlockSide - 1) / kTlg6BlockSide;
  std::vector<uint8_t> filters(size_t{blocksAcross} * blocksDown);
  const uint8_t* table = in.take(tableSize);
  if (!table) return fail("the filter table runs past the end of the data");
  LzssRing ring = filterTableRing();
  if (LzssResult r = lzssDecode(ring, table, tableSize, filters.data(), filters.size()); r != LzssResult::Ok) {
    return fail(std::string("filter table: ") + lzssProblem(r));
  }

  const size_t maxBytes = (size_t{maxBits} + 7) / 8;
  if (maxBytes > in.remaining()) return fail("the maximum bit length " + std::to_string(maxBits) + " exceeds the data");
  std::vector<uint8_t> stream(maxBytes + kGolombReadPadding);
  std::vector<uint32_t> residuals(size_t{width} * kTlg6BlockSide);
  const uint32_t initial = colours == 3 ? 0xFF000000u : 0;
  const std::vector<uint32_t> zeroLine(width, initial);
  const Tlg6LineDecoder reconstruct = tlg6LineDecoder();

  for (uint32_t top = 0, band = 0; top < height; top += kTlg6BlockSide, ++band) {
    const int bandLines = static_cast<int>(std::min<uint32_t>(kTlg6BlockSide, height - top));
    const size_t count = size_t{width} * bandLines;
    for (int c = 0; c < colours; ++c) {
      const std::string where = "band " + std::to_string(band) + " channel " + std::to_string(c);
      const uint32_t word = in.le32();
      if (!in.ok()) return fail(where + " is missing");
      const uint32_t bits = word & kBitCountMask;
      if (bits > maxBits) {
        return fail(where + " holds " + std::to_string(bits) + " bits, above the stated maximum " +
                    std::to_string(maxBits));
      }
      const size_t bytes = (size_t{bits} + 7) / 8;
      const uint8_t* coded = in.take(bytes);
      if (!coded) return fail(where + " runs past the end of the data");
      if ((word >> 30) != 0) continue;  // an entropy method this decoder does not know: skipped
      std::memcpy(stream.data(), coded, bytes);
      std::memset(stream.data() + bytes, 0, kGolombReadPadding);
      if (GolombResult r = decodeGolombChannel(stream.data(), bits, residuals.data(), count, laneOf(c, colours));
          r != GolombResult::Ok) {
        return fail(where + ": " + golombProblem(r));
      }
    }
    for (int j = 0; j < bandLines; ++j) {
      const uint32_t y = top + static_cast<uint32_t>(j);
      uint32_t* row = image->pixels + size_t{y} * width;
      const Tlg6LineInput line{residuals.data(), filters.data() + size_t{band} * blocksAcross,
                               y ? row - width : zeroLine.data(), initial, static_cast<int>(width),
                               static_cast<int>(y), j, bandLines};
      reconstruct(line, row);
      if (colours == 1) {
        for (uint32_t x = 0; x < width; ++x) row[x] = opaqueGrey(row[x]);
      }
    }
  }
  return true;
}

}  // namespace

bool decodeTlg6(const uint8_t* data, size_t size, DecodeTarget& target) {
  try {
    return decode(data, size, target);
  } catch (const std::bad_alloc&) {
    return fail("no memory for the decoding buffers");
  }
}

}  // namespace vellum
