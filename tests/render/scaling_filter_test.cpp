// The final pass's filters on the device against CPU references of the same filters: a random
// picture drawn as the scene and scaled into the back buffer by each Interpolation value.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "render/filter_passes.h"
#include "render/renderer_fixture.h"

namespace vellum::test {
namespace {

constexpr int kRenderW = 37, kRenderH = 29;

struct Picture {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  double channel(int x, int y, int c) const {
    x = std::clamp(x, 0, w - 1);
    y = std::clamp(y, 0, h - 1);
    return static_cast<double>((pixels[static_cast<size_t>(y * w + x)] >> (8 * c)) & 0xFF);
  }
};

Picture randomPicture(int w, int h, uint32_t seed) {
  std::mt19937 random(seed);
  Picture p{w, h, std::vector<uint32_t>(static_cast<size_t>(w * h))};
  for (uint32_t& v : p.pixels) v = random() | 0xFF000000u;
  return p;
}

// One output pixel's filter: where its centre falls in texels (x, y measured like the shaders'
// (-0.5, -0.5) set) and the picture.
using Filter = std::function<double(const Picture&, double x, double y, int channel)>;

double lerp(double a, double b, double t) { return a + (b - a) * t; }

double sharp(const Picture& p, double x, double y, int c, double s) {
  const int kx = static_cast<int>(std::floor(x)), ky = static_cast<int>(std::floor(y));
  const double gx = std::clamp((x - kx - 0.5) * s + 0.5, 0.0, 1.0), gy = std::clamp((y - ky - 0.5) * s + 0.5, 0.0, 1.0);
  return lerp(lerp(p.channel(kx, ky, c), p.channel(kx + 1, ky, c), gx),
              lerp(p.channel(kx, ky + 1, c), p.channel(kx + 1, ky + 1, c), gx), gy);
}

double lanczos1Weight(double d) {
  const double x = std::max(M_PI * d, 0.00392);
  return std::sin(x) * std::sin(x) / (x * x);
}

double lanczos1(const Picture& p, double x, double y, int c) {
  const int kx = static_cast<int>(std::floor(x)), ky = static_cast<int>(std::floor(y));
  const double fx = x - kx, fy = y - ky;
  const double wx[2] = {lanczos1Weight(fx), lanczos1Weight(1 - fx)}, wy[2] = {lanczos1Weight(fy), lanczos1Weight(1 - fy)};
  double sum = 0;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) sum += wx[i] * wy[j] * p.channel(kx + i, ky + j, c);
  return sum / ((wx[0] + wx[1]) * (wy[0] + wy[1]));
}

double biQuad(const Picture& p, double x, double y, int c) {
  const int kx = static_cast<int>(std::floor(x)), ky = static_cast<int>(std::floor(y));
  const double fx = x - kx, fy = y - ky;
  const double wx[3] = {fx * fx - fx, 1 - fx * fx, fx}, wy[3] = {fy * fy - fy, 1 - fy * fy, fy};
  double sum = 0;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) sum += wx[i] * wy[j] * p.channel(kx - 1 + i, ky - 1 + j, c);
  return sum;
}

// The twelve reads the four-tap filters make: outer rows only at their middle taps.
double twelveTaps(const Picture& p, int kx, int ky, const double wx[4], const double wy[4], int c) {
  const double left = wx[0] + wx[1], right = wx[2] + wx[3];
  double sum = wy[0] * (p.channel(kx, ky - 1, c) * left + p.channel(kx + 1, ky - 1, c) * right);
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 4; ++i) sum += wy[1 + row] * wx[i] * p.channel(kx - 1 + i, ky + row, c);
  sum += wy[3] * (p.channel(kx, ky + 2, c) * left + p.channel(kx + 1, ky + 2, c) * right);
  return sum;
}

double biCubic(const Picture& p, double x, double y, int c) {
  const int kx = static_cast<int>(std::floor(x)), ky = static_cast<int>(std::floor(y));
  const auto weights = [](double f, double w[4]) {
    w[0] = -f * f * f + 2 * f * f - f;
    w[1] = f * f * f - 2 * f * f + 1;
    w[2] = -f * f * f + f * f + f;
    w[3] = f * f * f - f * f;
  };
  double wx[4], wy[4];
  weights(x - kx, wx);
  weights(y - ky, wy);
  return twelveTaps(p, kx, ky, wx, wy, c);
}

