// The event source against replayed input: hover, clicks, the right button during skip, the
// wheel, keys, the close request, Alt+Enter, the mode keys and the arrow keys.
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include "base/engine_state.h"
#include "platform/virtual_keys.h"
#include "shell/input/cursor_glide.h"
#include "shell/input/input_state.h"
#include "shell/display/shell_window_state.h"
#include "support/recorded_reports.h"
#include "script/read_mode.h"
#include "shell_test_support.h"
#include "support/param_names.h"

namespace vellum {
namespace {

using test::button;
using test::FakeButtons;
using test::triple;

class EventSource : public test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    setUpScreen(1280, 720);
    settings().cursorClear = 0;
    // The window's activation arrives as its first message.
    drain();
  }
};

using Events = std::vector<InputEvent>;

TEST_F(EventSource, NothingPendingIsIdle) {
  EXPECT_EQ(nextInputEvent(false, false), triple(kIdleEvent, kIdleEvent, kIdleEvent));
}

TEST_F(EventSource, PressMoveOffReleaseGivesTheLeaveInsteadOfTheRelease) {
  FakeButtons::table().push_back(button(3, 100, 100, 200, 150));
  replay("0 move 150 120\n");
  EXPECT_EQ(nextEvent(), triple(3, 0, kEnter));
  replay("0 press left\n");
  EXPECT_EQ(nextEvent(), triple(3, 1, kPress));
  replay("0 move 400 400\n0 release left\n");
  EXPECT_EQ(drain(), (Events{triple(3, 0, kLeave)}));
}

TEST_F(EventSource, PressAndReleaseOnAButtonClicksIt) {
  FakeButtons::table().push_back(button(3, 100, 100, 200, 150));
  replay("0 move 150 120\n0 press left\n0 release left\n");
  EXPECT_EQ(drain(), (Events{triple(3, 0, kEnter), triple(3, 1, kPress), triple(3, 1, kRelease),
                             // The release forgets the button; the pointer is still over it.
                             triple(3, 0, kEnter)}));
}

// After a late frame a move onto a button, its click and a move away fall due together: the
// click still goes to the button, as on a machine that takes each in time.
TEST_F(EventSource, EventsDueTogetherAreTakenOneByOneSoTheClickFindsItsButton) {
  FakeButtons::table().push_back(button(3, 100, 100, 200, 150));
  replay("0 move 150 120\n0 press left\n0 release left\n0 move 400 400\n");
  EXPECT_EQ(drain(), (Events{triple(3, 0, kEnter), triple(3, 1, kPress), triple(3, 1, kRelease)}));
}

TEST_F(EventSource, ClickOnNothing) {
  replay("0 move 10 10\n0 press left\n0 release left\n");
  EXPECT_EQ(drain(), (Events{triple(-1, 1, kPress), triple(-1, 1, kRelease)}));
}

TEST_F(EventSource, RightClickDuringSkipEndsSkippingWithAModeEvent) {
  readMode().skipActive = true;
  replay("0 press right\n");
  EXPECT_EQ(nextInputEvent(false, false), triple(-1, 2, kPress));
  replay("0 release right\n");
  // No release event; the pass goes on to the idle checks (skip is off now).
  EXPECT_EQ(nextInputEvent(false, false), triple(kIdleEvent, kIdleEvent, kIdleEvent));
  EXPECT_EQ(nextInputEvent(false, false), triple(kModeEvent, 2, 0));
  EXPECT_FALSE(readMode().skipActive);
}

TEST_F(EventSource, RightClickWithoutModes) {
  replay("0 press right\n0 release right\n");
  EXPECT_EQ(drain(), (Events{triple(-1, 2, kPress), triple(-1, 2, kRelease)}));
}

TEST_F(EventSource, SkipModeAdvancesOnEveryIdlePass) {
  readMode().skipActive = true;
  EXPECT_EQ(nextInputEvent(false, false), triple(-1, 1, kRelease));
  EXPECT_TRUE(readMode().transientSkip);
}

TEST_F(EventSource, EveryWheelNotchIsOneEventWithThreeScrollLines) {
  EXPECT_EQ(shellWindow().wheelThreshold, 40);
  replay("0 wheel 1\n0 wheel 1\n0 wheel -1\n");
  EXPECT_EQ(drain(), (Events{triple(-1, 0, kWheelAway), triple(-1, 0, kWheelAway), triple(-1, 0, kWheelToward)}));
}

TEST_F(EventSource, SmallWheelStepsAccumulateToTheThreshold) {
  shellWindow().wheelThreshold = 120;
  WindowMessage step;
  step.kind = MessageKind::Wheel;
  step.wheelDelta = 40;
  Events events;
  for (int i = 0; i < 3; ++i) {
    postWindowMessage(step);
    events.push_back(nextInputEvent(false, false));
  }
  EXPECT_EQ(events, (Events{triple(kIdleEvent, kIdleEvent, kIdleEvent), triple(kIdleEvent, kIdleEvent, kIdleEvent),
                            triple(-1, 0, kWheelAway)}));
  EXPECT_EQ(inputState().wheelAccumulator, 0);
}

