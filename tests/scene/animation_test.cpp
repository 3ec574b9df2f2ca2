// Animation tracks and shakes against a clock the test moves: durations, the mode word, passes,
// fast-forward, the ending commands, sp_alv, and the refusals with the sprite left as it was.
#include <algorithm>
#include <fstream>

#include "base/clock.h"
#include "movie/frame_sequences.h"
#include "persist/engine_settings.h"
#include "scene/easing.h"
#include "scene/animation_tracks.h"
#include "scene/animation_update.h"
#include "scene/frame_sequence_slot.h"
#include "script/expression.h"
#include "script/script_state.h"
#include "sprite_fixture.h"

namespace vellum::test {
namespace {


const std::string kBadNumber = " \xb6\xaf\xbb\xad\xba\xc5\xc2\xeb\xb2\xbb\xd5\xfd\xc8\xb7";        // " 动画号码不正确"
const std::string kNoChain = " \xd7\xb7\xbc\xd3\xb1\xea\xd6\xbe\xb2\xbb\xd5\xfd\xc8\xb7";          // " 追加标志不正确"

class Animation : public SpriteScreenTest {
 protected:
  void SetUp() override {
    SpriteScreenTest::SetUp();
    keptQuery = frameSequenceQuery();
    if (IsSkipped()) return;
    fakeNow = 100000;
    setTickSource(&fakeClock);
    writePicture("w.png", 20, 20, 0xFFFFFFFF);
    script("sp 1, \"w.png\", 0, 0\ndraw\n");
    reports.clear();
  }
  void TearDown() override {
    setTickSource(nullptr);
    // A test may answer for the movie layer; later tests get the movie layer's answer back.
    setFrameSequenceQuery(keptQuery);
    scriptState().fastForwardMode = 0;
    settings().systemActive = 0;
    SpriteScreenTest::TearDown();
  }
  // Moves the clock to `at` milliseconds after the start and draws a frame there.
  void frameAt(uint32_t at) {
    fakeNow = 100000 + at;
    script("draw\n");
  }
  float x() { return sprite(1).frontImage().props.x; }
  FrameSequenceQuery keptQuery = nullptr;
  int32_t intVariable(const std::string& name) {
    const int32_t* v = findIntVariable("%" + name);
    return v ? *v : -12345;
  }
};

TEST_F(Animation, DurationsAreTheTimeOrTwo) {
  struct Case {
    int time;
    uint32_t lastRunning, end;
  };
  for (const Case c : {Case{0, 1, 2}, Case{1000, 1001, 1002}, Case{3, 2, 3}}) {
    fakeNow = 100000;
    script("sp_x 1, 0\ndraw\nsp_ax 1, 100, " + std::to_string(c.time) + ", 0, 0x100\n");
    frameAt(c.lastRunning);
    EXPECT_EQ(trackSegmentCount(1, track::X), 1) << c.time;
    EXPECT_LT(x(), 100.0f) << c.time;
    frameAt(c.end);
    EXPECT_EQ(trackSegmentCount(1, track::X), 0) << c.time;
    EXPECT_EQ(x(), 100.0f) << c.time;
  }
}

TEST_F(Animation, LinearTracksFollowTheClockAndQueriesSeeTheRunningValue) {
  script("sp_ax 1, 200, 400, 0, 0x100\nsp_aa 1, 0, 400, 0, 0x100\nsp_aw 1, 300, 400, 0, 0x100\n");
  frameAt(201);  // a quarter of 402 ms is 100.5
  EXPECT_NEAR(x(), 200.0f * 201 / 402, 0.01);
  EXPECT_EQ(sprite(1).frontImage().props.alpha, 255 - 255 * 201 / 402);
  EXPECT_NEAR(sprite(1).frontImage().props.scaleW, 1.0f + 2.0f * 201 / 402, 0.001);
  script("int a\nint w\nint h\nsp_ga 1, %a\nsp_gwh 1, %w, %h\n");
  EXPECT_EQ(intVariable("a"), 128);
  EXPECT_EQ(intVariable("w"), 2);  // the scale, truncated
}

TEST_F(Animation, TheModeWordSetsPassesAndDeletion) {
  struct Case {
    const char* word;
    uint32_t at;          // when the sprite is looked at
    bool running;
    float expectX;
  };
  // A segment of 100 | 2 = 102 ms from 0 to 102.
  const Case cases[] = {
      {"0x100", 102, false, 102},  // one pass, then the track ends
      {"0x000", 102 * 5 + 51, true, 51},  // without end: the sixth pass, half way
      {"0x300", 102 * 2 + 51, true, 51},  // the third pass
      {"0x300", 102 * 3 + 2, false, 102},
  };
  for (const Case& c : cases) {
    fakeNow = 100000;
    script(std::string("sp_x 1, 0\ndraw\nsp_ax 1, 102, 100, 0, ") + c.word + "\n");
    // A frame at each segment end restarts the pass there; then one at the looked-at time.
    for (uint32_t t = 102; t < c.at; t += 102) frameAt(t);
    frameAt(c.at);
    EXPECT_EQ(trackSegmentCount(1, track::X) > 0, c.running) << c.word << " at " << c.at;
    EXPECT_NEAR(x(), c.expectX, 0.01) << c.word << " at " << c.at;
    script("sp_ae 1\n");
  }
}

TEST_F(Animation, DeleteAtEndRemovesTheSpriteAtTheNextCommit) {
  script("sp_aa 1, 0, 100, 0, 0x120\n");
  frameAt(50);
  EXPECT_TRUE(sprite(1).inUse());
  fakeNow = 100000 + 102;
  script("draw3\n");
  updateAnimations(fakeNow);  // the track ends in this update
  EXPECT_TRUE(sprite(1).inUse());
  script("draw3\n");
  EXPECT_FALSE(sprite(1).inUse());
  EXPECT_EQ(animationPresence(0, 999), 0u);
}

TEST_F(Animation, ReplacingJumpsToTheOldEndAndAppendingChains) {
  script("sp_ax 1, 100, 1000, 0, 0x100\n");
  frameAt(10);
  // Mode 0: the sprite first takes the old end value, and the new track starts from there.
  script("sp_ax 1, 300, 100, 0, 0x100\n");
  EXPECT_EQ(x(), 100.0f);
  frameAt(10 + 51);
  EXPECT_NEAR(x(), 200.0f, 0.01);
  // Mode 1 appends: the second segment starts when the first ends.
  script("sp_ax 1, 400, 100, 0, 0x101\n");
  EXPECT_EQ(trackSegmentCount(1, track::X), 2);
  frameAt(10 + 102);
  EXPECT_EQ(x(), 300.0f);
  frameAt(10 + 102 + 51);
  EXPECT_NEAR(x(), 350.0f, 0.01);
  frameAt(10 + 102 + 102);
  EXPECT_EQ(x(), 400.0f);
  EXPECT_EQ(trackSegmentCount(1, track::X), 0);
}

TEST_F(Animation, ModeThreeLoopsOnlyTheNewPart) {
  script("sp_x 1, 0\ndraw\nsp_ax 1, 100, 100, 0, 0x100\nsp_ax 1, 200, 100, 0, 0x003\n");
  frameAt(102);  // the old segment played and is removed
  EXPECT_EQ(trackSegmentCount(1, track::X), 1);
  frameAt(204);
  EXPECT_EQ(x(), 200.0f);
  frameAt(204 + 51);  // looping 100 -> 200
  EXPECT_NEAR(x(), 150.0f, 0.01);
}

TEST_F(Animation, FastForwardJumpsFiniteTracksToTheirEnd) {
  scriptState().fastForwardMode = 1;
  script("sp_ax 1, 150, 1000, 0, 0x100\nsp_ay 1, 80, 1000, 0, 0x000\n");
  EXPECT_EQ(x(), 150.0f);
  EXPECT_EQ(trackSegmentCount(1, track::X), 0);
  EXPECT_EQ(trackSegmentCount(1, track::Y), 1);  // an endless track still runs
  // Appending without a chain is no error while fast-forwarding.
  script("sp_ax 1, 20, 1000, 0, 0x101\n");
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_EQ(x(), 20.0f);
}

// A track that deletes its sprite at its end (flags 0x20) ends at once while fast-forwarding; each
// way fast-forward ends commits that deletion at once, not at the next draw.
TEST_F(Animation, EndingFastForwardDeletesWhatATrackDeletedMeanwhile) {
  struct Case {
    const char* name;
    const char* start;
    const char* end;
  };
  for (const Case c : {Case{"stopMode", "setJump\n", "stopMode\n"},
                       Case{"unread text", "setJump\n", "\xd2\xbb\xa1\xa3\n\n"},
                       Case{"fileJump target", "fileJump \"script/0.txt\", 6\n", "\xd2\xbb\xa1\xa3\n\n"}}) {
    SCOPED_TRACE(c.name);
    script("int before, after\n");
    script(std::string("sp 1, \"w.png\", 0, 0\ndraw\n") + c.start +
           "sp_aa 1, 0, 1000, 0, 0x120\nsp_exist 1, %before\n" + c.end + "sp_exist 1, %after\n");
    EXPECT_EQ(scriptState().fastForwardMode, 0);
    EXPECT_EQ(intVariable("before"), 1);  // the deletion waits for a commit
    EXPECT_EQ(intVariable("after"), 0);
    EXPECT_FALSE(sprite(1).inUse());
  }
}

TEST_F(Animation, EndingCommandsWriteTheEndValue) {
  script("sp_axya 1, 30, 40, 50, 1000, 0, 0x000\nsp_arz 1, 90, 1000, 0, 0x100\n");
  frameAt(100);
  script("sp_aex 1\n");
  EXPECT_EQ(x(), 30.0f);
  EXPECT_EQ(animationPresence(1, 1), (1u << track::Y) | (1u << track::Alpha) | (1u << track::RotZ));
  script("sp_ae 1\n");
  EXPECT_EQ(sprite(1).frontImage().props.y, 40.0f);
  EXPECT_EQ(sprite(1).frontImage().props.alpha, 50);
  EXPECT_EQ(sprite(1).frontImage().props.rotZ, -90.0f);  // stored negated
  EXPECT_EQ(animationPresence(0, 999), 0u);
}

TEST_F(Animation, SpAlvOrsThePresenceBitsAndFrameSequences) {
  script("int v\nsp_alv 0, 999, %v\n");
  EXPECT_EQ(intVariable("v"), 0);
  script("sp 2, \"w.png\", 0, 0\ndraw\nsp_aa 2, 0, 100, 0, 0\nsp_ac 1, 0xFF0000, 100, 0, 0\nsp_alv 0, 999, %v\n");
  EXPECT_EQ(intVariable("v"), (1 << track::Alpha) | (1 << track::Colour));
  script("sp_alv 2, 2, %v\n");
  EXPECT_EQ(intVariable("v"), 1 << track::Alpha);
  setFrameSequenceQuery([](int32_t n) { return n == 5; });
  script("sp_alv 3, 7, %v\n");
  EXPECT_EQ(intVariable("v"), 1);
}

TEST_F(Animation, ColourCellAndMaskTracksInterpolate) {
  script("sp_c 1, 4, 0xFF000000\ndraw\nsp_ac 1, 0xFF80FF, 102, 0, 0x100\nsp_am 1, 40, 1000, 102, 0, 0x100\n");
  frameAt(51);
  EXPECT_EQ(sprite(1).frontImage().props.colour, 0xFF7F407Fu);
  EXPECT_EQ(sprite(1).frontImage().props.maskProgress, 500);
  EXPECT_EQ(sprite(1).frontImage().props.maskSoftness, 40);
  frameAt(102);
  EXPECT_EQ(sprite(1).frontImage().props.colour, 0xFFFF80FFu);
  EXPECT_EQ(sprite(1).frontImage().props.maskProgress, 1000);
  script("sp_al 1, 3, 100, 0, 0x100\n");
  frameAt(103);
  EXPECT_EQ(sprite(1).frontImage().props.cell, 3);  // switched when the segment started
}

// Curves that overshoot (back OUT past the end, back IN below the start, the IN-OUT and OUT-IN
// forms and elastic both ways) hold a sprite's alpha and colour channels at 0 and 255: on the
// screen the white sprite over black follows the curve held to its range and never flashes the
// other end of it.
TEST_F(Animation, OvershootingCurvesHoldAlphaAndColourChannelsInTheirRange) {
  settings().colorBlend = 1;
  for (const bool colour : {false, true}) {
    for (int easing : {9, -9, 19, -19, 8, -8}) {
      SCOPED_TRACE(testing::Message() << (colour ? "colour" : "alpha") << " track, easing " << easing);
      fakeNow = 100000;
      const std::string e = std::to_string(easing);
      script(std::string("sp_cxy 1, 0, 0\nsp_xy 1, 100, 100\n") +
             (colour ? "sp_a 1, 255\nsp_c 1, 4, 0xFF000000\ndraw\nsp_ac 1, 0xFFFFFF, 400, " + e + ", 0x100\n"
                     : "sp_c 1, 0, 0\nsp_a 1, 0\ndraw\nsp_aa 1, 255, 400, " + e + ", 0x100\n"));
      int offCurve = 0;
      for (uint32_t t = 0; t < 402; t += 8) {
        frameAt(t);
        const float wanted = std::clamp(ease(easing, static_cast<float>(t) / 402.0f, 0, 255), 0.0f, 255.0f);
        const uint32_t shown = capture().at(110, 110);
        for (int shift : {0, 8, 16}) offCurve += std::abs(static_cast<float>((shown >> shift) & 0xFF) - wanted) > 3;
      }
      EXPECT_EQ(offCurve, 0);
      script("sp_ae 1\n");
    }
  }
}

TEST_F(Animation, BadRequestsAreReportedAndChangeNothing) {
  struct Case {
    const char* line;
    std::string text;
  };
  const Case cases[] = {
      {"sp_ax -1, 100, 100, 0, 0\n", "-1" + kBadNumber},
      {"sp_ax 1000, 100, 100, 0, 0\n", "1000" + kBadNumber},
      {"sp_ax 1, 100, 100, 0, 0x101\n", "1" + kNoChain},
      {"sp_ax 1, 100, 100, 0, 0x105\n", "1 animation mode outside 0-3: 5"},
      {"sp_ax 1, 100, -5, 0, 0x100\n", "1 animation time below 0: -5"},
      {"sp_ax 9, 100, 100, 0, 0x100\n", "9" + kNoPicture},
      {"sp_qx -3, 5, 100, 0, 0, 1, 0\n", "-3" + kBadNumber},
  };
  for (const Case& c : cases) {
    reports.clear();
    script(std::string("sp_x 1, 7\ndraw\n") + c.line);
    EXPECT_TRUE(reports.anyBoxContains(c.text)) << c.line;
    EXPECT_EQ(x(), 7.0f) << c.line;
    EXPECT_EQ(animationPresence(0, 999), 0u) << c.line;
    EXPECT_FALSE(animationsActive()) << c.line;
  }
}

TEST_F(Animation, ATwoSidedShakeGoesUpBackDownAndBack) {
  script("sp_qy 1, 10, 100, 1, 0, 1, 0\n");
  const struct {
    uint32_t at;
    float offset;
  } samples[] = {{0, 0}, {25, 10}, {50, 0}, {75, -10}, {90, -4}, {100, 0}};
  for (const auto& s : samples) {
    frameAt(s.at);
    EXPECT_NEAR(sprite(1).shakeY.offset, s.offset, 0.01) << s.at;
  }
  EXPECT_FALSE(animationsActive());  // one pass
  // A one-sided pulse of 0 passes keeps going; a stop ends it at once.
  script("sp_qx 1, 8, 100, 0, 0, 0, 0\n");
  frameAt(100 + 25);
  EXPECT_NEAR(sprite(1).shakeX.offset, 4, 0.01);
  frameAt(100 + 100);  // the next pass
  frameAt(100 + 100 + 50);
  EXPECT_NEAR(sprite(1).shakeX.offset, 8, 0.01);
  EXPECT_TRUE(animationsActive());
  script("sp_qx 1, 8, 9, 0, 0, 0, 0\n");
  EXPECT_FALSE(animationsActive());
  EXPECT_EQ(sprite(1).shakeX.offset, 0.0f);
}

TEST_F(Animation, TimesCrossTheClockWrap) {
  fakeNow = 0xFFFFFF00u;
  script("sp_x 1, 0\ndraw\nsp_ax 1, 1000, 1000, 0, 0x100\n");
  fakeNow = 0xFFFFFF00u + 501;  // past the wrap
  script("draw\n");
  EXPECT_NEAR(x(), 1000.0f * 501 / 1002, 0.01);
  fakeNow = 0xFFFFFF00u + 1002;
  script("draw\n");
  EXPECT_EQ(x(), 1000.0f);
}

TEST_F(Animation, NothingMovesWhilePausedInTheBackground) {
  script("sp_ax 1, 100, 100, 0, 0x100\n");
  settings().systemActive = 1;  // pausing asked for, window inactive
  frameAt(51);
  EXPECT_EQ(x(), 0.0f);
  settings().systemActive = 3;
  frameAt(51);
  EXPECT_NEAR(x(), 50.0f, 0.01);
}

TEST_F(Animation, Draw2DrawsWhileSomethingMoves) {
  script("sp_ax 1, 100, 100, 0, 0x100\n");
  fakeNow = 100000 + 51;
  script("draw2\n");
  EXPECT_NEAR(x(), 50.0f, 0.5);
}

TEST_F(Animation, DeletingASpriteDropsItsTracksAndShakes) {
  script("sp_ax 1, 100, 100, 0, 0\nsp_qx 1, 8, 100, 0, 0, 0, 0\nsp_d 1\ndraw\n");
  EXPECT_FALSE(animationsActive());
}

TEST_F(Animation, TheScriptVirtualMachinesStartTracksToo) {
  std::ofstream(game / "a.lua") << "sp_ax(1, 40, 100, 0, 0x100)\nlocal v = sp_alv(0, 999)\nsp_y(1, v)\n";
  std::ofstream(game / "a.nut") << "sp_aa(1, 0, 100, 0, 0x100);\n";
  script("loadLua \"a.lua\"\nloadSqu \"a.nut\"\n");
  EXPECT_EQ(animationPresence(1, 1), (1u << track::X) | (1u << track::Alpha));
  EXPECT_EQ(sprite(1).backImage().props.y, 1.0f);
}

}  // namespace
}  // namespace vellum::test

