// Game controllers: replayed pad lines, read as a replay file reads them, become the keys, clicks
// and wheel notches the engine already knows, as the layout and the player's settings say.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "persist/engine_settings.h"
#include "platform/message_queue.h"
#include "platform/virtual_keys.h"
#include "shell/display/shell_window_state.h"
#include "shell/display/window_procedure.h"
#include "shell/input/cursor_glide.h"
#include "shell/input/input_replay.h"
#include "shell/input/pad_mapping.h"
#include "shell/input/pad_translation.h"
#include "support/param_names.h"
#include "support/recorded_reports.h"

namespace vellum {
namespace {

// A translated message in the words of a replay line.
std::string padOutputText(const WindowMessage& m) {
  const auto at = [&] { return " " + std::to_string(m.x) + " " + std::to_string(m.y); };
  const char* button = m.button == MouseButton::Left ? "left" : m.button == MouseButton::Right ? "right" : "middle";
  switch (m.kind) {
    case MessageKind::KeyDown: return "keydown " + std::to_string(m.vk);
    case MessageKind::KeyUp: return "keyup " + std::to_string(m.vk);
    case MessageKind::ButtonDown: return std::string("press ") + button + at();
    case MessageKind::ButtonUp: return std::string("release ") + button + at();
    case MessageKind::Wheel: return "wheel " + std::to_string(m.wheelDelta / 120);
    case MessageKind::MenuRequest: return "menu";
    default: return "other";
  }
}

struct PadCase {
  const char* sentence;
  const char* lines;  // replay lines, all at time 0
  std::vector<std::string> expected;
  int32_t layout = 0;
  const char* buttons = "";
  int32_t enable = 1;
};

void PrintTo(const PadCase& c, std::ostream* out) { *out << c.sentence; }

class PadTranslation : public ::testing::TestWithParam<PadCase> {
 protected:
  void SetUp() override {
    resetSettings();
    resetPadInput();
    resetCursorGlide();
    resetMessageQueue();
    setPointerPosition(40, 50);
  }
  void TearDown() override {
    resetPadInput();
    resetSettings();
    resetMessageQueue();
  }
  test::RecordedReports reports;
};

TEST_P(PadTranslation, BecomesTheEnginesOwnInput) {
  const PadCase& c = GetParam();
  settings().padLayout = c.layout;
  settings().padButtons = c.buttons;
  settings().padEnable = c.enable;
  std::vector<ReplayedEvent> events;
  std::string error;
  ASSERT_TRUE(parseInputReplay(c.lines, events, error)) << error;
  std::vector<std::string> seen;
  for (const ReplayedEvent& e : events) {
    ASSERT_TRUE(isPadMessage(e.message.kind));
    for (const WindowMessage& m : translatePadMessage(e.message, 0)) seen.push_back(padOutputText(m));
  }
  EXPECT_EQ(seen, c.expected);
  EXPECT_TRUE(reports.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PadTranslation,
    ::testing::Values(
        PadCase{"the D-pad presses the arrow keys and lets go of them without a key release", "0 padpress dpup\n0 padrelease dpup\n0 padpress dpright\n",
                {"keydown 38", "keydown 39"}},
        PadCase{"A clicks where the pointer is", "0 padpress a\n0 padrelease a\n",
                {"press left 40 50", "release left 40 50"}},
        PadCase{"B is a right click", "0 padpress b\n0 padrelease b\n", {"press right 40 50", "release right 40 50"}},
        PadCase{"the shoulders switch auto and skip as Shift and Tab do",
                "0 padpress leftshoulder\n0 padrelease leftshoulder\n0 padpress rightshoulder\n"
                "0 padrelease rightshoulder\n",
                {"keydown 16", "keyup 16", "keydown 9", "keyup 9"}},
        PadCase{"Start asks for the menu bar once", "0 padpress start\n0 padrelease start\n", {"menu"}},
        PadCase{"a button no layout uses does nothing", "0 padpress x\n0 padrelease x\n0 padpress righttrigger\n", {}},
        PadCase{"on a Nintendo pad the right button confirms and the bottom one goes back",
                "0 padconnect nintendo\n0 padpress b\n0 padpress a\n", {"press left 40 50", "press right 40 50"}},
        PadCase{"PadLayout 1 keeps the common layout on a Nintendo pad", "0 padconnect nintendo\n0 padpress a\n",
                {"press left 40 50"}, 1},
        PadCase{"a handheld's triggers, back buttons and view button",
                "0 padconnect handheld\n0 padpress righttrigger\n0 padpress paddle2\n0 padpress paddle3\n"
                "0 padpress back\n",
                {"keydown 9", "keydown 16", "press left 40 50", "menu"}},
        PadCase{"PadLayout 3 gives any pad the handheld layout", "0 padpress lefttrigger\n", {"keydown 16"}, 3},
        PadCase{"the player's own buttons replace the layout's", "0 padpress y\n0 padpress a\n0 padpress x\n",
                {"keydown 32", "wheel -1"}, 0, "y:key32 a:none x:scrolltoward"},
        PadCase{"the left stick past the dead zone leans as the arrow keys",
                "0 padstick left 60 10\n0 padstick left 70 0\n0 padstick left 0 -90\n0 padstick left 0 0\n",
                {"keydown 39", "keydown 38"}},
        PadCase{"inside the dead zone a stick does nothing", "0 padstick left 30 -20\n0 padstick right 0 39\n", {}},
        PadCase{"the right stick scrolls as the wheel does", "0 padstick right 0 -80\n0 padstick right 0 0\n"
                "0 padstick right 5 100\n0 padstick right 100 0\n",
                {"wheel 1", "wheel -1"}},
        PadCase{"a pad pulled out lets go of what it held",
                "0 padpress dpleft\n0 padpress a\n0 padstick left 0 100\n0 paddisconnect\n",
                {"keydown 37", "press left 40 50", "keydown 40", "release left 40 50"}},
        PadCase{"PadEnable 0 leaves the pad out", "0 padpress a\n0 padpress dpup\n", {}, 0, "", 0}),
    test::namedBy([](const PadCase& c) { return c.sentence; }));

TEST_F(PadTranslation, AHeldDirectionRepeatsAfterTheDelayThenAtTheInterval) {
  WindowMessage down;
  down.kind = MessageKind::PadButtonDown;
  down.padButton = PadButton::DpadDown;
  EXPECT_EQ(translatePadMessage(down, 1000).size(), 1u);
  const auto repeatsAt = [](uint32_t ms) { return padRepeatsDue(ms).size(); };
  EXPECT_EQ(repeatsAt(1399), 0u);  // PadRepeatDelay 400
  EXPECT_EQ(repeatsAt(1400), 1u);
  EXPECT_EQ(repeatsAt(1549), 0u);  // PadRepeatInterval 150
  EXPECT_EQ(repeatsAt(1550), 1u);
  EXPECT_EQ(repeatsAt(5000), 1u);  // after a long stall, one step and not a burst
  WindowMessage up = down;
  up.kind = MessageKind::PadButtonUp;
  translatePadMessage(up, 5001);
  EXPECT_EQ(repeatsAt(9000), 0u);
}

TEST_F(PadTranslation, ADirectionIsHeldAsItsArrowKeyUntilLetGo) {
  WindowMessage m;
  m.kind = MessageKind::PadButtonDown;
  m.padButton = PadButton::DpadLeft;
  ASSERT_TRUE(takePadMessage(m));
  EXPECT_TRUE(keyHeld(vk::Left));
  m.kind = MessageKind::PadButtonUp;
  ASSERT_TRUE(takePadMessage(m));
  EXPECT_FALSE(keyHeld(vk::Left));
}

TEST_F(PadTranslation, TheMenuButtonBringsTheMenuBarEvenWhenItIsPinnedAndTakesItAway) {
  settings().menuLock1 = 1;  // a window whose bar otherwise comes only with the pointer at the top
  WindowMessage m;
  m.kind = MessageKind::MenuRequest;
  windowProcedure(m);
  EXPECT_EQ(m.kind, MessageKind::None);
  EXPECT_NE(shellWindow().menuPopupState, 0);
  m.kind = MessageKind::MenuRequest;
  windowProcedure(m);
  EXPECT_EQ(shellWindow().menuPopupState, 0);
  resetShellWindow();
}

TEST_F(PadTranslation, UnreadableButtonWordsAreSaidOnceAndTheRestApplies) {
  settings().padButtons = "q:click y x:jump y:key300 x:key13";
  WindowMessage press;
  press.kind = MessageKind::PadButtonDown;
  press.padButton = PadButton::X;
  ASSERT_EQ(translatePadMessage(press, 0).size(), 1u);
  press.kind = MessageKind::PadButtonUp;
  translatePadMessage(press, 0);
  press.kind = MessageKind::PadButtonDown;
  press.padKind = PadKind::Nintendo;  // another pad: its own layout, the same words
  translatePadMessage(press, 0);
  ASSERT_EQ(reports.lines.size(), 1u);
  EXPECT_EQ(reports.lines[0],
            "PadButtons: q:click: no pad button is called that; y: it needs button:action; x:jump: no action is "
            "called that; y:key300: no action is called that");
}

}  // namespace
}  // namespace vellum
