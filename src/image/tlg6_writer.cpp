#include <algorithm>
#include <array>
#include <bit>
#include <new>
#include <utility>

#include "image/bit_writer.h"
#include "image/byte_reader.h"
#include "image/codec_report.h"
#include "image/packed_pixels.h"
#include "image/slide_compressor.h"
#include "image/tlg6_colour_filter.h"
#include "image/tlg6_golomb_encoder.h"
#include "image/tlg6_prediction.h"
#include "image/tlg_format.h"
#include "image/tlg_writer.h"

namespace vellum {

namespace {

constexpr int kSide = kTlg6BlockSide;
constexpr uint64_t kMaxBitLength = (uint64_t{1} << 30) - 1;

void putLe32(std::vector<uint8_t>& out, uint32_t v) {
  const size_t at = out.size();
  out.resize(at + 4);
  storeLe32(out.data() + at, v);
}

// Rough Golomb cost of one residual byte: zero is nearly free, others grow with their magnitude.
constexpr std::array<uint8_t, 256> kResidualCost = [] {
  std::array<uint8_t, 256> cost{};
  for (int v = 0; v < 256; ++v) {
    const int s = static_cast<int8_t>(v);
    const unsigned magnitude = static_cast<unsigned>(s < 0 ? -s : s);
    cost[static_cast<size_t>(v)] = static_cast<uint8_t>(s == 0 ? 1 : 2 * std::bit_width(magnitude) + 1);
  }
  return cost;
}();

using Undo = uint32_t (*)(uint32_t);
template <size_t... F>
constexpr std::array<Undo, kTlg6ColourFilters> undoTable(std::index_sequence<F...>) {
  return {&undoColourFilter<static_cast<int>(F)>...};
}
constexpr auto kUndo = undoTable(std::make_index_sequence<kTlg6ColourFilters>{});

uint32_t colourCost(const uint32_t* words, int count, int colours) {
  uint32_t total = 0;
  for (int i = 0; i < count; ++i) {
    const uint32_t w = words[i];
    total += kResidualCost[w & 0xFF];
    if (colours >= 3) total += kResidualCost[(w >> 8) & 0xFF] + kResidualCost[(w >> 16) & 0xFF];
  }
  return total;
}

// The filter that makes the block's differences cheapest (the first on ties), and its cost.
int bestFilter(const uint32_t* differences, int count, int colours, uint32_t& cost) {
  uint32_t stored[kSide * kSide];
  int best = 0;
  cost = UINT32_MAX;
  const int filters = colours >= 3 ? kTlg6ColourFilters : 1;
  for (int f = 0; f < filters; ++f) {
    for (int i = 0; i < count; ++i) stored[i] = kUndo[f](differences[i]);
    const uint32_t c = colourCost(stored, count, colours);
    if (c < cost) {
      cost = c;
      best = f;
    }
  }
  return best;
}

class Tlg6Encoder {
 public:
  Tlg6Encoder(const Image& image, int colours)
      : width_(image.width), height_(image.height), colours_(colours),
        initial_(colours == 3 ? 0xFF000000u : 0), pixels_(size_t(width_) * height_) {
    // The pixels as the decoder will rebuild them before the grey is spread out.
    for (size_t i = 0; i < pixels_.size(); ++i) {
      const uint32_t p = image.pixels[i];
      pixels_[i] = colours == 1 ? (p & 0xFF) : colours == 3 ? (p | 0xFF000000u) : p;
    }
  }