namespace vellum::test {
namespace {

TEST_F(Animation, AStandingPictureCrossFadesIntoTheNext) {
  writePicture("r.png", 20, 20, 0xFFFF0000);
  writePicture("b.png", 20, 20, 0xFF0000FF);
  script("sp_st 2, \"r.png\", 0, 20, 20\nsp_cxy 2, 0, 0\nsp_xy 2, 100, 100\ndraw\n"
         "sp_st 2, \"b.png\", 0, 20, 20, 200, 0\n");
  EXPECT_TRUE(sprite(2).crossFade);
  frameAt(101);  // half of 202 ms
  uint32_t mid = capture().at(110, 110);
  EXPECT_NEAR(static_cast<int>((mid >> 16) & 0xFF), 128, 3);
  EXPECT_NEAR(static_cast<int>(mid & 0xFF), 128, 3);
  EXPECT_EQ(animationPresence(2, 2), 1u << track::CrossFade);
  frameAt(202);
  EXPECT_FALSE(sprite(2).crossFade);
  EXPECT_EQ(sprite(2).pending, 0u);
  script("draw\n");
  EXPECT_EQ(capture().at(110, 110), 0x0000FFu);
  EXPECT_EQ(sprite(2).frontImage().props.x, 100.0f);
  // sp_aes finishes a running fade at once.
  script("sp_st 2, \"r.png\", 0, 20, 20, 200, 0\nsp_aes 2\ndraw\n");
  EXPECT_FALSE(sprite(2).crossFade);
  EXPECT_EQ(capture().at(110, 110), 0xFF0000u);
}

}  // namespace
}  // namespace vellum::test

