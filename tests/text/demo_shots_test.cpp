// The demo's playthrough with --shots: each picture it leaves shows what that moment of the game
// should. The software renderer's output differs a little between machines, so the checks are
// properties with a tolerance (bright pixels where the buttons and the text are, the colour of an
// area), not exact pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "image/image_io.h"
#include "support/game_builder.h"

namespace vellum::test {
namespace {

struct Rgb {
  int r, g, b;
  int luminance() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

// A shot decoded with the engine's own PNG reader.
class Shot {
 public:
  explicit Shot(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    image_ = bytes.empty() ? nullptr : loadImage(bytes.data(), bytes.size());
  }
  ~Shot() { freeImage(image_); }
  Shot(const Shot&) = delete;
  Shot& operator=(const Shot&) = delete;

  bool loaded() const { return image_ != nullptr; }
  int width() const { return image_->width; }
  int height() const { return image_->height; }
  Rgb at(int x, int y) const {
    const uint32_t p = image_->pixels[static_cast<size_t>(y) * static_cast<size_t>(image_->width) + static_cast<size_t>(x)];
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
  }
  // The mean colour of a rectangle.
  Rgb mean(int x0, int y0, int x1, int y1) const {
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x, ++n) {
        const Rgb c = at(x, y);
        r += c.r;
        g += c.g;
        b += c.b;
      }
    }
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
  }
  // Pixels of a rectangle brighter than the threshold.
  int brightPixels(int x0, int y0, int x1, int y1, int threshold) const {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) n += at(x, y).luminance() > threshold ? 1 : 0;
    }
    return n;
  }

 private:
  Image* image_ = nullptr;
};

class DemoShots : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new TempFolder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = runtime ? runtime : "";
    // The single-instance lock lives in a folder of this suite's own.
    setenv("XDG_RUNTIME_DIR", (*folder / "run").c_str(), 1);
    std::filesystem::create_directories(*folder / "run");
    const std::string pack = "bash " + std::string(VELLUM_SOURCE_DIR) + "/scripts/pack-demo.sh " + VELLUM_BINARY_DIR +
                             " " + (*folder / "game").string() + " >/dev/null 2>&1";
    packed = std::system(pack.c_str()) == 0;
    if (packed) {
      // The shots folder does not exist yet: the engine makes it.
      run = new ProcessResult(runTool("vellum", "--headless --game " + (*folder / "game").string() + " --input " +
                                                    VELLUM_SOURCE_DIR + "/examples/demo/playthrough.txt --shots " +
                                                    (*folder / "shots/demo").string()));
    }
    if (runtime) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
  }
  static void TearDownTestSuite() {
    delete run;
    delete folder;
    run = nullptr;
    folder = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(packed);
    ASSERT_NE(run, nullptr);
  }
  static std::filesystem::path shot(const std::string& name) { return *folder / "shots/demo" / (name + ".png"); }

  static TempFolder* folder;
  static ProcessResult* run;
  static bool packed;
};

TempFolder* DemoShots::folder = nullptr;
ProcessResult* DemoShots::run = nullptr;
bool DemoShots::packed = false;

TEST_F(DemoShots, ThePlaythroughEndsCleanlyWithEveryShotTaken) {
  EXPECT_EQ(run->exitCode, 0);
  EXPECT_EQ(run->err, "");
  for (const char* name : {"title", "first-page", "choice", "end"}) {
    Shot picture(shot(name));
    ASSERT_TRUE(picture.loaded()) << name;
    // What the player sees: the game's 1280x720 picture.
    EXPECT_EQ(picture.width(), 1280) << name;
    EXPECT_EQ(picture.height(), 720) << name;
  }
}

TEST_F(DemoShots, TheTitleShowsItsTwoButtonsWhereTheScriptPutsThem) {
  Shot title(shot("title"));
  ASSERT_TRUE(title.loaded());
  // The begin (640, 440) and leave (640, 560) plates are light, 240x96 around their centres (their
  // icons in the middle left out); the ground beside them is the dark blue title picture.
  for (const int y : {440, 560}) {
    EXPECT_GT(title.mean(530, y - 30, 600, y + 30).luminance(), 160) << "plate at y " << y;
    EXPECT_GT(title.mean(680, y - 30, 750, y + 30).luminance(), 160) << "plate at y " << y;
    EXPECT_LT(title.mean(300, y - 30, 450, y + 30).luminance(), 110) << "ground at y " << y;
  }
  // Nothing between them.
  EXPECT_LT(title.mean(560, 496, 720, 508).luminance(), 110);
}

TEST_F(DemoShots, TheFirstPageHasItsTextInsideTheMessageWindow) {
  Shot page(shot("first-page"));
  ASSERT_TRUE(page.loaded());
  // Lines from (140, 555) in 30-pixel type on the dark window (100..1180, 510..700).
  EXPECT_GT(page.brightPixels(140, 555, 1140, 690, 200), 3000);
  EXPECT_GT(page.brightPixels(140, 555, 640, 590, 200), 500) << "the first line";
  // Left of where the text begins, inside the window, nothing bright.
  EXPECT_LT(page.brightPixels(110, 560, 136, 690, 200), 20);
  // The window darkens the harbour behind it.
  EXPECT_LT(page.mean(1100, 600, 1170, 690).luminance(), 110);
}

TEST_F(DemoShots, TheChoiceShowsBothButtons) {
  Shot choice(shot("choice"));
  ASSERT_TRUE(choice.loaded());
  // The camera has zoomed in by then: the stay plate (around (400, 260)) and the walk plate
  // (around (400, 420)) lie at x 176..504; their left ends, clear of the icons, are warm white
  // against the blue morning sky.
  for (const auto& [top, bottom] : {std::pair{220, 284}, std::pair{396, 460}}) {
    const Rgb plate = choice.mean(186, top, 250, bottom);
    EXPECT_GT(plate.luminance(), 160) << "plate at y " << top;
    EXPECT_GT(plate.r, plate.b) << "plate at y " << top;
  }
  const Rgb sky = choice.mean(20, 200, 150, 320);
  EXPECT_GT(sky.b, sky.r + 10);
}

TEST_F(DemoShots, TheEndIsThePierWithTheLastLines) {
  Shot end(shot("end"));
  ASSERT_TRUE(end.loaded());
  // The far end of the pier: the lighthouse post against the sky, right of the message window.
  EXPECT_LT(end.mean(1198, 320, 1212, 500).luminance(), 90);
  EXPECT_GT(end.mean(1100, 320, 1160, 500).luminance(), 150);
  EXPECT_GT(end.brightPixels(140, 555, 1140, 600, 200), 1000) << "the first of the last lines";
}

}  // namespace
}  // namespace vellum::test