  bool encode(std::vector<uint8_t>& out) {
    const int blocksAcross = (width_ + kSide - 1) / kSide;
    const int blocksDown = (height_ + kSide - 1) / kSide;
    std::vector<uint8_t> filters(size_t(blocksAcross) * blocksDown);
    std::vector<uint8_t> channels[4];
    for (int c = 0; c < colours_; ++c) channels[c].resize(size_t(width_) * kSide);
    std::vector<uint8_t> side;
    BitWriter bits;
    uint64_t maxBits = 0;

    for (int band = 0; band < blocksDown; ++band) {
      const int top = band * kSide;
      const int lines = std::min(kSide, height_ - top);
      for (int block = 0; block < blocksAcross; ++block) {
        filters[size_t(band) * blocksAcross + block] = encodeBlock(top, lines, block, channels);
      }
      const size_t count = size_t(width_) * lines;
      for (int c = 0; c < colours_; ++c) {
        bits.clear();
        encodeGolombChannel(channels[c].data(), count, bits);
        if (bits.bitCount() > kMaxBitLength) {
          reportWriterText("SaveTLG6: Too large bit length (given image may be too large)");
          return false;
        }
        maxBits = std::max(maxBits, bits.bitCount());
        putLe32(side, static_cast<uint32_t>(bits.bitCount()));
        const std::vector<uint8_t>& bytes = bits.finish();
        side.insert(side.end(), bytes.begin(), bytes.end());
      }
    }

    SlideCompressor compressor(filterTableRing());
    std::vector<uint8_t> table;
    compressor.encode(filters.data(), filters.size(), table);

    out.insert(out.end(), std::begin(kTlg6Magic), std::end(kTlg6Magic));
    out.push_back(static_cast<uint8_t>(colours_));
    out.push_back(0);  // data flag
    out.push_back(0);  // colour type
    out.push_back(0);  // external Golomb table
    putLe32(out, static_cast<uint32_t>(width_));
    putLe32(out, static_cast<uint32_t>(height_));
    putLe32(out, static_cast<uint32_t>(maxBits));
    putLe32(out, static_cast<uint32_t>(table.size()));
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), side.begin(), side.end());
    return true;
  }

 private:
  uint32_t at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

  // Differences from both predictors in storage order; keeps the cheaper predictor (AVG on ties)
  // with its best colour filter, stores the channel bytes and returns the filter byte.
  uint8_t encodeBlock(int top, int lines, int block, std::vector<uint8_t>* channels) {
    const int x0 = block * kSide;
    const int w = std::min(kSide, width_ - x0);
    uint32_t median[kSide * kSide];
    uint32_t average[kSide * kSide];
    int k = 0;
    for (int slot = 0; slot < lines; ++slot) {
      const int y = top + ((block & 1) ? lines - 1 - slot : slot);
      for (int s = 0; s < w; ++s, ++k) {
        const int x = x0 + ((y & 1) ? w - 1 - s : s);
        const uint32_t left = x ? at(x - 1, y) : initial_;
        const uint32_t up = y ? at(x, y - 1) : initial_;
        const uint32_t upLeft = (x && y) ? at(x - 1, y - 1) : initial_;
        const uint32_t pixel = at(x, y);
        median[k] = packedSub(pixel, medianPredict(left, up, upLeft));
        average[k] = packedSub(pixel, averagePredict(left, up));
      }
    }
    uint32_t medianCost = 0;
    uint32_t averageCost = 0;
    const int medianFilter = bestFilter(median, k, colours_, medianCost);
    const int averageFilter = bestFilter(average, k, colours_, averageCost);
    const bool useAverage = averageCost <= medianCost;
    const int filter = useAverage ? averageFilter : medianFilter;
    const uint32_t* chosen = useAverage ? average : median;

    const size_t base = size_t(x0) * lines;
    for (int i = 0; i < k; ++i) {
      const uint32_t stored = kUndo[filter](chosen[i]);
      for (int c = 0; c < colours_; ++c) channels[c][base + i] = static_cast<uint8_t>(stored >> c * 8);
    }
    return static_cast<uint8_t>(filter * 2 + (useAverage ? 1 : 0));
  }

  int width_;
  int height_;
  int colours_;
  uint32_t initial_;
  std::vector<uint32_t> pixels_;
};

}  // namespace

bool encodeTlg6(const Image& image, int colours, std::vector<uint8_t>& out) {
  if (colours != 1 && colours != 3 && colours != 4) {
    reportWriterText("SaveTLG6: Unsupported Color Type");
    return false;
  }
  try {
    Tlg6Encoder encoder(image, colours);
    return encoder.encode(out);
  } catch (const std::bad_alloc&) {
    reportWriterText("SaveTLG6: Insufficient memory");
    return false;
  }
}

}  // namespace vellum
