#include "text/glyph_raster.h"

#include <algorithm>
#include <memory>

namespace vellum {

namespace {

template <size_t N>
void fillTables(std::array<std::array<uint8_t, N>, N>& alpha, std::array<std::array<uint8_t, N>, N>& weight) {
  const int m = static_cast<int>(N) - 1;
  for (int x = 0; x <= m; ++x)
    for (int y = 0; y <= m; ++y) {
      alpha[x][y] = static_cast<uint8_t>(y == 0 ? x : y + x * (m - y) / m);
      weight[x][y] = static_cast<uint8_t>(y == 0 ? x : std::min(m, m * x / y));
    }
}

// Rounds towards minus infinity, as the channel arithmetic wants for negative differences.
int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

struct Pixel {
  int a = 0, r = 0, g = 0, b = 0;
};

// Channel access in the buffer's own depth: 32-bit A8R8G8B8 or 16-bit A4R4G4B4 words.
template <typename Word>
class Canvas {
 public:
  explicit Canvas(const RasterTarget& t) : t_(t) {}
  bool inside(int x, int y) const {
    return static_cast<unsigned>(x) < static_cast<unsigned>(t_.width) && static_cast<unsigned>(y) < static_cast<unsigned>(t_.height);
  }
  Word& word(int x, int y) const { return reinterpret_cast<Word*>(t_.bits + static_cast<ptrdiff_t>(y) * t_.pitch)[x]; }
  int alpha(int x, int y) const {
    if constexpr (sizeof(Word) == 2) return word(x, y) >> 12;
    else return static_cast<int>(word(x, y) >> 24);
  }
  Pixel get(int x, int y) const {
    const Word v = word(x, y);
    if constexpr (sizeof(Word) == 2) return {v >> 12, (v >> 8) & 15, (v >> 4) & 15, v & 15};
    else
      return {static_cast<int>(v >> 24), static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255),
              static_cast<int>(v & 255)};
  }
  static Word pack(const Pixel& p) {
    if constexpr (sizeof(Word) == 2) return static_cast<Word>(p.a << 12 | p.r << 8 | p.g << 4 | p.b);
    else
      return static_cast<Word>(static_cast<uint32_t>(p.a) << 24 | static_cast<uint32_t>(p.r) << 16 |
                               static_cast<uint32_t>(p.g) << 8 | static_cast<uint32_t>(p.b));
  }
  void set(int x, int y, const Pixel& p) const { word(x, y) = pack(p); }