struct KeyCase {
  const char* lines;
  Events expected;
};

void PrintTo(const KeyCase& key, std::ostream* out) {
  for (const char* c = key.lines; *c; ++c) *out << (*c == '\n' ? '|' : *c);
}

class EventSourceKeys : public EventSource, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(EventSourceKeys, GiveTheirTriples) {
  replay(GetParam().lines);
  EXPECT_EQ(drain(), GetParam().expected) << GetParam().lines;
}

INSTANTIATE_TEST_SUITE_P(
    Table, EventSourceKeys,
    ::testing::Values(
        // Enter with no button is 13; other keys carry their virtual-key number.
        KeyCase{"0 keydown 13\n0 keyup 13\n", {triple(-1, 13, kPress), triple(-1, 13, kRelease)}},
        KeyCase{"0 keydown 65\n0 keyup 65\n", {triple(-1, 65, kPress), triple(-1, 65, kRelease)}},
        KeyCase{"0 keydown 17\n0 keyup 17\n", {triple(-1, 17, kPress), triple(-1, 17, kRelease)}},
        // F10 is a system key and still reported.
        KeyCase{"0 keydown 121\n0 keyup 121\n", {triple(-1, 121, kPress), triple(-1, 121, kRelease)}},
        // With no buttons the arrows are nothing.
        KeyCase{"0 keydown 40\n0 keyup 40\n", {triple(-1, 40, kRelease)}},
        KeyCase{"0 press middle\n0 release middle\n", {triple(-1, 4, kPress), triple(-1, 4, kRelease)}}),
    test::namedBy([](const KeyCase& c) {
      const std::string lines = c.lines;
      return lines.substr(0, lines.find('\n'));  // the first line tells them apart
    }));

TEST_F(EventSource, HeldCtrlIsTheAdvanceKeyWithHoldKeys) {
  replay("0 keydown 17\n");
  EXPECT_EQ(nextEvent(true), triple(-1, 1, kRelease));
  EXPECT_TRUE(readMode().transientSkip);
  replay("0 keyup 17\n");
  EXPECT_EQ(nextEvent(true), triple(-1, 17, kRelease));
  EXPECT_FALSE(readMode().transientSkip);
}

TEST_F(EventSource, EnterOverAButtonIsItsClick) {
  FakeButtons::table().push_back(button(7, 0, 0, 100, 100));
  replay("0 move 50 50\n0 keydown 13\n0 keyup 13\n");
  EXPECT_EQ(drain(), (Events{triple(7, 0, kEnter), triple(7, 1, kPress), triple(7, 1, kRelease), triple(7, 0, kEnter)}));
}

TEST_F(EventSource, CloseRequestIsAnEventAndNeverQuits) {
  replay("0 close\n");
  EXPECT_EQ(drain(), (Events{triple(kCloseEvent, kCloseEvent, 0)}));
  EXPECT_EQ(engine().quitFlag, 0);
}

TEST_F(EventSource, AltEnterTogglesFullScreenAndTellsTheScript) {
  ASSERT_EQ(settings().fullScreen, 0);
  replay("0 keydown 18\n0 keydown 13\n0 keyup 13\n0 keyup 18\n");
  EXPECT_EQ(drain(), (Events{triple(kFullScreenEvent, kFullScreenEvent, 1)}));
  EXPECT_EQ(settings().fullScreen, 1);
  replay("0 keydown 18\n0 keydown 13\n0 keyup 13\n0 keyup 18\n");
  EXPECT_EQ(drain(), (Events{triple(kFullScreenEvent, kFullScreenEvent, 0)}));
  EXPECT_EQ(settings().fullScreen, 0);
}

TEST_F(EventSource, AltEnterDuringATransitionDoesNothing) {
  shellWindow().transitionRunning = 1;
  replay("0 keydown 18\n0 keydown 13\n0 keyup 13\n0 keyup 18\n");
  EXPECT_EQ(drain(), Events{});
  EXPECT_EQ(settings().fullScreen, 0);
}

TEST_F(EventSource, ShiftReleaseTogglesAutoAndReportsBothEvents) {
  replay("0 keydown 16\n0 keyup 16\n");
  // The key-up is reported first; the mode change comes on the next pass.
  EXPECT_EQ(drain(), (Events{triple(-1, 16, kPress), triple(-1, 16, kRelease), triple(kModeEvent, 0, 1)}));
  EXPECT_TRUE(readMode().autoActive);
}

