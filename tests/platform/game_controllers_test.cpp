// Game controllers through SDL: a pad plugged in while the game runs (SDL's virtual pad stands in
// for one) is opened, its buttons, triggers and sticks arrive as pad messages, and pulling it out
// is said too.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "platform/game_controllers.h"
#include "support/wait_until.h"

namespace vellum {
namespace {

class GameControllers : public ::testing::Test {
 protected:
  void SetUp() override { startGameControllers(); }
  void TearDown() override { stopGameControllers(); }

  // Translates SDL's pending events until a message of the kind comes (or the deadline passes).
  bool padMessage(MessageKind kind, WindowMessage& found) {
    return test::waitUntil([&] {
      SDL_Event e;
      while (SDL_PollEvent(&e)) {
        WindowMessage m;
        if (translateControllerEvent(e, m) && m.kind == kind) {
          found = m;
          return true;
        }
      }
      return false;
    });
  }
};

TEST_F(GameControllers, APadPluggedInDuringTheGameIsHeardUntilItIsPulledOut) {
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                              SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  WindowMessage m;
  ASSERT_TRUE(padMessage(MessageKind::PadConnected, m));
  EXPECT_EQ(m.padKind, PadKind::Standard);
  SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
  ASSERT_NE(stick, nullptr);

  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
  ASSERT_TRUE(padMessage(MessageKind::PadButtonDown, m));
  EXPECT_EQ(m.padButton, PadButton::A);

  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 30000);
  ASSERT_TRUE(padMessage(MessageKind::PadStick, m));
  EXPECT_EQ(m.padStick, PadStick::Left);
  EXPECT_EQ(m.x, 30000);
  EXPECT_EQ(m.y, 0);

  // A trigger is a button past half its travel (a virtual pad's trigger rests at -32768).
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000);
  ASSERT_TRUE(padMessage(MessageKind::PadButtonDown, m));
  EXPECT_EQ(m.padButton, PadButton::RightTrigger);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
  ASSERT_TRUE(padMessage(MessageKind::PadButtonUp, m));
  EXPECT_EQ(m.padButton, PadButton::RightTrigger);

  ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
  ASSERT_TRUE(padMessage(MessageKind::PadDisconnected, m));
}

}  // namespace
}  // namespace vellum
