// The timed wait of screen transitions: what ends it early, and what it leaves for the input loop.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/quit_signals.h"

#include "shell/input/message_pumps.h"
#include "shell/renderer_seam.h"
#include "shell/display/shell_window_state.h"
#include "shell_test_support.h"

namespace vellum {
namespace {

using test::triple;

// Long enough that only an early end lets a test finish.
constexpr int kLongWait = 60000;

class TimedWait : public test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    setUpScreen(640, 480);
    settings().effectCancel = 1;
    nextEvent();  // the activation
  }
};

TEST_F(TimedWait, LeftClickEndsItAndIsForgotten) {
  replay("0 press left\n0 release left\n");
  timedWait(1, kLongWait, 0);
  EXPECT_EQ(nextInputEvent(false, false), triple(kIdleEvent, kIdleEvent, kIdleEvent));
}

TEST_F(TimedWait, EnterEndsIt) {
  replay("0 keydown 13\n");
  timedWait(1, kLongWait, 0);
  EXPECT_FALSE(currentMessageFresh());
}

TEST_F(TimedWait, WheelTowardThePlayerEndsItAndStaysForTheInputLoop) {
  replay("0 wheel 1\n0 wheel -1\n");
  timedWait(1, kLongWait, 0);
  EXPECT_TRUE(currentMessageFresh());
  EXPECT_EQ(nextInputEvent(false, false), triple(-1, 0, kWheelToward));
}

TEST_F(TimedWait, CloseRequestEndsItAndStillReachesTheScript) {
  replay("0 close\n");
  timedWait(1, kLongWait, 0);
  EXPECT_EQ(nextInputEvent(false, false), triple(kCloseEvent, kCloseEvent, 0));
}

TEST_F(TimedWait, QuitEndsItWithTheQuitFlag) {
  replay("0 quit\n");
  timedWait(1, kLongWait, 0);
  EXPECT_EQ(engine().quitFlag, 1);
}

// A quit asked for while nothing pumps (a signal, or the replay's scheduled quit, sets the flag
// directly) ends the transition's wait and a long sleep within a frame, not at their end.
TEST_F(TimedWait, QuitFromASignalEndsItAndALongSleep) {
  const auto waited = [](auto&& wait) {
    const auto start = std::chrono::steady_clock::now();
    wait();
    return std::chrono::steady_clock::now() - start;
  };
  scheduleQuit(50);
  EXPECT_LT(waited([] { timedWait(1, kLongWait, 0); }), std::chrono::milliseconds(kLongWait / 2));
  EXPECT_EQ(engine().quitFlag, 1);

  clearQuitRequest();
  engine().quitFlag = 0;
  addScript("script/0.txt", "sleep 60000\n", 0);
  scheduleQuit(50);
  EXPECT_LT(waited([this] { run(); }), std::chrono::milliseconds(kLongWait / 2));
  EXPECT_EQ(engine().quitFlag, 1);
}

TEST_F(TimedWait, WithoutEffectCancelAClickDoesNotEndIt) {
  settings().effectCancel = 0;
  static int frames = 0;
  frames = 0;
  RendererHooks hooks;
  hooks.present = [](int effect, int elapsed, int duration, int) {
    EXPECT_EQ(effect, 7);
    EXPECT_EQ(duration, 30);
    EXPECT_LT(elapsed, 30);
    ++frames;
  };
  setRendererHooks(hooks);
  replay("0 press left\n0 release left\n");
  timedWait(7, 30, 0);
  setRendererHooks(keptRendererHooks);
  EXPECT_GT(frames, 0);
}

}  // namespace
}  // namespace vellum
