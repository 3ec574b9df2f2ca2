// The timed behaviours of the event source: the idle pointer hidden after CursorClear ms of
// stillness (and only then), the auto-advance deadline looked at every other pass, and the power
// saver's keep-awake every 30 seconds. The engine's clock is the test's own, moved by hand.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "shell/input/input_state.h"
#include "script/read_mode.h"
#include "shell_test_support.h"
#include "support/fake_clock.h"

namespace vellum {
namespace {

using test::fakeNow;
using test::triple;

void passMs(uint32_t ms) { fakeNow += ms; }

class InputTiming : public test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    fakeNow = 100000;
    setTickSource(&test::fakeClock);
    setUpScreen(1280, 720);
    settings().cursorClear = 0;
    settings().powerSaver = 0;
    drain();
  }
  void moveTo(int x, int y) { replay("0 move " + std::to_string(x) + " " + std::to_string(y) + "\n"); }
  bool pointerShown() { return inputState().cursorShown != 0; }
  InputEvent pass() { return nextInputEvent(false, false); }
  void TearDown() override {
    setTickSource(nullptr);
    ShellTest::TearDown();
  }
};

// ---- the idle pointer ---------------------------------------------------------------------------

TEST_F(InputTiming, StillPointerStaysShownUntilCursorClearHasPassed) {
  settings().cursorClear = 5000;
  moveTo(100, 100);
  pass();
  ASSERT_TRUE(pointerShown());
  for (int i = 0; i < 5; ++i) {
    pass();
    EXPECT_TRUE(pointerShown()) << "pass " << i;
  }
}

TEST_F(InputTiming, StillPointerIsHiddenAfterCursorClear) {
  settings().cursorClear = 40;
  moveTo(100, 100);
  pass();
  ASSERT_TRUE(pointerShown());
  passMs(40);
  pass();
  EXPECT_TRUE(pointerShown()) << "still for exactly CursorClear";
  passMs(1);
  pass();
  EXPECT_FALSE(pointerShown());
  // The next movement shows it again.
  moveTo(101, 100);
  pass();
  EXPECT_TRUE(pointerShown());
}

TEST_F(InputTiming, MovingPointerIsNeverHidden) {
  settings().cursorClear = 40;
  for (int i = 0; i < 4; ++i) {
    moveTo(100 + 10 * i, 100);
    pass();
    EXPECT_TRUE(pointerShown()) << "move " << i;
    // Longer than CursorClear between movements: only stillness counts, not time.
    passMs(80);
  }
}

TEST_F(InputTiming, CursorClearZeroNeverHides) {
  moveTo(100, 100);
  pass();
  const int32_t shownBefore = inputState().cursorShown;
  passMs(60);
  pass();
  pass();
  EXPECT_EQ(inputState().cursorShown, shownBefore);
}

// ---- auto advance -------------------------------------------------------------------------------

class AutoAdvance : public InputTiming {
 protected:
  void SetUp() override {
    InputTiming::SetUp();
    readMode().autoActive = true;
  }
  void TearDown() override {
    setAutoAdvanceDeadline(0);
    InputTiming::TearDown();
  }
  const InputEvent advance = triple(kAutoAdvanceEvent, kAutoAdvanceEvent, 3);
  const InputEvent idle = triple(kIdleEvent, kIdleEvent, kIdleEvent);
};

TEST_F(AutoAdvance, NothingBeforeTheDeadline) {
  setAutoAdvanceDeadline(tickMilliseconds() + 60000);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(pass(), idle) << "pass " << i;
}

TEST_F(AutoAdvance, EveryOtherPassOnceTheDeadlineHasPassed) {
  setAutoAdvanceDeadline(tickMilliseconds() + 30);
  passMs(60);
  const InputEvent first = pass();
  const InputEvent second = pass();
  // One of two passes looks at the deadline; which one depends on the toggle's phase.
  EXPECT_TRUE((first == advance) != (second == advance)) << first.owner << " " << second.owner;
  EXPECT_EQ(pass(), first);
  EXPECT_EQ(pass(), second);
}

TEST_F(AutoAdvance, NoDeadlineOrAutoOffNeverAdvances) {
  setAutoAdvanceDeadline(0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(pass(), idle);
  setAutoAdvanceDeadline(tickMilliseconds() - 1000);
  readMode().autoActive = false;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(pass(), idle);
}

// ---- power saver --------------------------------------------------------------------------------

TEST_F(InputTiming, PowerSaverKeepsAwakeEveryThirtySeconds) {
  settings().powerSaver = 1;
  InputState& in = inputState();
  // Due: the pass keeps the display awake and sets the next time 30 s on.
  in.powerSaverDeadline = tickMilliseconds() - 1;
  pass();
  EXPECT_EQ(in.powerSaverDeadline, tickMilliseconds() + 30000u);
  // Not due yet: the deadline stays; once it comes, the next is 30 s on again.
  const uint32_t next = in.powerSaverDeadline;
  passMs(29999);
  pass();
  EXPECT_EQ(in.powerSaverDeadline, next);
  passMs(1);
  pass();
  EXPECT_EQ(in.powerSaverDeadline, next + 30000u);
}

}  // namespace
}  // namespace vellum
