// What the window system tells the engine, in the shape the shell's window procedure and event
// source read: one record per message. Real input (SDL events) and replayed input both arrive as
// these records through postWindowMessage.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

enum class MessageKind : uint8_t {
  None,          // consumed, or nothing was there
  Quit,          // the engine was asked to end (SIGINT, SIGTERM)
  CloseRequest,  // the window's close button or the window manager's close
  Activate,
  Deactivate,
  Minimized,
  Maximized,
  Restored,
  Moved,        // x, y: the window's new screen position
  SizeChanged,  // x, y: the new client size
  DisplayChange,
  Paint,  // the window's picture was lost and must be drawn again
  MouseMove,  // x, y: client pixels
  ButtonDown,
  ButtonUp,
  Wheel,  // wheelDelta: +120 per notch away from the user
  KeyDown,
  KeyUp,
  SysKeyDown,  // with Alt held, Alt itself and F10
  SysKeyUp,
  DropFile,  // path: UTF-8 from the system, GBK after the shell converts it
  // Game controllers; the shell turns them into the messages above before the input loop sees them.
  PadConnected,  // a pad was plugged in, or was there when the engine started
  PadDisconnected,
  PadButtonDown,  // padButton
  PadButtonUp,
  PadStick,  // padStick; x, y: its position, -32768..32767, + right and down
  MenuRequest,  // the player asked for the menu bar (a pad's menu button)
};

enum class MouseButton : uint8_t { Left, Right, Middle };

// A pad's buttons by position in the common layout (A the bottom face button, B the right, X the
// left, Y the top), whatever the pad prints on them. The triggers count as buttons.
enum class PadButton : uint8_t {
  A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder,
  DpadUp, DpadDown, DpadLeft, DpadRight, Misc1, Paddle1, Paddle2, Paddle3, Paddle4, Touchpad,
  LeftTrigger, RightTrigger,
};
constexpr int kPadButtons = 23;

enum class PadStick : uint8_t { Left, Right };

// What kind of pad sent a message, for the choice of its default layout.
enum class PadKind : uint8_t { Standard, Nintendo, Handheld };

struct WindowMessage {
  MessageKind kind = MessageKind::None;
  int32_t x = 0, y = 0;
  MouseButton button = MouseButton::Left;
  int32_t wheelDelta = 0;
  int32_t vk = 0;       // Windows virtual-key number of the key (Shift, Control and Menu generic)
  int32_t sidedVk = 0;  // the left/right number of a modifier; 0: the same as vk
  std::string path;
  PadButton padButton = PadButton::A;
  PadStick padStick = PadStick::Left;
  PadKind padKind = PadKind::Standard;
  bool replayed = false;  // posted by the input replay, not the window system
};

}  // namespace vellum
