// The glyph rasteriser: draws one glyph's coverage into a pixel buffer with the five style bits
// (bold, two edge bits, gradient, anti-aliasing), edges first in the edge colour, then the body.
// Buffers are 32-bit A8R8G8B8 or 16-bit A4R4G4B4 words, rows `pitch` bytes apart; every write is
// clipped to the buffer.
#pragma once

#include <array>
#include <cstdint>

#include "platform/font_face.h"

namespace vellum {

namespace style_bits {
constexpr int kBold = 1, kEdgeA = 2, kEdgeB = 4, kGradient = 8, kAntiAlias = 16;
}

enum class EdgeKind { None = 0, Shadow = 1, Outline = 2, OutlineShadow = 3 };

struct RasterTarget {
  uint8_t* bits = nullptr;
  int pitch = 0;  // bytes per row
  int width = 0, height = 0;
  bool sixteenBit = false;
};

// alpha[x][y]: new coverage y over existing alpha x; weight[x][y]: the body colour's share.
struct CompositeTables {
  std::array<std::array<uint8_t, 16>, 16> alpha4{}, weight4{};
  std::array<std::array<uint8_t, 256>, 256> alpha8{}, weight8{};
};
const CompositeTables& compositeTables();

class GlyphRasteriser {
 public:
  void setStyle(int style);
  int style() const { return style_; }
  bool bold() const { return style_ & style_bits::kBold; }
  int edgeBitB() const { return (style_ & style_bits::kEdgeB) ? 1 : 0; }
  bool antiAlias() const { return style_ & style_bits::kAntiAlias; }
  EdgeKind edgeKind() const { return static_cast<EdgeKind>(((style_ >> 1) & 1) + ((style_ >> 2) & 1) * 2); }

  // Colours are 0xRRGGBB; the gradient runs from colour 1 at the pen row to colour 2 at `size`.
  void setColours(uint32_t c1, uint32_t c2, uint32_t c3);
  void setSize(int size, int baseline);
  uint32_t colour(int i) const { return colours_[static_cast<size_t>(i)]; }
  uint32_t gradientAt(int row) const;

  // Draws the glyph with its pen at (x, y) of the target.
  void draw(const RasterTarget& target, int x, int y, const GlyphBitmap& glyph) const;

 private:
  void rebuildGradient();
  template <typename Word>
  void drawInto(const RasterTarget& target, int x, int y, const GlyphBitmap& glyph) const;

  int style_ = 0;
  int size_ = 0, baseline_ = 0;
  std::array<uint32_t, 3> colours_{0xFFFFFF, 0xFFFFFF, 0x000000};
  std::array<uint32_t, 256> gradient_{};
};

}  // namespace vellum
