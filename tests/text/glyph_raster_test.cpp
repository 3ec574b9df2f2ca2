// The rasteriser on synthetic glyphs: exact pixels for each edge kind in 1-bit and anti-aliased
// mode, the composite arithmetic, 16-bit pixels, the gradient, and clipping at every edge.
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "text/glyph_raster.h"

namespace vellum::test {
namespace {

constexpr int kBaseline = 10;
constexpr uint32_t kBody = 0xFFFFFF, kEdge = 0x000000;

GlyphBitmap glyph(int width, std::vector<uint8_t> coverage) {
  GlyphBitmap g;
  g.width = width;
  g.rows = static_cast<int>(coverage.size()) / width;
  g.top = kBaseline;  // the first row lands on the pen row
  g.coverage = std::move(coverage);
  return g;
}

struct Buffer {
  int w = 12, h = 12;
  std::vector<uint32_t> px = std::vector<uint32_t>(144, 0);
  RasterTarget target() { return {reinterpret_cast<uint8_t*>(px.data()), w * 4, w, h, false}; }
  uint32_t at(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
  // Every non-transparent pixel.
  std::map<std::pair<int, int>, uint32_t> drawn() const {
    std::map<std::pair<int, int>, uint32_t> out;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (at(x, y)) out[{x, y}] = at(x, y);
    return out;
  }
};

GlyphRasteriser rasteriser(int style) {
  GlyphRasteriser r;
  r.setStyle(style);
  r.setColours(kBody, kBody, kEdge);
  r.setSize(4, kBaseline);
  return r;
}

// Pixels a single full pixel produces: the edge stamps (relative to the glyph pixel) and the body.
struct EdgeCase {
  int style;
  std::vector<std::pair<int, int>> edge;
  int margin;  // bold + edge bit B
};

TEST(GlyphRaster, EachEdgeKindStampsItsPattern) {
  const EdgeCase cases[] = {
      {0, {}, 0},
      {2, {{1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}, 0},
      {4, {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}, 1},
      {6, {{-1, -1}, {0, -1}, {1, -1}, {2, -1}, {-1, 0}, {1, 0}, {2, 0}, {-1, 1}, {0, 1}, {1, 1}, {2, 1},
           {-1, 2}, {0, 2}, {1, 2}, {2, 2}}, 1},
      {16 | 2, {{2, 1}, {1, 2}, {2, 2}}, 0},
      {16 | 4, {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}, 1},
      {16 | 6, {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {2, 0}, {-1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}, 1},
      {1 | 16 | 4, {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}, 2},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.style);
    Buffer b;
    rasteriser(c.style).draw(b.target(), 4, 4, glyph(1, {255}));
    std::map<std::pair<int, int>, uint32_t> expected;
    const int gx = 4 + c.margin, gy = 4 + c.margin;
    for (auto [dx, dy] : c.edge) expected[{gx + dx, gy + dy}] = 0xFF000000 | kEdge;
    expected[{gx, gy}] = 0xFF000000 | kBody;
    EXPECT_EQ(b.drawn(), expected);
  }
}

TEST(GlyphRaster, AntiAliasedCoverageCompositesOverTheEdge) {
  struct Case {
    std::vector<uint8_t> coverage;
    uint32_t first, second;
  };
  const Case cases[] = {
      // Alone over nothing: body colour with the coverage as alpha.
      {{128, 0}, 0x80FFFFFF, 0x80000000},
      // Over a full edge: blended towards the edge colour, opaque (255 x 128 / 256, rounded down).
      {{255, 128}, 0xFFFFFFFF, 0xFF7F7F7F},
      // Over a partial edge: alpha[128][128] = 191, weight[128][191] = 170, 255 x 170 / 256 = 169.
      {{128, 128}, 0xBFA9A9A9, 0xBFA9A9A9},
  };
  for (const Case& c : cases) {
    Buffer b;
    rasteriser(16 | 4).draw(b.target(), 4, 4, glyph(2, c.coverage));
    EXPECT_EQ(b.at(5, 5), c.first);
    EXPECT_EQ(b.at(6, 5), c.second);
  }
}

TEST(GlyphRaster, CompositeTables) {
  const CompositeTables& t = compositeTables();
  EXPECT_EQ(t.alpha8[0][77], 77);
  EXPECT_EQ(t.alpha8[255][77], 255);
  EXPECT_EQ(t.alpha8[128][128], 191);
  EXPECT_EQ(t.weight8[128][191], 170);
  EXPECT_EQ(t.alpha8[40][0], 40);
  EXPECT_EQ(t.weight8[40][0], 40);
  EXPECT_EQ(t.alpha4[8][8], 8 + 8 * 7 / 15);
  EXPECT_EQ(t.weight4[15][15], 15);
}

TEST(GlyphRaster, SixteenBitPixelsUseFourBitChannels) {
  std::vector<uint16_t> px(64, 0);
  const RasterTarget target{reinterpret_cast<uint8_t*>(px.data()), 16, 8, 8, true};
  GlyphRasteriser r = rasteriser(2);  // 1-bit with a shadow
  r.setColours(0x80FF20, 0x80FF20, 0x102030);
  r.draw(target, 1, 1, glyph(1, {255}));
  EXPECT_EQ(px[1 * 8 + 1], 0xF8F2);
  EXPECT_EQ(px[1 * 8 + 2], 0xF123);
  GlyphRasteriser smooth = rasteriser(16);
  std::fill(px.begin(), px.end(), 0);
  smooth.draw(target, 1, 1, glyph(1, {128}));
  EXPECT_EQ(px[1 * 8 + 1], 0x8FFF);  // coverage 128 is alpha 8
}

TEST(GlyphRaster, GradientRunsDownTheRowsAndIsClamped) {
  GlyphRasteriser r = rasteriser(8);
  r.setColours(0xFF0000, 0x0000FF, 0);
  Buffer b;
  r.draw(b.target(), 0, 0, glyph(1, {255, 255, 255, 255, 255, 255}));
  EXPECT_EQ(b.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(b.at(0, 2), 0xFF000000u | r.gradientAt(2));
  EXPECT_EQ(b.at(0, 5), 0xFF0000FFu);  // past the size: colour 2
  EXPECT_EQ(r.gradientAt(100000), 0x0000FFu);
  EXPECT_EQ(r.gradientAt(-5), 0xFF0000u);
}

TEST(GlyphRaster, DrawingIsClippedToTheBuffer) {
  // A 4 x 4 window inside a larger block: nothing outside it may change.
  std::vector<uint32_t> block(16 * 16, 0x12345678);
  for (int y = 4; y < 8; ++y)
    for (int x = 4; x < 8; ++x) block[static_cast<size_t>(y * 16 + x)] = 0;
  const RasterTarget inner{reinterpret_cast<uint8_t*>(&block[4 * 16 + 4]), 16 * 4, 4, 4, false};
  const GlyphBitmap big = glyph(6, std::vector<uint8_t>(36, 200));
  for (int style : {6, 16 | 6, 8 | 16 | 6})
    for (auto [x, y] : {std::pair{-3, -3}, std::pair{2, 2}, std::pair{-20, 0}, std::pair{0, 50}})
      rasteriser(style).draw(inner, x, y, big);
  int changedOutside = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if ((x < 4 || x >= 8 || y < 4 || y >= 8) && block[static_cast<size_t>(y * 16 + x)] != 0x12345678) ++changedOutside;
  EXPECT_EQ(changedOutside, 0);
}

// Draws a glyph at every pen position across the four edges of a small target that lies inside a
// larger block of words, and counts the words that differ from what they should be: inside the
// target, the same glyph drawn well inside a large target; outside it, the block as it was.
template <typename Word>
int edgeMismatches(int style, const GlyphBitmap& g) {
  constexpr int kBlock = 32, kAt = 8, kW = 9, kH = 7;
  constexpr Word kUntouched = static_cast<Word>(0x5A5A5A5A);
  const bool sixteen = sizeof(Word) == 2;
  const GlyphRasteriser r = rasteriser(style);
  int wrong = 0;
  for (int y = -7; y <= kH + 2; ++y)
    for (int x = -7; x <= kW + 2; ++x) {
      std::vector<Word> block(kBlock * kBlock, kUntouched);
      for (int ty = 0; ty < kH; ++ty)
        for (int tx = 0; tx < kW; ++tx) block[static_cast<size_t>((kAt + ty) * kBlock + kAt + tx)] = 0;
      constexpr int pitch = kBlock * static_cast<int>(sizeof(Word));
      r.draw({reinterpret_cast<uint8_t*>(&block[kAt * kBlock + kAt]), pitch, kW, kH, sixteen}, x, y, g);
      std::vector<Word> whole(kBlock * kBlock, 0);
      r.draw({reinterpret_cast<uint8_t*>(whole.data()), pitch, kBlock, kBlock, sixteen}, x + kAt, y + kAt, g);
      for (int by = 0; by < kBlock; ++by)
        for (int bx = 0; bx < kBlock; ++bx) {
          const size_t i = static_cast<size_t>(by * kBlock + bx);
          const bool in = bx >= kAt && bx < kAt + kW && by >= kAt && by < kAt + kH;
          wrong += block[i] != (in ? whole[i] : kUntouched);
        }
    }
  return wrong;
}

TEST(GlyphRaster, GlyphsAcrossEveryEdgeDrawWhatFitsAndNothingPastIt) {
  // Full and partial coverage in every row and column, so the stamps reach as far as they can.
  const GlyphBitmap g = glyph(3, {255, 200, 255, 128, 255, 64});
  for (int style : {2, 4, 6, 16 | 2, 16 | 4, 16 | 6, 1 | 6, 1 | 16 | 6}) {
    EXPECT_EQ(edgeMismatches<uint32_t>(style, g), 0) << "32-bit, style " << style;
    EXPECT_EQ(edgeMismatches<uint16_t>(style, g), 0) << "16-bit, style " << style;
  }
}

}  // namespace
}  // namespace vellum::test