double lanczos2(const Picture& p, double x, double y, int c) {
  const int kx = static_cast<int>(std::floor(x)), ky = static_cast<int>(std::floor(y));
  const auto weights = [](double f, double w[4]) {
    const double d[4] = {f + 1, f, 1 - f, 2 - f};
    for (int i = 0; i < 4; ++i) {
      const double t = std::max(M_PI * d[i], 0.00392);
      w[i] = std::sin(t) * std::sin(t / 2) / (t * t / 2);
    }
  };
  double wx[4], wy[4];
  weights(x - kx, wx);
  weights(y - ky, wy);
  return twelveTaps(p, kx, ky, wx, wy, c) / ((wx[0] + wx[1] + wx[2] + wx[3]) * (wy[0] + wy[1] + wy[2] + wy[3]));
}

double bilinear(const Picture& p, double x, double y, int c) {
  const int kx = static_cast<int>(std::floor(x)), ky = static_cast<int>(std::floor(y));
  return lerp(lerp(p.channel(kx, ky, c), p.channel(kx + 1, ky, c), x - kx),
              lerp(p.channel(kx, ky + 1, c), p.channel(kx + 1, ky + 1, c), x - kx), y - ky);
}

double nearest(const Picture& p, double x, double y, int c) {
  return p.channel(static_cast<int>(std::floor(x + 0.5)), static_cast<int>(std::floor(y + 0.5)), c);
}

class ScalingFilterTest : public RendererTest {
 protected:
  // Creates the renderer for the filter with the picture as the scene and draws one frame.
  bool drawScaled(int32_t interpolation, const Picture& picture, const RendererDisplay& display) {
    settings().interpolation = interpolation;
    if (!create(display)) return false;
    gpu::Texture* scene = createTexture(picture.w, picture.h, 1);
    if (!scene) return false;
    writeTexture2(scene, picture.pixels.data(), 0, picture.w, picture.h, picture.w, picture.h);
    sceneCallbacks().drawSpriteLists = [scene, &picture](int run) {
      if (run != 0) return;
      gpu::Device* d = renderer().device;
      QuadVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                            {picture.w - 0.5f, -0.5f, 0, 1, 1, 0},
                            {-0.5f, picture.h - 0.5f, 0, 1, 0, 1},
                            {picture.w - 0.5f, picture.h - 0.5f, 0, 1, 1, 1}};
      d->setSamplerState(0, gpu::ss::MinFilter, gpu::texf::Point);
      d->setSamplerState(0, gpu::ss::MagFilter, gpu::texf::Point);
      d->setTexture(0, scene);
      d->setFVF(gpu::kFvfXyzRhw | gpu::fvfTex(1));
      d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quad, sizeof(QuadVertex));
      d->setTexture(0, nullptr);
    };
    const bool drawn = runFrame(0, 0, 0, 0);
    scene->release();
    return drawn;
  }

  // Compares the destination rectangle of the back buffer with the filter evaluated at each
  // pixel's centre in the coordinates the quad gives it.
  void expectFilter(const Picture& picture, const gpu::Rect& dest, double insetU, double insetV, const Filter& filter,
                    int tolerance, int columns = 1 << 30, int rows = 1 << 30) {
    const std::vector<uint32_t> back = readTarget(renderer().backBuffer);
    ASSERT_FALSE(back.empty());
    gpu::SurfaceDesc d;
    renderer().backBuffer->getDesc(d);
    int worst = 0;
    for (int j = 0; j < std::min(dest.height(), rows); ++j)
      for (int i = 0; i < std::min(dest.width(), columns); ++i) {
        const double u = (i + 0.5) / dest.width() * (1.0 - insetU);
        const double v = (j + 0.5) / dest.height() * (1.0 - insetV);
        const double x = u * picture.w - 0.5, y = v * picture.h - 0.5;
        const uint32_t got = back[static_cast<size_t>((dest.top + j) * static_cast<int>(d.width) + dest.left + i)];
        for (int c = 0; c < 3; ++c) {
          const double want = std::clamp(filter(picture, x, y, c), 0.0, 255.0);
          const int diff = std::abs(static_cast<int>((got >> (8 * c)) & 0xFF) - static_cast<int>(std::lround(want)));
          worst = std::max(worst, diff);
          if (diff > tolerance) {
            ADD_FAILURE() << "pixel " << i << "," << j << " channel " << c << ": got " << ((got >> (8 * c)) & 0xFF)
                          << ", want " << want;
            return;
          }
        }
      }
    SUCCEED() << "largest difference " << worst;
  }
};

