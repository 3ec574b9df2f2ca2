// What each pad button does: a small table per layout (the common one, the Nintendo one with the
// confirming button on the right, and the handheld PCs' with their triggers and back buttons),
// which the player's settings may change button by button. The sticks are fixed: the left one
// moves between buttons, the right one scrolls.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_message.h"

namespace vellum {

// Every action stands for input the engine already has.
enum class PadAction : uint8_t {
  None,
  Up, Down, Left, Right,  // the arrow keys
  Click,                  // the left mouse button where the pointer is
  RightClick,
  Skip,  // Tab
  Auto,  // Shift
  Menu,  // the menu bar
  ScrollAway, ScrollToward,  // a wheel notch
  Key,   // any key, by its virtual-key number
};

struct PadBinding {
  PadAction action = PadAction::None;
  int32_t vk = 0;  // the key of PadAction::Key
  bool operator==(const PadBinding&) const = default;
};

// The PadLayout setting: 0 by the kind of pad, else one layout for every pad.
enum class PadLayout : int32_t { ByPad = 0, Standard = 1, Nintendo = 2, Handheld = 3 };

using PadMapping = std::array<PadBinding, kPadButtons>;

PadLayout layoutFor(int32_t setting, PadKind kind);
PadMapping defaultPadMapping(PadLayout layout);

// Applies the PadButtons setting, words of "button:action" apart by spaces ("y:key32 back:menu").
// Returns the words it could not read, with why, or "" (the readable words are applied).
std::string applyPadOverrides(PadMapping& mapping, std::string_view words);

// SDL's names of the buttons ("a", "dpup", "leftshoulder", "righttrigger" ...).
std::string_view padButtonName(PadButton button);
bool padButtonNamed(std::string_view name, PadButton& button);

}  // namespace vellum
