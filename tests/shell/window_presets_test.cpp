// The game's aspect, the aspect switch and the ten window-size presets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/display/screen_geometry.h"
#include "support/param_names.h"

namespace vellum {
namespace {

const std::string kSameSize = "\x28\xb5\xc8\xb1\xb6\x29";  // "(等倍)" in GBK

std::vector<GeoSize> sizes(const WindowPresets& p) {
  std::vector<GeoSize> out;
  for (const WindowPreset& preset : p) out.push_back({preset.width, preset.height});
  return out;
}

const std::vector<GeoSize> kFourThree = {{400, 300},  {640, 480},  {800, 600},   {960, 720},   {1024, 768},
                                         {1200, 900}, {1280, 960}, {1400, 1050}, {1440, 1080}, {1600, 1200}};
const std::vector<GeoSize> kSixteenNine = {{480, 270},   {640, 360},  {800, 450},  {960, 540},  {1024, 576},
                                           {1280, 720},  {1366, 768}, {1440, 810}, {1600, 900}, {1920, 1080}};
const std::vector<GeoSize> kThreeFour = {{300, 400},  {480, 640},  {600, 800},   {720, 960},   {768, 1024},
                                         {900, 1200}, {960, 1280}, {1050, 1400}, {1080, 1440}, {1200, 1600}};
const std::vector<GeoSize> kNineSixteen = {{270, 480},  {360, 640},  {450, 800},  {540, 960},  {576, 1024},
                                           {720, 1280}, {768, 1366}, {810, 1440}, {900, 1600}, {1080, 1920}};

struct PresetCase {
  int32_t gameW, gameH, screenAspect;
  const std::vector<GeoSize>* row;  // nullptr: the game size ten times
};

class PresetRows : public ::testing::TestWithParam<PresetCase> {};

TEST_P(PresetRows, FollowTheAspect) {
  const PresetCase& c = GetParam();
  const std::vector<GeoSize> expected = c.row ? *c.row : std::vector<GeoSize>(10, GeoSize{c.gameW, c.gameH});
  EXPECT_EQ(sizes(buildWindowPresets(c.gameW, c.gameH, c.screenAspect, 0)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PresetRows,
    ::testing::Values(PresetCase{1280, 720, 0, &kSixteenNine}, PresetCase{1280, 720, 1, &kFourThree},
                      PresetCase{1920, 1080, 0, &kSixteenNine}, PresetCase{800, 600, 0, &kFourThree},
                      PresetCase{800, 600, 1, &kFourThree}, PresetCase{600, 800, 0, &kThreeFour},
                      PresetCase{720, 1280, 0, &kNineSixteen}, PresetCase{720, 1280, 1, &kThreeFour},
                      PresetCase{800, 800, 0, nullptr}, PresetCase{1366, 768, 0, nullptr},
                      PresetCase{0, 600, 0, nullptr}, PresetCase{-16, 9, 0, nullptr}),
    test::namedBy([](const PresetCase& c) {
      return test::testNameOf(test::sizeText(c.gameW, c.gameH), "aspect", c.screenAspect);
    }));

TEST(PresetLabels, AreFourWideAndMarkTheOneToOneSize) {
  const WindowPresets p = buildWindowPresets(1280, 720, 0, 1280);
  EXPECT_EQ(p[0].label, " 480x 270");
  EXPECT_EQ(p[5].label, "1280x 720" + kSameSize);
  EXPECT_EQ(p[9].label, "1920x1080");
  for (int i = 0; i < 10; ++i) {
    if (i != 5) {
      EXPECT_EQ(p[static_cast<size_t>(i)].label.find(kSameSize), std::string::npos) << i;
    }
  }
}

TEST(PresetLabels, EveryPresetOfAnOddGameIsOneToOne) {
  const WindowPresets p = buildWindowPresets(1000, 700, 0, 1000);
  for (const WindowPreset& preset : p) EXPECT_EQ(preset.label, "1000x 700" + kSameSize);
}

TEST(PresetLabels, LongNumbersAreKeptWhole) {
  // Wider than the four columns (and than any fixed label buffer) with the mark appended.
  const WindowPresets p = buildWindowPresets(123456, 654321, 0, 123456);
  EXPECT_EQ(p[0].label, "123456x654321" + kSameSize);
  EXPECT_EQ(presetLabel(-2147483647 - 1, -1), "-2147483648x  -1");
}

TEST(Aspect, ReducesToLowestTerms) {
  EXPECT_EQ(reduceAspect(1280, 720), (AspectRatio{16, 9}));
  EXPECT_EQ(reduceAspect(1366, 768), (AspectRatio{683, 384}));
  EXPECT_EQ(reduceAspect(600, 800), (AspectRatio{3, 4}));
  EXPECT_EQ(reduceAspect(0, 800), (AspectRatio{}));
  EXPECT_EQ(reduceAspect(800, -600), (AspectRatio{}));
}

struct SwitchCase {
  int32_t gameW, gameH, switchable, stored;
  int32_t effective;   // ScreenAspect the set-up uses
  int32_t heightThen;  // the game height after the switch with that value
};

class AspectSwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(AspectSwitch, ChangesOnlyTheSwitchableShapes) {
  const SwitchCase& c = GetParam();
  const int32_t effective = effectiveScreenAspect(reduceAspect(c.gameW, c.gameH), c.switchable, c.stored);
  EXPECT_EQ(effective, c.effective);
  EXPECT_EQ(switchedGameHeight(c.gameW, c.gameH, effective), c.heightThen);
}

INSTANTIATE_TEST_SUITE_P(Table, AspectSwitch,
                         ::testing::Values(
                             // 16:9 and 9:16 keep the stored value and switch to 4:3 / 3:4.
                             SwitchCase{1280, 720, 1, 0, 0, 720}, SwitchCase{1280, 720, 1, 1, 1, 960},
                             SwitchCase{720, 1280, 1, 1, 1, 960}, SwitchCase{720, 1280, 1, 0, 0, 1280},
                             // Every other game is held at 1 and keeps its coordinate space.
                             SwitchCase{1024, 768, 1, 0, 1, 768}, SwitchCase{600, 800, 1, 0, 1, 800},
                             SwitchCase{800, 800, 1, 0, 1, 800}, SwitchCase{1366, 768, 1, 0, 1, 768},
                             // Without the switch the stored value stands.
                             SwitchCase{1024, 768, 0, 0, 0, 768}, SwitchCase{1280, 720, 0, 1, 1, 960}),
                         test::namedBy([](const SwitchCase& c) {
                           return test::testNameOf(test::sizeText(c.gameW, c.gameH), "switch", c.switchable, "stored",
                                                   c.stored);
                         }));

struct WindowHeightCase {
  int32_t windowW, gameW, gameH, screenAspect, expected;
};

class WindowHeight : public ::testing::TestWithParam<WindowHeightCase> {};

TEST_P(WindowHeight, FollowsTheWidthByTheAspect) {
  const WindowHeightCase& c = GetParam();
  EXPECT_EQ(windowHeightForWidth(c.windowW, c.gameW, c.gameH, c.screenAspect), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WindowHeight,
                         ::testing::Values(WindowHeightCase{1920, 1280, 720, 0, 1080},
                                           WindowHeightCase{1920, 1280, 720, 1, 1440},
                                           WindowHeightCase{1024, 1024, 768, 0, 768},
                                           WindowHeightCase{1024, 1024, 768, 1, 768},
                                           WindowHeightCase{720, 720, 1280, 0, 1280},
                                           WindowHeightCase{720, 720, 1280, 1, 960},
                                           WindowHeightCase{600, 600, 800, 0, 800},
                                           WindowHeightCase{1000, 1000, 700, 0, 700},
                                           WindowHeightCase{1001, 1000, 700, 1, 700},
                                           // No game width: no height rather than a division by zero.
                                           WindowHeightCase{1000, 0, 700, 0, 0}),
                         test::namedBy([](const WindowHeightCase& c) {
                           return test::testNameOf("window", c.windowW, "game", test::sizeText(c.gameW, c.gameH),
                                                   "aspect", c.screenAspect);
                         }));

}  // namespace
}  // namespace vellum
