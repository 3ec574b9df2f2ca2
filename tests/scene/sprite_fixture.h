// A headless game with a real renderer (llvmpipe) for the sprite tests: pictures written into the
// game folder, script lines run through the interpreter, and the screen read back through
// setScreenShot.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/image.h"
#include "image/image_io.h"
#include "render/renderer.h"
#include "scene/screenshot.h"
#include "scene/sprite_table.h"
#include "shell/shell_test_support.h"
#include "support/fake_clock.h"

namespace vellum::test {

// The report of a sprite command on a sprite without a picture: GBK " 画面没有读入".
inline const std::string kNoPicture = " \xBB\xAD\xC3\xE6\xC3\xBB\xD3\xD0\xB6\xC1\xC8\xEB";

class SpriteScreenTest : public ShellTest {
 protected:
  static constexpr int kGameW = 320, kGameH = 240;

  void SetUp() override {
    ShellTest::SetUp();
    settings().vSyncWait = 0;
    setUpScreen(kGameW, kGameH);
    if (!rendererReady()) GTEST_SKIP() << "no GL 3.3 core context here";
  }

  void TearDown() override {
    // Tests may fill in callbacks of their own; the reset puts the sprite table's back.
    sceneCallbacks() = SceneCallbacks{};
    ShellTest::TearDown();
  }

  // A PNG of one colour (0xAARRGGBB) in the game folder.
  void writePicture(const std::string& name, int w, int h, uint32_t argb) {
    writePicture(name, w, h, [argb](int, int) { return argb; });
  }
  template <typename Colour>
  void writePicture(const std::string& name, int w, int h, Colour colour, int bits = 32) {
    Image* image = createImage(w, h, bits);
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) image->pixels[y * w + x] = colour(x, y);
    SaveRequest request;
    request.format = SaveFormat::Png;
    request.option1 = bits;
    request.option2 = 1;
    ASSERT_TRUE(saveImage((game / name).string(), image, request));
    freeImage(image);
  }

  // Runs the lines as the start script.
  void script(const std::string& lines) {
    addScript("script/0.txt", lines, 0);
    run();
  }

  // The screen as setScreenShot captures it at the render size.
  struct Screen {
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] & 0xFFFFFF; }
  };
  Screen capture() {
    const RendererDisplay& d = rendererDisplay();
    takeScreenShot(d.renderW, d.renderH);
    if (const char* dir = std::getenv("VELLUM_SPRITE_SHOTS")) {
      static int count = 0;
      saveHeldScreenShot(std::string(dir) + "/shot" + std::to_string(count++) + ".png", 1, 24, 1, 0);
    }
    Screen s;
    const Image* shot = screenShot();
    if (!shot) return s;
    s.w = shot->width;
    s.h = shot->height;
    s.pixels.assign(shot->pixels, shot->pixels + shot->pixelCount);
    return s;
  }

  // Pixels of the rectangle with colour `inside`, and of the one-pixel frame around it with `outside`.
  static void expectRectangle(const Screen& s, int left, int top, int right, int bottom, uint32_t inside,
                              uint32_t outside) {
    int wrongInside = 0, wrongOutside = 0;
    for (int y = std::max(top - 1, 0); y <= std::min(bottom, s.h - 1); ++y)
      for (int x = std::max(left - 1, 0); x <= std::min(right, s.w - 1); ++x) {
        const bool in = x >= left && x < right && y >= top && y < bottom;
        if (in && s.at(x, y) != inside) ++wrongInside;
        if (!in && s.at(x, y) != outside) ++wrongOutside;
      }
    EXPECT_EQ(wrongInside, 0) << "first pixel " << std::hex << s.at(left, top);
    EXPECT_EQ(wrongOutside, 0) << "corner outside " << std::hex << s.at(std::max(left - 1, 0), std::max(top - 1, 0));
  }
};

}  // namespace vellum::test
