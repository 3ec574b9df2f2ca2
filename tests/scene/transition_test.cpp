// Transitions drawn by the real renderer and read back: frames of every named transition at a
// known progress, the fade, the mosaic, both rule versions, motion blur, and the effect command's
// preparation, refusals, cancelling and quitting.
#include <algorithm>
#include <chrono>

#include "base/clock.h"
#include "platform/message_queue.h"
#include "render/renderer_state.h"
#include "scene/easing.h"
#include "scene/effect_commands.h"
#include "scene/transition_scenes.h"
#include "script/expression.h"
#include "script/read_mode.h"
#include "shell/input/input_replay.h"
#include "shell/display/shell_window_state.h"
#include "sprite_fixture.h"

namespace vellum::test {
namespace {

// GBK " 不存在的演出" and " 不能读入".
const std::string kNoSuchTransition = " \xb2\xbb\xb4\xe6\xd4\xda\xb5\xc4\xd1\xdd\xb3\xf6";
const std::string kCannotLoad = " \xb2\xbb\xc4\xdc\xb6\xc1\xc8\xeb";

class Transitions : public SpriteScreenTest {
 protected:
  void SetUp() override {
    SpriteScreenTest::SetUp();
    if (IsSkipped()) return;
    settings().effectCancel = 0;
    writePicture("white.png", kGameW, kGameH, 0xFFFFFFFF);
  }

  // Before: the black screen. After: a white picture over all of it, not yet committed.
  void blackToWhite() { script("draw\nsp 1, \"white.png\", 0, 0\nsp_xy 1, 160, 120\n"); }

  // One frame of a scene mode at (elapsed, duration, easing), read back.
  Screen frame(int mode, int elapsed, int duration, int easing = 0) {
    runFrame(mode, elapsed, duration, easing);
    return capture();
  }

  static int grey(const Screen& s, int x, int y) { return static_cast<int>(s.at(x, y) & 0xFF); }

