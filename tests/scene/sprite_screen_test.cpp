// What the player sees: sprites drawn by the real renderer, read back through setScreenShot.
#include <cmath>

#include "render/renderer_state.h"
#include "shell/display/screen_geometry.h"
#include "scene/sprite_drawing.h"
#include "sprite_fixture.h"

namespace vellum::test {
namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

TEST_F(SpriteScreenTest, AnOpaquePictureFillsItsRectangleOnlyAfterDraw) {
  writePicture("red.png", 100, 50, kRed);
  script("draw\nsp 1, \"red.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 50\n");
  expectRectangle(capture(), 100, 50, 200, 100, 0x000000, 0x000000);
  script("draw\n");
  expectRectangle(capture(), 100, 50, 200, 100, 0xFF0000, 0x000000);
}

TEST_F(SpriteScreenTest, SmallerOrderAndNumberAreInFront) {
  writePicture("r.png", 40, 40, kRed);
  writePicture("g.png", 40, 40, kGreen);
  writePicture("b.png", 20, 20, kBlue);
  script("sp 3, \"r.png\", 0, 0\nsp 7, \"g.png\", 0, 0\nsp 9, \"b.png\", 0, 0\n"
         "sp_xy 3, 100, 100\nsp_xy 7, 110, 100\nsp_xy 9, 100, 100\nsp_o 9, -1\nsp_o 3, 0\ndraw\n");
  const Screen s = capture();
  EXPECT_EQ(s.at(95, 110), 0xFF0000u);   // 3 over 7 where they overlap
  EXPECT_EQ(s.at(125, 110), 0x00FF00u);  // only 7
  EXPECT_EQ(s.at(100, 100), 0x0000FFu);  // order -1 over both
  EXPECT_EQ(spriteTable().lists[0].begin()->second, 7);  // drawn first
}

TEST_F(SpriteScreenTest, TheMessageLayerLiesBetweenOrderZeroAndNegativeOrders) {
  writePicture("r.png", 40, 40, kRed);
  writePicture("b.png", 40, 40, kBlue);
  // The message layer paints green over the middle column of the screen.
  sceneCallbacks().drawMessageLayer = [] {
    const SceneVertex quad[4] = {{99.5f, -0.5f, 0, 1, 0xFF00FF00, 0, 0},
                                 {139.5f, -0.5f, 0, 1, 0xFF00FF00, 0, 0},
                                 {99.5f, 239.5f, 0, 1, 0xFF00FF00, 0, 0},
                                 {139.5f, 239.5f, 0, 1, 0xFF00FF00, 0, 0}};
    gpu::Device* d = renderer().device;
    d->setTexture(0, nullptr);
    d->setRenderState(gpu::rs::SrcBlend, gpu::blend::One);
    d->setRenderState(gpu::rs::DestBlend, gpu::blend::Zero);
    d->setRenderState(gpu::rs::BlendOp, gpu::blendop::Add);
    d->setTextureStageState(0, gpu::tss::ColorOp, gpu::top::SelectArg2);
    d->setTextureStageState(0, gpu::tss::AlphaOp, gpu::top::SelectArg2);
    d->setFVF(gpu::kFvfXyzRhw | gpu::kFvfDiffuse | gpu::fvfTex(1));
    d->drawPrimitiveUP(gpu::Primitive::TriangleStrip, 2, quad, sizeof(SceneVertex));
  };
  script("sp 1, \"r.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 100, 20\n"
         "sp 2, \"b.png\", 0, 0\nsp_cxy 2, 0, 0\nsp_xy 2, 100, 100\nsp_o 2, -1\ndraw\n");
  const Screen s = capture();
  EXPECT_EQ(s.at(110, 30), 0x00FF00u);   // order 0: behind the message layer
  EXPECT_EQ(s.at(110, 110), 0x0000FFu);  // order -1: in front of it
}

// The nine blend modes against the formulas, on a grey background, with the sprite's alpha 128.
TEST_F(SpriteScreenTest, BlendModesMatchTheirFormulas) {
  const uint32_t background = 0xFF406080, source = 0xFFC03010;
  writePicture("bg.png", kGameW, kGameH, background);
  writePicture("fg.png", 20, 20, source);
  const double a = 128.0 / 255.0;
  const auto ch = [](uint32_t c, int shift) { return static_cast<double>((c >> shift) & 0xFF); };
  struct Case {
    int mode;
    double (*f)(double s, double d, double a);
  };
  const Case cases[] = {
      {0, [](double s, double, double) { return s; }},
      {1, [](double s, double d, double a) { return s * a + d * (1 - a); }},
      {2, [](double s, double d, double a) { return std::min(255.0, s * a + d); }},
      {3, [](double s, double d, double a) { return std::max(0.0, d - s * a); }},
      {4, [](double s, double d, double a) { return d * (s * a + 255 * (1 - a)) / 255; }},
      {5, [](double s, double d, double a) { return s * a * (1 - d / 255) + d; }},
      {6, [](double s, double d, double a) { return std::max(s * a, d); }},
      {7, [](double s, double d, double a) { return std::min(s * a + 255 * (1 - a), d); }},
      {8, [](double s, double d, double a) { return s * a * (1 - d / 255) + d * (1 - s * a / 255); }},
  };
  // One frame: mode m on sprite 10 + m at (20 + 30 m, 100).
  std::string lines = "sp 0, \"bg.png\", 0, 0\nsp_cxy 0, 0, 0\nsp_o 0, 1\n";
  for (const Case& c : cases) {
    const std::string n = std::to_string(10 + c.mode);
    lines += "sp " + n + ", \"fg.png\", 0, 0\nsp_cxy " + n + ", 0, 0\nsp_xy " + n + ", " +
             std::to_string(20 + 30 * c.mode) + ", 100\nsp_a " + n + ", 128\nsp_b " + n + ", " + std::to_string(c.mode) + "\n";
  }
  script(lines + "draw\n");
  const Screen s = capture();
  for (const Case& c : cases) {
    const uint32_t got = s.at(30 + 30 * c.mode, 110);
    for (int shift : {16, 8, 0}) {
      const double want = c.f(ch(source, shift), ch(background, shift), a);
      EXPECT_NEAR(ch(got, shift), want, 2.0) << "mode " << c.mode << " channel shift " << shift << " got " << std::hex << got;
    }
  }
}

TEST_F(SpriteScreenTest, RotatedAndScaledCornersLandWhereTheMatricesSay) {
  writePicture("w.png", 60, 40, kWhite);
  // Sprite 1 scaled 2 x 1 and turned 90 degrees: 120 x 40 becomes 40 x 120 around (80, 120).
  // Sprite 2 turned 30 degrees clockwise around (230, 120).
  script("sp 1, \"w.png\", 0, 0\nsp_xy 1, 80, 120\nsp_wh 1, 2, 1\nsp_rz 1, 90\n"
         "sp 2, \"w.png\", 0, 0\nsp_xy 2, 230, 120\nsp_rz 2, 30\ndraw\n");
  const Screen s = capture();
  expectRectangle(s, 60, 60, 100, 180, 0xFFFFFF, 0x000000);
  const double t = 30 * 3.14159265 / 180;
  for (auto [cx, cy] : {std::pair{-30.0, -20.0}, {30.0, -20.0}, {-30.0, 20.0}, {30.0, 20.0}}) {
    const double x = cx * std::cos(t) - cy * std::sin(t), y = cx * std::sin(t) + cy * std::cos(t);
    const double len = std::hypot(x, y);
    const auto at = [&](double d) {
      return s.at(static_cast<int>(std::floor(230 + x * (len + d) / len)),
                  static_cast<int>(std::floor(120 + y * (len + d) / len)));
    };
    EXPECT_EQ(at(-1.5), 0xFFFFFFu) << cx << "," << cy;
    EXPECT_EQ(at(1.5), 0x000000u) << cx << "," << cy;
  }
}

TEST_F(SpriteScreenTest, ASpriteInACanvasMovesWithTheCanvas) {
  writePicture("g.png", 20, 20, kGreen);
  // The same child position in two canvases placed apart: each child lands relative to its canvas.
  script("spg 5, 100, 100, 0\nsp_cxy 5, 0, 0\nsp_xy 5, 20, 50\nsp 6, \"g.png\", 0, 0\nsp_cxy 6, 0, 0\n"
         "sp_xy 6, 10, 10\nsp_g 6, 5\n"
         "spg 7, 100, 100, 0\nsp_cxy 7, 0, 0\nsp_xy 7, 170, 80\nsp 8, \"g.png\", 0, 0\nsp_cxy 8, 0, 0\n"
         "sp_xy 8, 10, 10\nsp_g 8, 7\ndraw\n");
  EXPECT_TRUE(reports.boxes.empty()) << reports.shownBoxes.front();
  const Screen s = capture();
  expectRectangle(s, 30, 60, 50, 80, 0x00FF00, 0x000000);
  expectRectangle(s, 180, 90, 200, 110, 0x00FF00, 0x000000);
}

TEST_F(SpriteScreenTest, CellFiveOfDivision0x32IsColumnOneRowTwo) {
  // 4 columns x 3 rows of 10 x 10 cells, each coloured by its column and row.
  writePicture("cells.png", 40, 30, [](int x, int y) { return 0xFF000000u | (static_cast<uint32_t>(x / 10) << 16) * 40 | (static_cast<uint32_t>(y / 10) * 40); });
  script("sp 1, \"cells.png\", 0, 50\nsp_cxy 1, 0, 0\nsp_xy 1, 0, 0\nsp_l 1, 5\ndraw\n");
  const Screen s = capture();
  EXPECT_EQ(s.at(5, 5), (40u << 16) | 80u);
  EXPECT_EQ(s.at(10, 5), 0u);  // one cell wide
}

TEST_F(SpriteScreenTest, AfterPictureWithPropertiesPendingShowsTheFrontWithTheBackProperties) {
  writePicture("red.png", 20, 20, kRed);
  script("sp 1, \"red.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 10, 10\ndraw3\nsp_xy 1, 50, 10\n");
  ASSERT_EQ(sprite(1).pending, pending::kProperties);
  sceneCallbacks().transitionScenes[1] = [](int, int, int) {
    renderer().device->clear(gpu::kClearTarget, 0xFF000000, 1.0f, 0);
    drawSpriteList(0, {kGameW / 2.0f, kGameH / 2.0f}, INT64_MIN, INT64_MAX, true);
  };
  runFrame(1, 0, 0, 0);
  const Screen s = capture();
  EXPECT_EQ(s.at(55, 15), 0xFF0000u);
  EXPECT_EQ(s.at(15, 15), 0u);
}

TEST_F(SpriteScreenTest, MasksHideWhatTheirProgressHasNotReached) {
  writePicture("w.png", 40, 40, kWhite);
  writePicture("m.png", 40, 40, [](int x, int) { return x < 20 ? 0xFF000000u : 0xFFFFFFFFu; });
  // Sprite 1, the "?" part: the mask's grey values become the alpha. Sprite 2, sp_mask halfway:
  // the dark part of the mask shows first. Sprite 3, the same inverted: the light part.
  script("sp 1, \"w.png?m.png\", 0, 0\nsp_cxy 1, 0, 0\nsp_xy 1, 20, 100\n"
         "sp 2, \"w.png\", 0, 0\nsp_cxy 2, 0, 0\nsp_xy 2, 120, 100\nsp_mask 2, \"m.png\", 0, 128, 1, 0, 0\n"
         "sp 3, \"w.png\", 0, 0\nsp_cxy 3, 0, 0\nsp_xy 3, 220, 100\nsp_mask 3, \"m.png\", 1, 128, 1, 0, 0\ndraw\n");
  EXPECT_TRUE(reports.boxes.empty()) << reports.shownBoxes.front();
  const Screen s = capture();
  EXPECT_EQ(s.at(25, 110), 0u);
  EXPECT_EQ(s.at(55, 110), 0xFFFFFFu);
  EXPECT_EQ(s.at(125, 110), 0xFFFFFFu);
  EXPECT_EQ(s.at(155, 110), 0u);
  EXPECT_EQ(s.at(225, 110), 0u);
  EXPECT_EQ(s.at(255, 110), 0xFFFFFFu);
}

// Each frame's capture shows that frame: a blend change between two draws is seen at once.
TEST_F(SpriteScreenTest, ConsecutiveFramesAreEachCapturedAsDrawn) {
  writePicture("red.png", 20, 20, kRed);
  writePicture("bg.png", kGameW, kGameH, 0xFF406080);
  script("sp 0, \"bg.png\", 0, 0\nsp_cxy 0, 0, 0\nsp_o 0, 1\nsp 1, \"red.png\", 0, 0\nsp_cxy 1, 0, 0\n");
  int stale = 0;
  for (int i = 0; i < 20; ++i) {
    script("sp_b 1, " + std::to_string(i % 2 ? 2 : 0) + "\ndraw\n");
    if (capture().at(12, 15) != (i % 2 ? 0xFF6080u : 0xFF0000u)) ++stale;
  }
  EXPECT_EQ(stale, 0);
}

// A background of 24 bits covering the screen is drawn without clearing the screen first: what
// the last frame left must not show through it, moved sprite or half-transparent background.
TEST_F(SpriteScreenTest, NothingOfTheLastFrameShowsThroughAFullScreenBackground) {
  Image* bg = createImage(kGameW, kGameH, 24);
  ASSERT_NE(bg, nullptr);
  for (int i = 0; i < bg->pixelCount; ++i) bg->pixels[i] = 0xFF406080u;
  SaveRequest opaque;
  opaque.format = SaveFormat::Png;
  opaque.option1 = 24;
  opaque.option2 = 1;
  ASSERT_TRUE(saveImage((game / "bg.png").string(), bg, opaque));
  freeImage(bg);
  writePicture("red.png", 20, 20, kRed);
  script("sp 0, \"bg.png\", 0, 0\nsp_cxy 0, 0, 0\nsp_o 0, 1\nsp 1, \"red.png\", 0, 0\nsp_cxy 1, 0, 0\n"
         "sp_xy 1, 10, 10\ndraw\nsp_xy 1, 100, 100\ndraw\n");
  EXPECT_EQ(capture().at(15, 15), 0x406080u) << "the sprite's old place shows the background";
  script("sp_a 0, 128\nsp_xy 1, 10, 10\ndraw\nsp_xy 1, 100, 100\ndraw\n");
  EXPECT_EQ(capture().at(15, 15), capture().at(60, 60)) << "a half-transparent background over the clear colour alone";
}

// A checkerboard shows its texels one for one wherever texels land on pixels; placed between
// pixels or scaled it is filtered, and the black and white squares mix.
TEST_F(SpriteScreenTest, ACheckerboardIsExactOnlyWhereTexelsLandOnPixels) {
  const auto board = [](int x, int y) { return ((x + y) & 1) ? kWhite : 0xFF000000u; };
  // An opaque picture of 24 bits is copied where its texels land on pixels, and drawn otherwise.
  for (const int bits : {32, 24}) {
    SCOPED_TRACE(bits);
    const std::string name = "board" + std::to_string(bits) + ".png";
    writePicture(name, 16, 16, board, bits);
    struct Placement {
      const char* what;
      std::string lines;
      bool exact;
    };
    const Placement placements[] = {
        {"at whole pixels", "sp_xy 1, 40, 30\n", true},
        {"at whole pixels, centred", "sp_cxy 1, 1, 1\nsp_xy 1, 48, 38\n", true},
        {"half a pixel to the right", "sp_xy 1, 40.5, 30\n", false},
        {"half a pixel lower", "sp_xy 1, 40, 30.5\n", false},
        {"a little wider", "sp_xy 1, 40, 30\nsp_wh 1, 1.25, 1\n", false},
        {"turned a little", "sp_xy 1, 40, 30\nsp_rz 1, 3\n", false},
    };
    for (const Placement& p : placements) {
      SCOPED_TRACE(p.what);
      // A new picture keeps the sprite's scale and turn.
      script("sp 1, \"" + name + "\", 0, 0\nsp_cxy 1, 0, 0\nsp_wh 1, 1, 1\nsp_rz 1, 0\n" + p.lines + "draw\n");
      const Screen s = capture();
      int texels = 0, mixed = 0;
      for (int y = 33; y < 43; ++y)
        for (int x = 43; x < 53; ++x) {
          texels += s.at(x, y) == (((x + y) & 1) ? 0xFFFFFFu : 0u) ? 1 : 0;
          mixed += s.at(x, y) != 0xFFFFFFu && s.at(x, y) != 0u ? 1 : 0;
        }
      if (p.exact) EXPECT_EQ(texels, 100);
      else EXPECT_GT(mixed, 50);
    }
  }
}

// An opaque picture hanging over the screen's edges shows the texels that fall on the screen,
// each on its own pixel, and nothing beside it.
TEST_F(SpriteScreenTest, AnOpaquePictureOverTheEdgesKeepsItsTexelsInPlace) {
  const auto texel = [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 16) << 16 | static_cast<uint32_t>(y * 16) << 8 | 0x40u; };
  writePicture("tiles.png", 12, 10, texel, 24);
  struct Corner {
    const char* what;
    std::string lines;
    int screenX, screenY, texelX, texelY;  // a screen pixel inside and the texel it must show
    int outsideX, outsideY;                // a screen pixel just beyond the picture
  };
  const Corner corners[] = {
      {"over the top-left corner", "sp_xy 1, -5, -3\n", 0, 0, 5, 3, 7, 0},
      {"over the bottom-right corner", "sp_xy 1, " + std::to_string(kGameW - 7) + ", " + std::to_string(kGameH - 4) + "\n",
       kGameW - 1, kGameH - 1, 6, 3, kGameW - 8, kGameH - 1},
  };
  for (const Corner& c : corners) {
    SCOPED_TRACE(c.what);
    script("sp 1, \"tiles.png\", 0, 0\nsp_cxy 1, 0, 0\n" + c.lines + "draw\n");
    const Screen s = capture();
    EXPECT_EQ(s.at(c.screenX, c.screenY), texel(c.texelX, c.texelY) & 0xFFFFFF);
    EXPECT_EQ(s.at(c.outsideX, c.outsideY), 0u) << "the clear colour beside the picture";
  }
}

}  // namespace
}  // namespace vellum::test
