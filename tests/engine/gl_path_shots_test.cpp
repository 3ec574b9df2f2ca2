// The same game shot on both GL paths: VELLUM_GL=es makes the engine draw through OpenGL ES 3.0 (the
// web's WebGL2), and what the player sees must not change: the pictures of two headless runs match
// pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "image/image_io.h"
#include "support/game_builder.h"
#include "support/kept_environment.h"
#include "support/shot_picture.h"

namespace vellum::test {
namespace {

// A picture whose pixels come from a function of x and y, written with the engine's PNG writer.
template <typename Pixel>
std::string pathShotPicture(int w, int h, Pixel pixel) {
  Image* image = createImage(w, h, 32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image->pixels[y * w + x] = pixel(x, y);
  std::vector<uint8_t> bytes;
  SaveRequest png;
  EXPECT_TRUE(encodeImage(image, png, "picture.png", bytes));
  freeImage(image);
  return std::string(bytes.begin(), bytes.end());
}

// Behind, a sky; in front, a turned and stretched sprite with graded alpha (linear filtering,
// blending), a half-transparent copy and a blurred one (a filter pass).
const char* const kPathScene =
    "screen 320, 180, 320, 0\n"
    "sp 10, \"sky.png\", 0, 0\nsp_cxy 10, 0, 0\n"
    "sp 1, \"glass.png\", 0, 0\nsp_xy 1, 100, 90\nsp_wh 1, 2, 1\nsp_rz 1, 30\n"
    "sp 2, \"glass.png\", 0, 0\nsp_xy 2, 240, 60\nsp_a 2, 128\n"
    "sp 3, \"glass.png\", 0, 0\nsp_xy 3, 250, 140\nsp_blur 3, 3\n"
    "draw\n*wait\ndraw\nsleep 10\ngoto *wait\n";

class GlPathShots : public ::testing::Test {
 protected:
  void SetUp() override {
    writeScriptContainer(game, {{"script/0.txt", kPathScene}});
    game.write("sky.png", pathShotPicture(320, 180, [](int x, int y) {
                 return 0xFF000000u | static_cast<uint32_t>(x * 255 / 319) << 16 |
                        static_cast<uint32_t>(y * 255 / 179) << 8 | 0x60u;
               }));
    game.write("glass.png", pathShotPicture(64, 48, [](int x, int y) {
                 const auto alpha = static_cast<uint32_t>(x * 4);
                 return alpha << 24 | 0x00E02000u | static_cast<uint32_t>((x ^ y) & 8 ? 0xFF : 0x20);
               }));
    scratch.write("input.txt", "1500 shot scene\n1600 quit\n");
  }

  // Plays the scene on one path; the shot's path.
  std::filesystem::path shoot(const std::string& path) {
    KeptEnvironment keepPath("VELLUM_GL"), keepRuntime("XDG_RUNTIME_DIR");
    setenv("VELLUM_GL", path.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", scratch.path().c_str(), 1);
    const std::filesystem::path shots = scratch / ("shots-" + path);
    const ProcessResult result = runTool("vellum", "--headless --game " + game.path().string() + " --input " +
                                                      (scratch / "input.txt").string() + " --shots " + shots.string());
    EXPECT_EQ(result.exitCode, 0) << path << ": " << result.err;
    return shots / "scene.png";
  }

  TempFolder game, scratch;
};

TEST_F(GlPathShots, TheEsPathShowsWhatTheCorePathShows) {
  const ShotPicture core(shoot("core"));
  const ShotPicture es(shoot("es"));
  ASSERT_TRUE(core.loaded());
  ASSERT_TRUE(es.loaded());
  ASSERT_EQ(core.width(), es.width());
  ASSERT_EQ(core.height(), es.height());
  int differing = 0, most = 0;
  for (int y = 0; y < core.height(); ++y)
    for (int x = 0; x < core.width(); ++x) {
      const ShotRgb a = core.at(x, y), b = es.at(x, y);
      const int d = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
      differing += d != 0;
      most = std::max(most, d);
    }
  EXPECT_EQ(differing, 0) << "by up to " << most;
  // The scene itself: the sky's corners, and the sprites' red (not blue) over its green.
  EXPECT_GT(core.at(316, 4).r, 240);
  EXPECT_LT(core.at(2, 2).r, 16);
  EXPECT_GT(core.at(270, 150).r, 200);
  EXPECT_LT(core.at(270, 150).g, 100);
}

}  // namespace
}  // namespace vellum::test