struct FilterCase {
  int32_t interpolation;
  Filter filter;
  double insetV;  // the bottom edge's inset of the layout
  int tolerance;
};

std::vector<FilterCase> filterCases(int destW) {
  const double s = std::max(1.0, (static_cast<double>(destW) / kRenderW - 1) * 0.5 + 1);
  return {
      {3, [s](const Picture& p, double x, double y, int c) { return sharp(p, x, y, c, s); }, 0.0001, 1},
      {4, lanczos1, 0.0001, 2},
      {5, biQuad, 0.000001, 1},
      {6, biCubic, 0.000001, 1},
      {7, lanczos2, 0.000001, 2},
  };
}

TEST_F(ScalingFilterTest, EveryShaderFilterMatchesItsReference) {
  VELLUM_REQUIRE_GL();
  const Picture picture = randomPicture(kRenderW, kRenderH, 7);
  const int destW = 64, destH = 48;
  for (const FilterCase& fc : filterCases(destW)) {
    SCOPED_TRACE(filterName(fc.interpolation));
    ASSERT_TRUE(drawScaled(fc.interpolation, picture, displayOf(kRenderW, kRenderH, destW, destH)));
    EXPECT_EQ(renderer().pass, FramePass::Shader);
    expectFilter(picture, {0, 0, destW, destH}, 0.0001, fc.insetV, fc.filter, fc.tolerance);
    shutdownRenderer();
  }
}

TEST_F(ScalingFilterTest, PlainPassesSampleLikeTheDevice) {
  VELLUM_REQUIRE_GL();
  const Picture picture = randomPicture(kRenderW, kRenderH, 11);
  const int destW = 64, destH = 48;
  ASSERT_TRUE(drawScaled(1, picture, displayOf(kRenderW, kRenderH, destW, destH)));
  EXPECT_EQ(renderer().pass, FramePass::Plain);
  expectFilter(picture, {0, 0, destW, destH}, 0, 0, nearest, 0);
  shutdownRenderer();
  ASSERT_TRUE(drawScaled(2, picture, displayOf(kRenderW, kRenderH, destW, destH)));
  expectFilter(picture, {0, 0, destW, destH}, 0, 0, bilinear, 1);
  shutdownRenderer();
  // Driver: the scene goes straight into a back buffer of the render size.
  ASSERT_TRUE(drawScaled(0, picture, displayOf(kRenderW, kRenderH, destW, destH)));
  EXPECT_EQ(renderer().pass, FramePass::Direct);
  expectFilter(picture, {0, 0, kRenderW, kRenderH}, 0, 0, nearest, 0);
}

TEST_F(ScalingFilterTest, AtMagnificationOneEveryFilterReturnsTheSource) {
  VELLUM_REQUIRE_GL();
  const Picture picture = randomPicture(kRenderW, kRenderH, 3);
  // Full screen in the stretch mode onto a rectangle of the render size keeps the shader pass.
  settings().fullScreen = 1;
  settings().fullMode = 1;
  for (const FilterCase& fc : filterCases(kRenderW)) {
    SCOPED_TRACE(filterName(fc.interpolation));
    RendererDisplay display = displayOf(kRenderW, kRenderH, kRenderW, kRenderH);
    display.monitorW = 64;
    display.monitorH = 48;
    display.dest[1] = {5, 3, 5 + kRenderW, 3 + kRenderH};
    ASSERT_TRUE(drawScaled(fc.interpolation, picture, display));
    ASSERT_EQ(renderer().pass, FramePass::Shader);
    expectFilter(picture, display.dest[1], 0.0001, fc.insetV, fc.filter, fc.tolerance);
    // The coordinates' edge inset moves the far texels' centres by up to (i + 0.5) / 10000 of a
    // texel; where that stays below a thousandth, the filter gives the source texel itself.
    expectFilter(picture, display.dest[1], 0, 0, nearest, 1, 9, 9);
    shutdownRenderer();
  }
}