TEST_F(EventSource, TabStartsSkippingOnlyOverReadText) {
  replay("0 keyup 9\n");
  drain();
  EXPECT_FALSE(readMode().skipActive);
  readMode().currentMessageRead = 1;
  replay("0 keyup 9\n");
  nextEvent();
  EXPECT_TRUE(readMode().skipActive);
}

TEST_F(EventSource, ReleasedKeysAreNotPushed) {
  replay("0 keydown 65\n");
  EXPECT_EQ(keyHeld(0x41), true);
  drain();  // a replayed event waits until the one before it has been taken
  replay("0 keyup 65\n");
  EXPECT_EQ(keyHeld(0x41), false);
  drain();
  replay("0 keydown 16\n");
  EXPECT_TRUE(keyHeld(vk::Shift));
}

TEST_F(EventSource, AlphaTestTreatsPositionsOutsideThePictureAsTransparent) {
  InputButton b = button(5, 0, 0, 200, 100);
  b.alphaThreshold = 128;
  FakeButtons::table().push_back(b);
  FakeButtons::pictureW() = 100;  // the button is wider than its picture
  replay("0 move 50 50\n");
  EXPECT_EQ(nextEvent(), triple(5, 0, kEnter));
  replay("0 move 150 50\n");
  EXPECT_EQ(nextEvent(), triple(5, 0, kLeave));
  FakeButtons::alpha() = 100;
  replay("0 move 50 50\n");
  EXPECT_EQ(drain(), Events{});
}

TEST_F(EventSource, MovingOntoAnotherButtonLeavesBeforeEntering) {
  FakeButtons::table().push_back(button(1, 0, 0, 100, 100));
  FakeButtons::table().push_back(button(2, 100, 0, 200, 100));
  replay("0 move 50 50\n");
  EXPECT_EQ(nextEvent(), triple(1, 0, kEnter));
  replay("0 move 150 50\n");
  EXPECT_EQ(drain(), (Events{triple(1, 0, kLeave), triple(2, 0, kEnter)}));
}

TEST_F(EventSource, ArrowKeyGlidesToTheNextButton) {
  settings().cursorMove = 1;
  FakeButtons::table().push_back(button(1, 100, 100, 300, 150));
  FakeButtons::table().push_back(button(2, 100, 300, 300, 350));
  replay("0 move 200 120\n");
  EXPECT_EQ(nextEvent(), triple(1, 0, kEnter));
  replay("0 keydown 40\n");
  // The script hears of the arrow as a leave of the button that was current.
  EXPECT_EQ(nextEvent(), triple(1, 40, kLeave));
  EXPECT_TRUE(cursorGlideRunning());
  stepCursorGlideAt(cursorGlideStart() + cursorGlideLength());
  EXPECT_FALSE(cursorGlideRunning());
  int32_t x = 0, y = 0;
  getCursorPos(&x, &y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 325);
  EXPECT_EQ(drain(), (Events{triple(1, 0, kLeave), triple(2, 0, kEnter)}));
}

TEST_F(EventSource, ArrowKeyTheButtonHandlesItselfIsItsOwnEvent) {
  InputButton b = button(4, 0, 0, 100, 100);
  b.directions = 2;  // down
  FakeButtons::table().push_back(b);
  replay("0 move 50 50\n");
  EXPECT_EQ(nextEvent(), triple(4, 0, kEnter));
  replay("0 keydown 40\n");
  EXPECT_EQ(nextEvent(), triple(4, 40, kPress));
  EXPECT_FALSE(cursorGlideRunning());
}

TEST_F(EventSource, DroppedFileCarriesItsPath) {
  WindowMessage drop;
  drop.kind = MessageKind::DropFile;
  drop.path = "/tmp/a.txt";
  postWindowMessage(drop);
  const InputEvent e = nextEvent();
  EXPECT_EQ(e, triple(kDropEvent, kDropEvent, kDropEvent));
  EXPECT_EQ(e.text, "/tmp/a.txt");
}

TEST_F(EventSource, QuitMessageSetsTheQuitFlag) {
  replay("0 quit\n");
  nextInputEvent(false, false);
  EXPECT_EQ(engine().quitFlag, 1);
}

TEST_F(EventSource, InactiveWindowWithPauseFreezesUntilActivated) {
  settings().systemActive |= 1;  // pause while inactive
  WindowMessage off;
  off.kind = MessageKind::Deactivate;
  postWindowMessage(off);
  EXPECT_EQ(nextInputEvent(false, false), triple(kIdleEvent, kIdleEvent, kIdleEvent));
  EXPECT_FALSE(windowActive());
  WindowMessage on;
  on.kind = MessageKind::Activate;
  postWindowMessage(on);
  replay("0 press left\n");
  // The pass pumps until the activation arrives, then goes on.
  EXPECT_EQ(nextInputEvent(false, false), triple(-1, 1, kPress));
}

}  // namespace
}  // namespace vellum
