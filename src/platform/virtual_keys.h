// Windows virtual-key numbers for SDL's keys, which scripts use for key events and getPushKey.
#pragma once

#include <cstdint>

namespace vellum {

// Virtual-key numbers the engine itself looks at.
namespace vk {
constexpr int32_t LButton = 0x01, RButton = 0x02, MButton = 0x04, XButton1 = 0x05, XButton2 = 0x06;
constexpr int32_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12;
constexpr int32_t Escape = 0x1B, Space = 0x20, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
constexpr int32_t F5 = 0x74, F10 = 0x79;
constexpr int32_t LShift = 0xA0, RShift = 0xA1, LControl = 0xA2, RControl = 0xA3, LMenu = 0xA4, RMenu = 0xA5;
}  // namespace vk

// The number a key message carries (modifiers as the generic Shift, Control and Menu), from an SDL
// scancode; 0 for keys Windows has no number for.
int32_t virtualKeyForScancode(int scancode);

// The left/right-specific number of a modifier key (LShift ... RMenu), else the key's own number.
int32_t sidedVirtualKey(int scancode);

}  // namespace vellum