TEST_F(ScalingFilterTest, CheckerboardThroughThePlainPassIsExact) {
  VELLUM_REQUIRE_GL();
  Picture board{kRenderW, kRenderH, std::vector<uint32_t>(static_cast<size_t>(kRenderW * kRenderH))};
  for (int y = 0; y < kRenderH; ++y)
    for (int x = 0; x < kRenderW; ++x) board.pixels[static_cast<size_t>(y * kRenderW + x)] = ((x + y) & 1) ? 0xFFFFFFFF : 0xFF000000;
  // A client as wide as the render size takes the plain pass whatever the filter.
  for (int32_t interpolation : {2, 5, 7}) {
    ASSERT_TRUE(drawScaled(interpolation, board, displayOf(kRenderW, kRenderH, kRenderW, kRenderH)));
    EXPECT_EQ(renderer().pass, FramePass::Plain);
    const std::vector<uint32_t> back = readTarget(renderer().backBuffer);
    gpu::SurfaceDesc d;
    renderer().backBuffer->getDesc(d);
    for (int y = 0; y < kRenderH; ++y)
      for (int x = 0; x < kRenderW; ++x)
        ASSERT_EQ(back[static_cast<size_t>(y) * d.width + static_cast<size_t>(x)], board.pixels[static_cast<size_t>(y * kRenderW + x)])
            << x << "," << y;
    shutdownRenderer();
  }
}

TEST(FilterPassLayout, VerticesCarryTheHalfPixelOffsetsAndEdges) {
  const gpu::Rect dest{10, 20, 110, 95};
  const auto four = fourSetQuad(dest, 50, 40);
  EXPECT_FLOAT_EQ(four[0].x, 9.5f);
  EXPECT_FLOAT_EQ(four[3].y, 94.5f);
  EXPECT_FLOAT_EQ(four[1].uv[0][0], 1.0f - 0.0001f - 0.5f / 50);
  EXPECT_FLOAT_EQ(four[2].uv[3][1], 1.0f - 0.0001f + 0.5f / 40);
  EXPECT_FLOAT_EQ(four[2].x, 9.5f) << "strip: the third corner is the bottom-left";
  const auto nine = nineSetQuad(dest, 50, 40);
  EXPECT_FLOAT_EQ(nine[2].x, 109.5f) << "fan: the third corner is the bottom-right";
  EXPECT_FLOAT_EQ(nine[2].uv[8][1], 1.0f - 0.000001f + 0.5f / 40);
  EXPECT_FLOAT_EQ(nine[0].uv[0][0], -1.5f / 50);
  const auto eight = eightSetQuad(dest, 50, 40);
  EXPECT_FLOAT_EQ(eight[0].uv[3][0], 1.5f / 50);
  EXPECT_FLOAT_EQ(eight[0].uv[7][1], -0.5f / 40);

  EXPECT_FLOAT_EQ(filterConstants(3, 100, 50, 200)[1][0], 1.5f) << "twice the width";
  EXPECT_FLOAT_EQ(filterConstants(3, 100, 50, 80)[1][0], 1.0f) << "never below 1";
  const auto quad = filterConstants(5, 100, 50, 200);
  ASSERT_EQ(quad.size(), 5u);
  EXPECT_FLOAT_EQ(quad[1][1], 2.0f / 50);
  EXPECT_EQ(quad[2], (std::array<float, 4>{1, -1, 0, 0}));
  EXPECT_EQ(filterConstants(6, 100, 50, 200)[3], (std::array<float, 4>{2, -2, 1, -1}));
  EXPECT_TRUE(filterConstants(2, 100, 50, 200).empty());
}

}  // namespace
}  // namespace vellum::test