 private:
  const RasterTarget& t_;
};

struct Offset {
  int dx, dy;
};

// The stamp patterns of the four edge kinds, 1-bit and anti-aliased, in stamp order.
constexpr Offset kShadowMono[] = {{1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
constexpr Offset kOutlineMono[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr Offset kOutlineShadowMono[] = {{-1, -1}, {0, -1}, {1, -1}, {2, -1}, {-1, 0}, {0, 0}, {1, 0}, {2, 0},
                                         {-1, 1},  {0, 1},  {1, 1},  {2, 1},  {-1, 2}, {0, 2}, {1, 2}, {2, 2}};
constexpr Offset kShadowSmooth[] = {{2, 1}, {1, 2}, {2, 2}};
constexpr Offset kOutlineSmooth[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr Offset kOutlineShadowSmooth[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {2, 0},
                                           {-1, 1},  {2, 1},  {0, 2},  {1, 2},  {2, 2}};

struct Pattern {
  const Offset* offsets = nullptr;
  size_t count = 0;
};

template <size_t N>
Pattern pattern(const Offset (&o)[N]) {
  return {o, N};
}

Pattern edgePattern(EdgeKind kind, bool smooth) {
  switch (kind) {
    case EdgeKind::Shadow: return smooth ? pattern(kShadowSmooth) : pattern(kShadowMono);
    case EdgeKind::Outline: return smooth ? pattern(kOutlineSmooth) : pattern(kOutlineMono);
    case EdgeKind::OutlineShadow: return smooth ? pattern(kOutlineShadowSmooth) : pattern(kOutlineShadowMono);
    default: return {};
  }
}

Pixel split(uint32_t rgb, bool sixteen) {
  const int r = static_cast<int>((rgb >> 16) & 255), g = static_cast<int>((rgb >> 8) & 255), b = static_cast<int>(rgb & 255);
  if (sixteen) return {15, r / 16, g / 16, b / 16};
  return {255, r, g, b};
}

}  // namespace

const CompositeTables& compositeTables() {
  static const std::unique_ptr<CompositeTables> tables = [] {
    auto t = std::make_unique<CompositeTables>();
    fillTables(t->alpha4, t->weight4);
    fillTables(t->alpha8, t->weight8);
    return t;
  }();
  return *tables;
}

void GlyphRasteriser::setStyle(int style) {
  style_ = style & 31;
  rebuildGradient();
}

void GlyphRasteriser::setColours(uint32_t c1, uint32_t c2, uint32_t c3) {
  colours_ = {c1 & 0xFFFFFF, c2 & 0xFFFFFF, c3 & 0xFFFFFF};
  rebuildGradient();
}

void GlyphRasteriser::setSize(int size, int baseline) {
  size_ = size;
  baseline_ = baseline;
  rebuildGradient();
}

void GlyphRasteriser::rebuildGradient() {
  const int span = std::max(size_, 1);
  for (int i = 0; i < 256; ++i) {
    const int t = std::min(i, span);
    uint32_t c = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int a = static_cast<int>((colours_[0] >> shift) & 255), b = static_cast<int>((colours_[1] >> shift) & 255);
      c |= static_cast<uint32_t>(a + (b - a) * t / span) << shift;
    }
    gradient_[static_cast<size_t>(i)] = c;
  }
}

uint32_t GlyphRasteriser::gradientAt(int row) const { return gradient_[static_cast<size_t>(std::clamp(row, 0, 255))]; }

void GlyphRasteriser::draw(const RasterTarget& target, int x, int y, const GlyphBitmap& glyph) const {
  if (!target.bits || glyph.width <= 0 || glyph.rows <= 0) return;
  if (target.sixteenBit)
    drawInto<uint16_t>(target, x, y, glyph);
  else
    drawInto<uint32_t>(target, x, y, glyph);
}

template <typename Word>
void GlyphRasteriser::drawInto(const RasterTarget& target, int x, int y, const GlyphBitmap& glyph) const {
  const Canvas<Word> canvas(target);
  constexpr bool sixteen = sizeof(Word) == 2;
  constexpr int m = sixteen ? 15 : 255;
  const bool smooth = antiAlias();
  const CompositeTables& tables = compositeTables();
  const auto alphaOf = [&](int e, int k) -> int { return sixteen ? tables.alpha4[e][k] : tables.alpha8[e][k]; };
  const auto weightOf = [&](int k, int a) -> int { return sixteen ? tables.weight4[k][a] : tables.weight8[k][a]; };
  const int margin = (bold() ? 1 : 0) + edgeBitB();
  const int left = x + glyph.left + margin;
  const int top = y + baseline_ - glyph.top + margin;
  const uint8_t* coverage = glyph.coverage.data();

  // Edges first: every stamp of every glyph pixel before any body pixel.
  const Pattern edges = edgePattern(edgeKind(), smooth);
  const Pixel e = split(colours_[2], sixteen);
  const Word edgeWord = Canvas<Word>::pack(e);
  // Stamps reach one pixel up and left and two down and right; a glyph well inside needs no checks.
  const bool allInside = left >= 1 && top >= 1 && left + glyph.width + 2 <= target.width &&
                         top + glyph.rows + 2 <= target.height;
  if (edges.count) {
    for (int gy = 0; gy < glyph.rows; ++gy)
      for (int gx = 0; gx < glyph.width; ++gx) {
        const int k8 = coverage[gy * glyph.width + gx];
        if (k8 == 0) continue;
        const int k = sixteen ? k8 / 16 : k8;
        for (size_t i = 0; i < edges.count; ++i) {
          const int px = left + gx + edges.offsets[i].dx, py = top + gy + edges.offsets[i].dy;
          if (!allInside && !canvas.inside(px, py)) continue;
          if (!smooth || k8 == 255) {
            canvas.word(px, py) = edgeWord;
          } else {
            Pixel out = e;
            out.a = alphaOf(canvas.alpha(px, py), k);
            canvas.set(px, py, out);
          }
        }
      }
  }

  // Then the body over them.
  const bool gradient = (style_ & style_bits::kGradient) && colours_[0] != colours_[1];
  constexpr int alphaShift = sixteen ? 12 : 24;
  constexpr Word rgbMask = sixteen ? 0x0FFF : 0x00FFFFFF;
  for (int gy = 0; gy < glyph.rows; ++gy) {
    const int py = top + gy;
    if (static_cast<unsigned>(py) >= static_cast<unsigned>(target.height)) continue;
    const Pixel body = split(gradient ? gradientAt(py - y) : colours_[0], sixteen);
    const Word bodyWord = Canvas<Word>::pack(body);
    const Word bodyRgb = bodyWord & rgbMask;
    Word* row = &canvas.word(0, py);
    const uint8_t* cover = coverage + gy * glyph.width;
    for (int gx = 0; gx < glyph.width; ++gx) {
      const int k8 = cover[gx];
      const int px = left + gx;
      if (k8 == 0 || static_cast<unsigned>(px) >= static_cast<unsigned>(target.width)) continue;
      if (!smooth || k8 == 255) {
        row[px] = bodyWord;
        continue;
      }
      const int k = sixteen ? k8 / 16 : k8;
      const int under = static_cast<int>(row[px] >> alphaShift);
      if (under == 0) {
        row[px] = static_cast<Word>(bodyRgb | static_cast<Word>(k) << alphaShift);
        continue;
      }
      Pixel out = body;
      if (under == m) {
        out.r = e.r + floorDiv((body.r - e.r) * k, m + 1);
        out.g = e.g + floorDiv((body.g - e.g) * k, m + 1);
        out.b = e.b + floorDiv((body.b - e.b) * k, m + 1);
      } else {
        const int a = alphaOf(under, k);
        const int w = weightOf(k, a);
        out.r = e.r + floorDiv((body.r - e.r) * w, m + 1);
        out.g = e.g + floorDiv((body.g - e.g) * w, m + 1);
        out.b = e.b + floorDiv((body.b - e.b) * w, m + 1);
        out.a = a;
      }
      row[px] = Canvas<Word>::pack(out);
    }
  }
}

}  // namespace vellum
