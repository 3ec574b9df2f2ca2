#include "shell/input/pad_translation.h"

#include <array>
#include <string>

#include "base/clock.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "platform/message_queue.h"
#include "platform/virtual_keys.h"
#include "shell/input/cursor_glide.h"
#include "shell/input/pad_mapping.h"
#include "shell/input/pad_stick.h"

namespace vellum {

namespace {

struct HeldStick {
  StickLean lean = StickLean::None;
  PadAction action = PadAction::None;
  HeldRepeat repeat;
};

struct PadInputState {
  // What each button did when it went down: its release undoes that, whatever the mapping is by then.
  std::array<PadBinding, kPadButtons> held{};
  std::array<bool, kPadButtons> down{};
  std::array<HeldRepeat, kPadButtons> repeat{};
  std::array<HeldStick, 2> sticks{};
  // The mapping last built, and what it was built from.
  bool built = false;
  int32_t layoutSetting = 0;
  PadKind kind = PadKind::Standard;
  std::string words;
  PadMapping mapping{};
  std::string reportedWords;  // the setting's text whose unreadable words were last said
};

PadInputState pad;

const PadMapping& mappingFor(PadKind kind) {
  const EngineSettings& s = settings();
  if (pad.built && pad.layoutSetting == s.padLayout && pad.kind == kind && pad.words == s.padButtons) return pad.mapping;
  pad.built = true;
  pad.layoutSetting = s.padLayout;
  pad.kind = kind;
  pad.words = s.padButtons;
  pad.mapping = defaultPadMapping(layoutFor(s.padLayout, kind));
  const std::string problems = applyPadOverrides(pad.mapping, s.padButtons);
  // Said once for each text of the setting, as a pad is first used with it.
  if (!problems.empty() && pad.reportedWords != s.padButtons) {
    pad.reportedWords = s.padButtons;
    errord(ReportText().ascii("PadButtons: ").gbk(problems), false);
  }
  return pad.mapping;
}

bool isDirection(PadAction a) {
  return a == PadAction::Up || a == PadAction::Down || a == PadAction::Left || a == PadAction::Right;
}

bool repeats(PadAction a) { return isDirection(a) || a == PadAction::ScrollAway || a == PadAction::ScrollToward; }

int32_t keyOf(const PadBinding& b) {
  switch (b.action) {
    case PadAction::Up: return vk::Up;
    case PadAction::Down: return vk::Down;
    case PadAction::Left: return vk::Left;
    case PadAction::Right: return vk::Right;
    case PadAction::Skip: return vk::Tab;
    case PadAction::Auto: return vk::Shift;
    case PadAction::Key: return b.vk;
    default: return 0;
  }
}

WindowMessage key(MessageKind kind, int32_t vk) {
  WindowMessage m;
  m.kind = kind;
  m.vk = vk;
  return m;
}

// A click lands on the button the pointer is gliding to, not on its way there.
WindowMessage click(MessageKind kind, MouseButton button) {
  if (cursorGlideRunning()) stepCursorGlideAt(cursorGlideStart() + cursorGlideLength());
  WindowMessage m;
  m.kind = kind;
  m.button = button;
  int x = 0, y = 0;
  pointerPosition(x, y);
  m.x = x;
  m.y = y;
  return m;
}

WindowMessage wheel(int32_t notches) {
  WindowMessage m;
  m.kind = MessageKind::Wheel;
  m.wheelDelta = notches * 120;
  return m;
}

// What an action does as its button goes down (and again at each repeat).
void press(const PadBinding& b, std::vector<WindowMessage>& out) {
  switch (b.action) {
    case PadAction::None: return;
    case PadAction::Click: out.push_back(click(MessageKind::ButtonDown, MouseButton::Left)); return;
    case PadAction::RightClick: out.push_back(click(MessageKind::ButtonDown, MouseButton::Right)); return;
    case PadAction::Menu: out.push_back(key(MessageKind::MenuRequest, 0)); return;
    case PadAction::ScrollAway: out.push_back(wheel(1)); return;
    case PadAction::ScrollToward: out.push_back(wheel(-1)); return;
    default: out.push_back(key(MessageKind::KeyDown, keyOf(b))); return;
  }
}

void release(const PadBinding& b, std::vector<WindowMessage>& out) {
  // An arrow key's release reaches the game as a release at the button the pointer glided to, which
  // games take for a click there (or, between buttons, for a click that turns the page): a pad's
  // direction only lets go of the key.
  if (isDirection(b.action)) {
    releaseHeldKey(keyOf(b));
    return;
  }
  switch (b.action) {
    case PadAction::Click: out.push_back(click(MessageKind::ButtonUp, MouseButton::Left)); return;
    case PadAction::RightClick: out.push_back(click(MessageKind::ButtonUp, MouseButton::Right)); return;
    default:
      if (const int32_t vk = keyOf(b)) out.push_back(key(MessageKind::KeyUp, vk));
      return;
  }
}

void buttonDown(PadButton button, PadKind kind, uint32_t nowMs, std::vector<WindowMessage>& out) {
  const auto i = static_cast<size_t>(button);
  if (pad.down[i]) return;  // a second pad pressing the same button
  const PadBinding b = mappingFor(kind)[i];
  pad.down[i] = true;
  pad.held[i] = b;
  press(b, out);
  if (repeats(b.action)) pad.repeat[i].start(nowMs, settings().padRepeatDelay);
}

void buttonUp(PadButton button, std::vector<WindowMessage>& out) {
  const auto i = static_cast<size_t>(button);
  if (!pad.down[i]) return;
  pad.down[i] = false;
  pad.repeat[i].stop();
  release(pad.held[i], out);
}

// The left stick leans as the D-pad presses; the right one scrolls up and down.
PadAction stickAction(PadStick stick, StickLean lean) {
  if (stick == PadStick::Right) {
    if (lean == StickLean::Up) return PadAction::ScrollAway;
    if (lean == StickLean::Down) return PadAction::ScrollToward;
    return PadAction::None;
  }
  switch (lean) {
    case StickLean::Up: return PadAction::Up;
    case StickLean::Down: return PadAction::Down;
    case StickLean::Left: return PadAction::Left;
    case StickLean::Right: return PadAction::Right;
    case StickLean::None: break;
  }
  return PadAction::None;
}

void stickMoved(const WindowMessage& m, uint32_t nowMs, std::vector<WindowMessage>& out) {
  HeldStick& held = pad.sticks[static_cast<size_t>(m.padStick)];
  const StickLean lean = stickLean(m.x, m.y, settings().padDeadZone);
  if (lean == held.lean) return;
  release({held.action, 0}, out);
  held.repeat.stop();
  held.lean = lean;
  held.action = stickAction(m.padStick, lean);
  if (held.action == PadAction::None) return;
  press({held.action, 0}, out);
  held.repeat.start(nowMs, settings().padRepeatDelay);
}

// A pad pulled out lets go of everything it held, so no key or button stays down.
void releaseAll(std::vector<WindowMessage>& out) {
  for (int i = 0; i < kPadButtons; ++i) buttonUp(static_cast<PadButton>(i), out);
  for (HeldStick& held : pad.sticks) {
    release({held.action, 0}, out);
    held = HeldStick{};
  }
}

}  // namespace

bool isPadMessage(MessageKind kind) {
  return kind == MessageKind::PadConnected || kind == MessageKind::PadDisconnected ||
         kind == MessageKind::PadButtonDown || kind == MessageKind::PadButtonUp || kind == MessageKind::PadStick;
}

std::vector<WindowMessage> translatePadMessage(const WindowMessage& m, uint32_t nowMs) {
  std::vector<WindowMessage> out;
  if (!settings().padEnable) {
    releaseAll(out);
    return out;
  }
  switch (m.kind) {
    case MessageKind::PadButtonDown: buttonDown(m.padButton, m.padKind, nowMs, out); break;
    case MessageKind::PadButtonUp: buttonUp(m.padButton, out); break;
    case MessageKind::PadStick: stickMoved(m, nowMs, out); break;
    case MessageKind::PadDisconnected: releaseAll(out); break;
    default: break;
  }
  return out;
}

std::vector<WindowMessage> padRepeatsDue(uint32_t nowMs) {
  std::vector<WindowMessage> out;
  const int32_t interval = settings().padRepeatInterval;
  for (size_t i = 0; i < pad.repeat.size(); ++i)
    while (pad.repeat[i].due(nowMs, interval)) press(pad.held[i], out);
  for (HeldStick& held : pad.sticks)
    while (held.repeat.due(nowMs, interval)) press({held.action, 0}, out);
  return out;
}

bool takePadMessage(const WindowMessage& m) {
  if (!isPadMessage(m.kind)) return false;
  for (WindowMessage& posted : translatePadMessage(m, tickMilliseconds())) postWindowMessage(std::move(posted));
  return true;
}

void postPadRepeats() {
  for (WindowMessage& posted : padRepeatsDue(tickMilliseconds())) postWindowMessage(std::move(posted));
}

void resetPadInput() { pad = PadInputState{}; }

}  // namespace vellum
