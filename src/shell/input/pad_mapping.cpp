#include "shell/input/pad_mapping.h"

#include <charconv>

namespace vellum {

namespace {

using B = PadButton;
using A = PadAction;

constexpr std::string_view kButtonNames[kPadButtons] = {
    "a",         "b",           "x",          "y",           "back",   "guide",        "start",   "leftstick",
    "rightstick", "leftshoulder", "rightshoulder", "dpup",     "dpdown", "dpleft",       "dpright", "misc1",
    "paddle1",   "paddle2",     "paddle3",    "paddle4",     "touchpad", "lefttrigger", "righttrigger",
};

struct ActionName {
  std::string_view name;
  PadAction action;
};

constexpr ActionName kActionNames[] = {
    {"none", A::None},   {"up", A::Up},     {"down", A::Down},           {"left", A::Left},
    {"right", A::Right}, {"click", A::Click}, {"rightclick", A::RightClick}, {"skip", A::Skip},
    {"auto", A::Auto},   {"menu", A::Menu}, {"scrollaway", A::ScrollAway}, {"scrolltoward", A::ScrollToward},
};

void bind(PadMapping& m, PadButton button, PadAction action) { m[static_cast<size_t>(button)] = {action, 0}; }

// The common layout: the D-pad as the arrow keys, the bottom face button confirms, the right one
// goes back, the shoulders switch auto and skip, Start brings the menu bar.
PadMapping standardLayout() {
  PadMapping m{};
  bind(m, B::DpadUp, A::Up);
  bind(m, B::DpadDown, A::Down);
  bind(m, B::DpadLeft, A::Left);
  bind(m, B::DpadRight, A::Right);
  bind(m, B::A, A::Click);
  bind(m, B::B, A::RightClick);
  bind(m, B::LeftShoulder, A::Auto);
  bind(m, B::RightShoulder, A::Skip);
  bind(m, B::Start, A::Menu);
  return m;
}

bool readAction(std::string_view word, PadBinding& binding) {
  for (const ActionName& a : kActionNames) {
    if (a.name == word) {
      binding = {a.action, 0};
      return true;
    }
  }
  // "keyN": the key with virtual-key number N.
  if (word.size() < 4 || word.substr(0, 3) != "key") return false;
  int32_t vk = 0;
  const auto digits = word.substr(3);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), vk);
  if (error != std::errc() || end != digits.data() + digits.size() || vk < 1 || vk > 255) return false;
  binding = {A::Key, vk};
  return true;
}

}  // namespace

PadLayout layoutFor(int32_t setting, PadKind kind) {
  if (setting >= 1 && setting <= 3) return static_cast<PadLayout>(setting);
  switch (kind) {
    case PadKind::Nintendo: return PadLayout::Nintendo;
    case PadKind::Handheld: return PadLayout::Handheld;
    case PadKind::Standard: break;
  }
  return PadLayout::Standard;
}

PadMapping defaultPadMapping(PadLayout layout) {
  PadMapping m = standardLayout();
  if (layout == PadLayout::Nintendo) {
    // Nintendo's A (the right button) confirms and its B (the bottom one) goes back.
    bind(m, B::B, A::Click);
    bind(m, B::A, A::RightClick);
  } else if (layout == PadLayout::Handheld) {
    // Small shoulders: the triggers and the back buttons switch the modes too, the lower back
    // buttons click, and the view button beside the screen brings the menu bar as Start does.
    bind(m, B::LeftTrigger, A::Auto);
    bind(m, B::RightTrigger, A::Skip);
    bind(m, B::Paddle1, A::Skip);
    bind(m, B::Paddle2, A::Auto);
    bind(m, B::Paddle3, A::Click);
    bind(m, B::Paddle4, A::RightClick);
    bind(m, B::Back, A::Menu);
  }
  return m;
}

std::string applyPadOverrides(PadMapping& mapping, std::string_view words) {
  std::string problems;
  size_t at = 0;
  while (at < words.size()) {
    const size_t start = words.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    size_t end = words.find_first_of(" \t", start);
    if (end == std::string_view::npos) end = words.size();
    at = end;
    const std::string_view word = words.substr(start, end - start);
    const size_t colon = word.find(':');
    PadButton button{};
    PadBinding binding;
    std::string why;
    if (colon == std::string_view::npos) why = "it needs button:action";
    else if (!padButtonNamed(word.substr(0, colon), button)) why = "no pad button is called that";
    else if (!readAction(word.substr(colon + 1), binding)) why = "no action is called that";
    if (!why.empty()) {
      problems += (problems.empty() ? "" : "; ") + std::string(word) + ": " + why;
      continue;
    }
    mapping[static_cast<size_t>(button)] = binding;
  }
  return problems;
}

std::string_view padButtonName(PadButton button) { return kButtonNames[static_cast<size_t>(button)]; }

bool padButtonNamed(std::string_view name, PadButton& button) {
  for (int i = 0; i < kPadButtons; ++i) {
    if (kButtonNames[i] == name) {
      button = static_cast<PadButton>(i);
      return true;
    }
  }
  return false;
}

}  // namespace vellum