  static double fractionAtLeast(const Screen& s, int threshold) {
    int count = 0;
    for (int y = 0; y < s.h; ++y)
      for (int x = 0; x < s.w; ++x) count += grey(s, x, y) >= threshold;
    return static_cast<double>(count) / (s.w * s.h);
  }
};

// Named transitions at a quarter of the way on a 320 x 240 screen, black to white. The measure
// counts pixels at least `threshold` grey: 128 for copies (pixels are black or white), 9 for what
// a fading picture touched, 248 for what shows the after picture whole. `in` must reach it and
// `out` must not.
struct NamedCase {
  const char* name;
  int threshold;
  double fraction;
  int inX, inY, outX, outY;
};

constexpr int kCopy = 128, kTouched = 9, kWhole = 248;

const NamedCase kNamedCases[] = {
    {"DirectionUp", kCopy, 0.25, 160, 235, 160, 175},
    {"DirectionDown", kCopy, 0.25, 160, 5, 160, 65},
    {"DirectionLeft", kCopy, 0.25, 315, 120, 235, 120},
    {"DirectionRight", kCopy, 0.25, 5, 120, 85, 120},
    {"DirectionLeftUp", kCopy, 0.125, 315, 235, 5, 5},
    {"DirectionRightUp", kCopy, 0.125, 5, 235, 315, 5},
    {"DirectionLeftDown", kCopy, 0.125, 315, 5, 5, 235},
    {"DirectionRightDown", kCopy, 0.125, 5, 5, 315, 235},
    {"IrisInLeftUp", kCopy, 0.0625, 315, 235, 235, 175},
    {"IrisInRightUp", kCopy, 0.0625, 5, 235, 85, 175},
    {"IrisInLeftDown", kCopy, 0.0625, 315, 5, 235, 65},
    {"IrisInRightDown", kCopy, 0.0625, 5, 5, 85, 65},
    {"IrisOutLeftUp", kCopy, 0.4375, 315, 235, 235, 175},
    {"IrisOutRightUp", kCopy, 0.4375, 5, 235, 85, 175},
    {"IrisOutLeftDown", kCopy, 0.4375, 315, 5, 235, 65},
    {"IrisOutRightDown", kCopy, 0.4375, 5, 5, 85, 65},
    {"IrisInUpDown", kCopy, 0.25, 160, 5, 160, 120},
    {"IrisOutUpDown", kCopy, 0.25, 160, 120, 160, 85},
    {"IrisInLeftRight", kCopy, 0.25, 5, 120, 160, 120},
    {"IrisOutLeftRight", kCopy, 0.25, 160, 120, 115, 120},
    {"SquareIn", kCopy, 0.4375, 5, 5, 160, 120},
    {"SquareOut", kCopy, 0.0625, 160, 120, 115, 85},
    {"SlideInUp", kCopy, 0.25, 160, 235, 160, 175},
    {"SlideInDown", kCopy, 0.25, 160, 5, 160, 65},
    {"SlideInLeft", kCopy, 0.25, 315, 120, 235, 120},
    {"SlideInRight", kCopy, 0.25, 5, 120, 85, 120},
    {"SlideOutUp", kCopy, 0.25, 160, 235, 160, 175},
    {"SlideOutDown", kCopy, 0.25, 160, 5, 160, 65},
    {"SlideOutLeft", kCopy, 0.25, 315, 120, 235, 120},
    {"SlideOutRight", kCopy, 0.25, 5, 120, 85, 120},
    {"SlideInLeftUp", kCopy, 0.0625, 315, 235, 235, 175},
    {"SlideInRightUp", kCopy, 0.0625, 5, 235, 85, 175},
    {"SlideInLeftDown", kCopy, 0.0625, 315, 5, 235, 65},
    {"SlideInRightDown", kCopy, 0.0625, 5, 5, 85, 65},
    {"SlideOutLeftUp", kCopy, 0.4375, 315, 235, 235, 175},
    {"SlideOutRightUp", kCopy, 0.4375, 5, 235, 85, 175},
    {"SlideOutLeftDown", kCopy, 0.4375, 315, 5, 235, 65},
    {"SlideOutRightDown", kCopy, 0.4375, 5, 5, 85, 65},
    {"SlideInUpDown", kCopy, 0.25, 160, 5, 160, 120},
    {"SlideOutUpDown", kCopy, 0.25, 160, 120, 160, 85},
    {"SlideInLeftRight", kCopy, 0.25, 5, 120, 160, 120},
    {"SlideOutLeftRight", kCopy, 0.25, 160, 120, 115, 120},
    {"ScrollUp", kCopy, 0.25, 160, 235, 160, 175},
    {"ScrollDown", kCopy, 0.25, 160, 5, 160, 65},
    {"ScrollLeft", kCopy, 0.25, 315, 120, 235, 120},
    {"ScrollRight", kCopy, 0.25, 5, 120, 85, 120},
    // 20 strips of 12 rows (16 columns), a quarter of each changed from one side.
    {"ShutterUp", kCopy, 0.25, 160, 11, 160, 8},
    {"ShutterDown", kCopy, 0.25, 160, 12, 160, 15},
    {"ShutterLeft", kCopy, 0.25, 15, 120, 11, 120},
    {"ShutterRight", kCopy, 0.25, 16, 120, 20, 120},
    // Strip 0 leads by 6 rows (8 columns); the later strips follow less far.
    {"CurtainUp", kCopy, 37.0 / 240, 160, 239, 160, 233},
    {"CurtainDown", kCopy, 37.0 / 240, 160, 0, 160, 6},
    {"CurtainLeft", kCopy, 48.0 / 320, 319, 120, 311, 120},
    {"CurtainRight", kCopy, 48.0 / 320, 0, 120, 8, 120},
    {"FadeSlideInUp", kTouched, 0.25, 160, 235, 160, 175},
    {"FadeSlideInDown", kTouched, 0.25, 160, 5, 160, 65},
    {"FadeSlideInLeft", kTouched, 0.25, 315, 120, 235, 120},
    {"FadeSlideInRight", kTouched, 0.25, 5, 120, 85, 120},
    {"FadeSlideOutUp", kWhole, 0.25, 160, 235, 160, 175},
    {"FadeSlideOutDown", kWhole, 0.25, 160, 5, 160, 65},
    {"FadeSlideOutLeft", kWhole, 0.25, 315, 120, 235, 120},
    {"FadeSlideOutRight", kWhole, 0.25, 5, 120, 85, 120},
    {"FadeSlideInLeftUp", kTouched, 0.0625, 315, 235, 235, 175},
    {"FadeSlideInRightUp", kTouched, 0.0625, 5, 235, 85, 175},
    {"FadeSlideInLeftDown", kTouched, 0.0625, 315, 5, 235, 65},
    {"FadeSlideInRightDown", kTouched, 0.0625, 5, 5, 85, 65},
    {"FadeSlideOutLeftUp", kWhole, 0.4375, 315, 235, 235, 175},
    {"FadeSlideOutRightUp", kWhole, 0.4375, 5, 235, 85, 175},
    {"FadeSlideOutLeftDown", kWhole, 0.4375, 315, 5, 235, 65},
    {"FadeSlideOutRightDown", kWhole, 0.4375, 5, 5, 85, 65},
    {"FadeScrollUp", kTouched, 0.25, 160, 235, 160, 175},
    {"FadeScrollDown", kTouched, 0.25, 160, 5, 160, 65},
    {"FadeScrollLeft", kTouched, 0.25, 315, 120, 235, 120},
    {"FadeScrollRight", kTouched, 0.25, 5, 120, 85, 120},
};

TEST_F(Transitions, EveryNamedTransitionCoversItsAreaFromItsEdge) {
  ASSERT_EQ(sizeof(kNamedCases) / sizeof(kNamedCases[0]), static_cast<size_t>(namedTransitionCount()));
  blackToWhite();
  for (const NamedCase& c : kNamedCases) {
    SCOPED_TRACE(c.name);
    const int32_t index = findNamedTransition(c.name);
    ASSERT_GE(index, 0);
    transitionState().selectedNamed = index;
    // The first frame is the before picture.
    EXPECT_EQ(fractionAtLeast(frame(2, 0, 400), 9), 0.0);
    const Screen s = frame(2, 100, 400);
    EXPECT_NEAR(fractionAtLeast(s, c.threshold), c.fraction, 0.01);
    EXPECT_GE(grey(s, c.inX, c.inY), c.threshold);
    EXPECT_LT(grey(s, c.outX, c.outY), c.threshold);
  }
}

TEST_F(Transitions, NamesAreLookedUpExactly) {
  script("int a\nint b\nint c\nexistStretch \"SquareOut\", %a\nexistStretch \"squareout\", %b\nexistStretch \"\", %c\n");
  EXPECT_EQ(*findIntVariable("%a"), 1);
  EXPECT_EQ(*findIntVariable("%b"), 0);
  EXPECT_EQ(*findIntVariable("%c"), 0);
  for (int32_t i = 0; i < namedTransitionCount(); ++i) EXPECT_EQ(findNamedTransition(namedTransitionName(i)), i);
}

TEST_F(Transitions, EveryTransitionEndsInTheAfterPicture) {
  writePicture("rule.png", kGameW, kGameH, [](int x, int) { return 0xFF000000u | 0x010101u * static_cast<uint32_t>(x * 255 / 319); });
  for (const char* line : {"effect 0, 30, 0, \"\", 0", "effect 1, 30, 0, \"\", 0", "effect 2, 30, 0, \"ShutterUp\", 0",
                           "effect 3, 30, 0, \"rule.png\", 16", "effect 4, 30, 0, \"\", 16", "effect 1, 0, 0, \"\", 0",
                           "effect 2, 30, 0, \"FadeScrollLeft\", 0", "effect 4, 30, -9, \"\", 300"}) {
    SCOPED_TRACE(line);
    script("sp_d 1\ndraw\n");
    blackToWhite();
    script(std::string(line) + "\n");
    expectRectangle(capture(), 0, 0, kGameW, kGameH, 0xFFFFFF, 0xFFFFFF);
    EXPECT_EQ(sprite(1).pending, 0u);
    EXPECT_EQ(shellWindow().transitionRunning, 0);
  }
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(Transitions, BadInputIsReportedAndTheSceneStillCommits) {
  writePicture("colour.png", kGameW, kGameH, 0xFF20A040);
  struct Bad {
    const char* line;
    std::string report;
  };
  for (const Bad& b : {Bad{"effect 2, 30, 0, \" \xb2\xbb\xb4\xe6\", 0", kNoSuchTransition},
                       Bad{"effect 3, 30, 0, \"missing.png\", 0", "missing.png" + kCannotLoad},
                       Bad{"effect 3, 30, 0, \"colour.png\", 0", "colour.png rule picture is not greyscale"},
                       Bad{"effect 7, 30, 0, \"\", 0", "7 effect type outside 0-4"},
                       Bad{"effect 1, 30, 21, \"\", 0", "21 easing outside -20-20"},
                       Bad{"effect -1, 30, 0, \"\", 0", "-1 effect type outside 0-4"}}) {
    SCOPED_TRACE(b.line);
    script("sp_d 1\ndraw\n");
    blackToWhite();
    reports.clear();
    script(std::string(b.line) + "\n");
    EXPECT_TRUE(reports.anyBoxContains(b.report));
    expectRectangle(capture(), 0, 0, kGameW, kGameH, 0xFFFFFF, 0xFFFFFF);
  }
}

TEST_F(Transitions, ARulePictureOfAnotherSizeIsStretchedToTheScreen) {
  writePicture("small.png", 32, 24, [](int x, int) { return 0xFF000000u | 0x010101u * static_cast<uint32_t>(x * 8); });
  blackToWhite();
  transitionState().softness = 0;
  ASSERT_TRUE(prepareRule("small.png"));
  EXPECT_TRUE(reports.boxes.empty());
  renderer().ruleShaderVersion = false;
  const Screen s = frame(3, 128, 255);  // progress 128: grey values below it have changed
  EXPECT_EQ(grey(s, 20, 100), 255);
  EXPECT_EQ(grey(s, 300, 100), 0);
}

TEST_F(Transitions, FadeBlendsByTheProgress) {
  blackToWhite();
  EXPECT_NEAR(grey(frame(1, 100, 400), 160, 120), 63, 1);
  EXPECT_NEAR(grey(frame(1, 100, 400, 2), 10, 10), 111, 1);  // quad OUT: 0.4375
  EXPECT_EQ(grey(frame(1, 0, 400), 160, 120), 0);
}

TEST_F(Transitions, MosaicBlocksGrowToSoftnessAtHalfTime) {
  // A before picture with detail in every pixel.
  writePicture("detail.png", kGameW, kGameH,
               [](int x, int y) { return 0xFF000000u | (static_cast<uint32_t>(x) << 16) | (static_cast<uint32_t>(y) << 8); });
  script("sp 2, \"detail.png\", 0, 0\nsp_xy 2, 160, 120\ndraw\n");
  blackToWhite();
  transitionState().softness = (16 - 1) & 0x1FF;
  const Screen s = frame(4, 200, 400);
  int wrong = 0;
  for (int y = 0; y < 224; ++y)
    for (int x = 0; x < 320; ++x) wrong += s.at(x, y) != s.at(x - x % 16, y - y % 16);
  EXPECT_EQ(wrong, 0);
  EXPECT_NE(s.at(0, 0), s.at(16, 0));  // the before picture, reduced
  // Near the start the blocks are single pixels again.
  const Screen start = frame(4, 1, 400);
  EXPECT_NE(start.at(0, 0), start.at(1, 0));
  // An overshooting curve never makes blocks below one pixel.
  const Screen overshoot = frame(4, 30, 400, -9);
  EXPECT_NE(overshoot.at(0, 0), overshoot.at(1, 0));
}

// Every frame of a transition, one after another as the effect command draws them: the test's
// clock moves one step each time the frame loop takes its messages, and a replayed shot there
// reads back the frame just drawn. Before is one colour, after another; the channels of the two
// run in both directions, so a pixel between them is a blend of the two by one amount.
class TransitionFrames : public Transitions {
 protected:
  static constexpr uint32_t kBefore = 0x3060C0, kAfter = 0xD0A040;
  static constexpr uint32_t kStep = 16;  // about 60 frames a second

  struct Shot {
    int elapsed;
    Screen screen;
  };

  void SetUp() override {
    Transitions::SetUp();
    if (IsSkipped()) return;
    writePicture("before.png", kGameW, kGameH, 0xFF000000u | kBefore);
    writePicture("after.png", kGameW, kGameH, 0xFF000000u | kAfter);
    // A diagonal rule: the top-left corner changes first.
    writePicture("rule.png", kGameW, kGameH,
                 [](int x, int y) { return 0xFF000000u | 0x010101u * static_cast<uint32_t>((x + y) * 255 / 558); });
    running = this;
    fakeNow = 50000;
    setTickSource(&fakeClock);
    setReplayShotTaker(&takeShot);
    // Each scene procedure notes the elapsed time of the frame it draws.
    SceneCallbacks& c = sceneCallbacks();
    for (size_t mode = 1; mode <= 4; ++mode) c.transitionScenes[mode] = noting(c.transitionScenes[mode]);
    c.ruleSceneCpu = noting(c.ruleSceneCpu);
    // The commit at the end shows the finished scene, no transition frame.
    c.commitPending = [commit = c.commitPending] {
      running->drawnElapsed = -1;
      if (commit) commit();
    };
  }
  void TearDown() override {
    setReplayShotTaker(nullptr);
    resetInputReplay();
    setTickSource(nullptr);
    running = nullptr;
    Transitions::TearDown();
  }

  static std::function<void(int, int, int)> noting(std::function<void(int, int, int)> scene) {
    return [scene](int elapsed, int duration, int easing) {
      running->drawnElapsed = elapsed;
      scene(elapsed, duration, easing);
    };
  }
  static void takeShot(const std::string&) {
    TransitionFrames& t = *running;
    if (t.drawnElapsed >= 0) t.shots.push_back({t.drawnElapsed, t.capture()});
    t.drawnElapsed = -1;
    fakeNow += kStep;
  }

  // The frames the effect line draws, from the before picture to the after one.
  std::vector<Shot> frames(const std::string& line) {
    script("sp_d 1\nsp 1, \"before.png\", 0, 0\nsp_xy 1, 160, 120\ndraw\n"
           "sp 1, \"after.png\", 0, 0\nsp_xy 1, 160, 120\n");
    std::string lines;
    for (uint32_t at = 0; at <= 4000; at += kStep) lines += std::to_string(at) + " shot frame\n";
    std::vector<ReplayedEvent> events;
    std::string error;
    EXPECT_TRUE(parseInputReplay(lines, events, error)) << error;
    startInputReplay(std::move(events), fakeNow);
    shots.clear();
    drawnElapsed = -1;
    script(line + "\n");
    resetInputReplay();
    setReplayShotTaker(&takeShot);
    expectRectangle(capture(), 0, 0, kGameW, kGameH, kAfter, kAfter);
    return shots;
  }

  static int channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }
  // How far a pixel has gone from the before colour to the after one (by its red channel).
  static double progressOf(uint32_t c) {
    return static_cast<double>(channel(c, 16) - channel(kBefore, 16)) / (channel(kAfter, 16) - channel(kBefore, 16));
  }
  // Pixels that are not a blend of the two pictures: past either of them, or with channels that
  // went different ways.
  static int notBetween(const Screen& s) {
    int count = 0;
    for (uint32_t c : s.pixels) {
      const double f = progressOf(c);
      bool off = f < -0.02 || f > 1.02;
      for (int shift : {8, 0}) {
        const double expected = channel(kBefore, shift) + f * (channel(kAfter, shift) - channel(kBefore, shift));
        off = off || std::abs(channel(c, shift) - expected) > 3;
      }
      count += off;
    }
    return count;
  }

  static inline TransitionFrames* running = nullptr;
  int drawnElapsed = -1;
  std::vector<Shot> shots;
};

// Back and elastic curves in their four forms leave the 0 ... 1 range: back OUT past 1 near the
// end, back IN below 0 near the start, the IN-OUT and OUT-IN forms both ways, elastic on both sides.
constexpr int kOvershooting[] = {9, -9, 19, -19, 8, -8, 18, -18};

TEST_F(TransitionFrames, EveryFadeFrameFollowsTheCurveHeldBetweenTheTwoPictures) {
  for (int easing : kOvershooting) {
    SCOPED_TRACE(testing::Message() << "easing " << easing);
    const std::vector<Shot> shots = frames("effect 1, 400, " + std::to_string(easing) + ", \"\", 0");
    ASSERT_GE(shots.size(), 24u);
    int offCurve = 0, outside = 0;
    for (const Shot& shot : shots) {
      const double wanted = std::clamp(ease(easing, static_cast<float>(shot.elapsed) / 402.0f, 0, 1), 0.0f, 1.0f);
      offCurve += std::abs(progressOf(shot.screen.at(160, 120)) - wanted) > 0.02;
      outside += notBetween(shot.screen) > 0;
    }
    EXPECT_EQ(offCurve, 0);
    EXPECT_EQ(outside, 0);
  }
}

// The rule, the mosaic and the named transitions. The mosaic of a picture of one colour is that
// colour everywhere, in the frame where the after picture takes over too. The fading named ones
// also show the picture whose alpha is past its end whole where it covers the middle of the
// screen: the after picture from 0.4 of the way under back OUT (In slides and scrolls), the
// before one until 0.6 under back IN (Out slides), while their positions overshoot by at most a
// tenth of the screen.
TEST_F(TransitionFrames, EveryFrameOfEveryTypeStaysBetweenTheTwoPictures) {
  struct Run {
    std::string line;
    bool fadingIn = false, fadingOut = false, oneColour = false;
  };
  std::vector<Run> runs;
  for (int easing : {9, -19, 8, 0}) {
    const std::string e = std::to_string(easing);
    runs.push_back({"effect 3, 120, " + e + ", \"rule.png\", 32"});
    runs.push_back({"effect 4, 120, " + e + ", \"\", 24", false, false, true});
  }
  for (int32_t i = 0; i < namedTransitionCount(); ++i) {
    const std::string name = namedTransitionName(i);
    const bool out = name.rfind("FadeSlideOut", 0) == 0, in = !out && name.rfind("Fade", 0) == 0;
    runs.push_back({"effect 2, 120, 9, \"" + name + "\", 0", in});
    runs.push_back({"effect 2, 120, -9, \"" + name + "\", 0", false, out});
  }
  for (const Run& run : runs) {
    SCOPED_TRACE(run.line);
    const std::vector<Shot> shots = frames(run.line);
    ASSERT_GE(shots.size(), 7u);
    int outside = 0, notWhole = 0, mixed = 0;
    for (const Shot& shot : shots) {
      outside += notBetween(shot.screen) > 0;
      if (run.oneColour)
        mixed += std::any_of(shot.screen.pixels.begin(), shot.screen.pixels.end(),
                             [&](uint32_t c) { return ((c ^ shot.screen.pixels[0]) & 0xFFFFFF) != 0; });
      const double t = shot.elapsed / 122.0, middle = progressOf(shot.screen.at(160, 120));
      if (run.fadingIn && t >= 0.4) notWhole += middle < 0.98;
      if (run.fadingOut && t <= 0.6) notWhole += middle > 0.02;
    }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(notWhole, 0);
    EXPECT_EQ(mixed, 0);
  }
}

class RuleVersions : public Transitions {
 protected:
  void SetUp() override {
    Transitions::SetUp();
    if (IsSkipped()) return;
    if (!renderer().shaders[kMaskFadeShader]) GTEST_SKIP() << "no pixel shaders";
    // Grey value x in column x (255 from column 255 on).
    writePicture("rule.png", kGameW, kGameH, [](int x, int) { return 0xFF000000u | 0x010101u * static_cast<uint32_t>(std::min(x, 255)); });
    blackToWhite();
    ASSERT_TRUE(prepareRule("rule.png"));
  }
  Screen version(bool shader, int elapsed, int duration, int easing) {
    renderer().ruleShaderVersion = shader;
    return frame(3, elapsed, duration, easing);
  }
};

// Softness values and moments where the progress is a whole number, so both versions see the same.
TEST_F(RuleVersions, ShaderAndCpuAgreeAndFollowTheTable) {
  struct Moment {
    int softness, elapsed, duration, easing;
  };
  for (const Moment& m : {Moment{64, 160, 319, 0}, Moment{0, 100, 255, 0}, Moment{255, 255, 510, 0},
                          Moment{16, 270, 542, 0}, Moment{511, 0, 766, 0}, Moment{32, 100, 287, 0}}) {
    SCOPED_TRACE(testing::Message() << "softness " << m.softness << " at " << m.elapsed << "/" << m.duration);
    transitionState().softness = m.softness;
    const Screen cpu = version(false, m.elapsed, m.duration, m.easing);
    const Screen shader = version(true, m.elapsed, m.duration, m.easing);
    const int pos = (m.softness + 255) * m.elapsed / m.duration;
    int differ = 0, offTable = 0;
    for (int x = 0; x < kGameW; ++x) {
      differ += std::abs(grey(cpu, x, 50) - grey(shader, x, 50)) > 1;
      offTable += std::abs(grey(cpu, x, 50) - ruleAlpha32(m.softness, pos, std::min(x, 255))) > 1;
    }
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(offTable, 0);
  }
}

TEST_F(RuleVersions, SoftnessZeroIsAHardEdgeInBothVersions) {
  transitionState().softness = 0;
  for (bool shader : {false, true}) {
    const Screen s = version(shader, 100, 255, 0);
    EXPECT_EQ(grey(s, 99, 10), 255) << shader;
    EXPECT_EQ(grey(s, 100, 10), 0) << shader;
    EXPECT_EQ(grey(version(shader, 0, 255, 0), 0, 10), 0) << shader;  // first frame: before
  }
}

TEST_F(RuleVersions, OvershootingEasingsStayInsideTheTables) {
  for (int easing : {-9, 9, 18, -18, 19, -19, -8, 8}) {
    for (int softness : {0, 1, 511}) {
      transitionState().softness = softness;
      for (int elapsed : {1, 50, 130, 255, 399}) version(false, elapsed, 400, easing);
    }
  }
  SUCCEED();
}

TEST_F(Transitions, MotionBlurLeavesATrail) {
  script("sc_mb 1, 128\ndraw\nsp 1, \"white.png\", 0, 0\nsp_xy 1, 160, 120\ndraw\n");
  const int first = grey(capture(), 160, 120);
  script("draw\n");
  const int second = grey(capture(), 160, 120);
  EXPECT_NEAR(first, 128, 2);
  EXPECT_NEAR(second, 191, 2);
  script("sc_mb 0, 0\ndraw\n");
  EXPECT_EQ(grey(capture(), 160, 120), 255);
}

// The effect command against the player and the system.
class EffectLoop : public Transitions {
 protected:
  double runTimed(const std::string& line) {
    const auto start = std::chrono::steady_clock::now();
    script(line + "\n");
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
};

TEST_F(EffectLoop, EnterCtrlAClickOrTheWheelEndEarlyOnlyWithEffectCancel) {
  for (const char* input : {"0 keydown 13\n", "0 keydown 17\n", "0 press left\n0 release left\n", "0 wheel -1\n"}) {
    SCOPED_TRACE(input);
    settings().effectCancel = 1;
    script("sp_d 1\ndraw\n");
    blackToWhite();
    replay(input);
    EXPECT_LT(runTimed("effect 1, 5000, 0, \"\", 0"), 2500);
    expectRectangle(capture(), 0, 0, kGameW, kGameH, 0xFFFFFF, 0xFFFFFF);
  }
  settings().effectCancel = 0;
  replay("0 keydown 13\n0 press left\n0 release left\n");
  EXPECT_GE(runTimed("effect 1, 300, 0, \"\", 0"), 300);
}

TEST_F(EffectLoop, SkipModeOnlyCommits) {
  blackToWhite();
  readMode().skipActive = true;
  EXPECT_LT(runTimed("effect 1, 5000, 0, \"\", 0"), 2500);
  EXPECT_EQ(sprite(1).pending, 0u);
  readMode().skipActive = false;
}

TEST_F(EffectLoop, AQuitEndsTheTransitionAndTheSceneIsCommitted) {
  blackToWhite();
  WindowMessage quit;
  quit.kind = MessageKind::Quit;
  postWindowMessage(quit);
  runTimed("effect 2, 5000, 0, \"SquareOut\", 0");
  EXPECT_NE(engine().quitFlag, 0);
  EXPECT_EQ(sprite(1).pending, 0u);
  engine().quitFlag = 0;
}

TEST_F(EffectLoop, ACloseRequestEndsTheTransitionAndStaysPending) {
  blackToWhite();
  replay("0 close\n");
  EXPECT_LT(runTimed("effect 4, 5000, 0, \"\", 8"), 2500);
  EXPECT_NE(shellWindow().closeRequest, 0);
  expectRectangle(capture(), 0, 0, kGameW, kGameH, 0xFFFFFF, 0xFFFFFF);
}

}  // namespace
}  // namespace vellum::test