namespace vellum::test {
namespace {

// Periods that do not split evenly leave a few milliseconds past the last quarter (or half): the
// shake rests there. Fast-forward stops finite shakes.
TEST_F(Animation, ShakesRestPastTheirLastQuarterAndStopWhileFastForwarding) {
  struct Case {
    const char* command;
    uint32_t at;
  };
  for (const Case c : {Case{"sp_qx 1, 10, 10, 1, 0, 1, 0\n", 9}, Case{"sp_qx 1, 10, 11, 1, 0, 0, 0\n", 10}}) {
    fakeNow = 100000;
    script(c.command);
    frameAt(c.at);
    EXPECT_EQ(sprite(1).shakeX.offset, 0.0f) << c.command;
    EXPECT_TRUE(animationsActive()) << c.command;
    script("sp_qx 1, 0, 100, 0, 0, 0, 0\n");
  }
  scriptState().fastForwardMode = 1;
  script("sp_qx 1, 10, 100, 2, 0, 1, 0\n");
  EXPECT_FALSE(animationsActive());
  script("sp_qx 1, 10, 100, 0, 0, 1, 0\n");  // endless: runs even now
  EXPECT_TRUE(animationsActive());
}

}  // namespace
}  // namespace vellum::test

namespace vellum::test {
namespace {

TEST_F(Animation, ErasingTheButtonOfAFadingSpriteEndsTheFadeOnTheNewPicture) {
  writePicture("r.png", 20, 20, 0xFFFF0000);
  writePicture("b.png", 20, 20, 0xFF0000FF);
  script("sp_st 2, \"r.png\", 0, 20, 20\nsp_cxy 2, 0, 0\nsp_xy 2, 100, 100\ndraw\nsetBtn 2, 2\n"
         "sp_st 2, \"b.png\", 0, 20, 20, 200, 0\neraseBtn 2\ndraw\n");
  EXPECT_FALSE(sprite(2).crossFade);
  EXPECT_EQ(animationPresence(2, 2), 0u);
  EXPECT_EQ(capture().at(110, 110), 0x0000FFu);
}

}  // namespace
}  // namespace vellum::test
