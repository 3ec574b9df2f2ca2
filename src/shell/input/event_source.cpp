// One pass of the event source, step by step in its fixed order: the inactive window, the pointer
// and hover test, power saving, the leave event, a pending mode change, one message, the idle
// checks.
#include "shell/input/event_source.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "base/clock.h"
#include "platform/main_window.h"
#include "platform/message_queue.h"
#include "platform/system_cursor.h"
#include "platform/virtual_keys.h"
#include "script/script_state.h"
#include "shell/input/button_navigation.h"
#include "shell/display/coordinate_mapping.h"
#include "shell/input/cursor_glide.h"
#include "shell/services/find_request.h"
#include "shell/services/speech_service.h"
#include "shell/input/input_buttons.h"
#include "shell/input/input_replay.h"
#include "shell/input/input_state.h"
#include "shell/input/message_pumps.h"
#include "shell/display/screen_geometry.h"
#include "shell/shell_hooks.h"
#include "shell/display/shell_window_state.h"
#include "script/read_mode.h"

namespace vellum {

namespace {

constexpr int32_t kSystemActivePause = 1;
constexpr uint32_t kPowerSaverInterval = 30000;

uint32_t autoAdvanceDeadline = 0;

InputEvent triple(int32_t owner, int32_t code, int32_t state) {
  InputEvent e;
  e.owner = owner;
  e.code = code;
  e.state = state;
  return e;
}

InputEvent advanceEvent() {
  readMode().transientSkip = true;
  return triple(-1, 1, kRelease);
}

// The hover test of one button at the pointer.
bool underPointer(const InputButton& b, int32_t x, int32_t y) {
  // A rectangle button (no sprite) is always there; a sprite button only while its sprite is drawn.
  if (b.sprite >= 0 && !buttonSpriteHoverable(b.sprite)) return false;
  if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
  if (b.alphaThreshold == 0) return true;
  // A position outside the sprite's picture is transparent.
  const int32_t alpha = buttonSpriteAlpha(b.sprite, x, y);
  return (alpha < 0 ? 0 : alpha) >= b.alphaThreshold;
}

void showTooltipFor(const InputButton& b) {
  int32_t left = b.left, top = b.top, right = b.right, bottom = b.bottom;
  displayPosition(left, top);
  displayPosition(right, bottom);
  showButtonTooltip(left, top, right, bottom, b.tooltip);
  speakFocus(b.id, b.tooltip.empty() ? buttonLabel(b.sprite) : b.tooltip);
}

// Hides the pointer after CursorClear ms of stillness and shows it again on the next movement.
void hideIdlePointer(int32_t x, int32_t y) {
  InputState& in = inputState();
  const int32_t after = settings().cursorClear;
  if (after == 0) return;
  const uint32_t now = tickMilliseconds();
  const bool moved = !in.pointerSeen || x != in.lastPointerX || y != in.lastPointerY;
  if (!moved) {
    if (in.cursorShown && now - in.lastMoveTime > static_cast<uint32_t>(after)) {
      showPointer(false);
      in.cursorShown = 0;
    }
    return;
  }
  in.pointerSeen = true;
  in.lastPointerX = x;
  in.lastPointerY = y;
  in.lastMoveTime = now;
  if (!in.cursorShown) {
    showPointer(true);
    in.cursorShown = 1;
  }
}

void panZoomMode() {
  const EngineSettings& s = settings();
  if (!s.fullScreen || s.fullMode != 4) return;
  const ScreenGeometry& g = screenGeometry();
  int px = 0, py = 0;
  pointerPosition(px, py);
  // Full screen, the client area is the monitor.
  panZoomView(px + g.monLeft, py + g.monTop);
}

// Step 2's hover walk. True with an event to return.
bool hoverTest(int32_t x, int32_t y, InputEvent& out) {
  InputState& in = inputState();
  for (const InputButton& b : inputButtons()) {
    if (!underPointer(b, x, y)) continue;
    in.hoverLost = 0;
    if (in.currentButton >= 0 && in.currentButton != b.id) {
      removeButtonTooltip();
      forgetSpokenFocus();
      out = triple(in.currentButton, 0, kLeave);
      in.currentButton = -1;
      return true;
    }
    if (in.currentButton == b.id) return false;
    showTooltipFor(b);
    in.currentButton = b.id;
    out = triple(b.id, 0, kEnter);
    return true;
  }
  return false;
}

ArrowKey arrowFor(int32_t key) {
  switch (key) {
    case vk::Up: return ArrowKey::Up;
    case vk::Down: return ArrowKey::Down;
    case vk::Left: return ArrowKey::Left;
    default: return ArrowKey::Right;
  }
}

int32_t directionFlag(ArrowKey key) {
  switch (key) {
    case ArrowKey::Up: return 1;
    case ArrowKey::Down: return 2;
    case ArrowKey::Left: return 4;
    case ArrowKey::Right: return 8;
  }
  return 0;
}

// Arrow keys move between buttons. True with an event; consumed tells whether the message is used.
bool arrowKey(int32_t key, InputEvent& out) {
  InputState& in = inputState();
  if (inputButtons().empty() || cursorGlideRunning() || readMode().windowVisible == 2) return false;
  const ArrowKey arrow = arrowFor(key);
  const int32_t previous = in.currentButton;
  const InputButton* current = previous >= 0 ? findInputButton(previous) : nullptr;
  if (current && (current->directions & directionFlag(arrow))) {
    out = triple(previous, key, kPress);
    return true;
  }
  int32_t x = 0, y = 0;
  pointerInGame(x, y);
  const ScreenGeometry& g = screenGeometry();
  if (const InputButton* next = chooseNextButton(arrow, current, x, y, g.renderW, g.renderH))
    moveCursorTo(next->targetX, next->targetY, settings().cursorMove * 4, true);
  clearCurrentMessage();
  if (previous >= 0) {
    in.currentButton = previous;
    out = triple(previous, key, kLeave);
    return true;
  }
  return false;
}

// Step 7's examination of the message. True with an event.
bool examineMessage(bool holdKeys, bool wantText, InputEvent& out) {
  InputState& in = inputState();
  ReadModeState& r = readMode();
  WindowMessage& m = currentMessage();
  const int32_t owner = in.currentButton;
  bool event = true;
  switch (m.kind) {
    case MessageKind::ButtonDown:
      interruptSpeech();  // a click stops what is being read aloud
      if (m.button == MouseButton::Left) {
        in.pressedButton = owner;
        out = triple(owner, 1, kPress);
      } else if (m.button == MouseButton::Right) {
        out = triple(-1, 2, kPress);
      } else if (holdKeys) {
        out = advanceEvent();
      } else {
        out = triple(owner, 4, kPress);
      }
      break;
    case MessageKind::ButtonUp:
      if (m.button == MouseButton::Left) {
        if (in.pressedButton != owner) return false;
        out = triple(owner, 1, kRelease);
        in.currentButton = -1;
        r.transientSkip = r.skipActive;
      } else if (m.button == MouseButton::Right) {
        if (!r.autoActive && !r.skipActive) {
          out = triple(-1, 2, kRelease);
          break;
        }
        // Right-click ends auto and skip; the mode event comes on the next pass.
        allModesOff();
        event = false;
      } else {
        if (holdKeys) r.transientSkip = false;
        out = triple(owner, 4, kRelease);
      }
      break;
    case MessageKind::KeyDown:
      if (m.vk == vk::Return) {
        interruptSpeech();
        out = triple(owner, owner >= 0 ? 1 : 13, kPress);
      } else if (m.vk == vk::Control) {
        if (holdKeys && windowActive()) {
          out = advanceEvent();
        } else {
          out = triple(owner, 17, kPress);
        }
      } else if (m.vk == vk::Left || m.vk == vk::Up || m.vk == vk::Right || m.vk == vk::Down) {
        return arrowKey(m.vk, out);
      } else if (m.vk != 0) {
        out = triple(owner, m.vk, kPress);
      } else {
        return false;
      }
      break;
    case MessageKind::KeyUp:
      if (m.vk == vk::Return) {
        out = triple(owner, owner >= 0 ? 1 : 13, kRelease);
        in.currentButton = -1;
        r.transientSkip = r.skipActive;
      } else if (m.vk == vk::Control) {
        r.transientSkip = false;
        out = triple(owner, 17, kRelease);
      } else if (m.vk != 0) {
        out = triple(owner, m.vk, kRelease);
      } else {
        return false;
      }
      break;
    case MessageKind::SysKeyDown:
    case MessageKind::SysKeyUp:
      if (m.vk != vk::F10) return false;
      out = triple(owner, 121, m.kind == MessageKind::SysKeyDown ? kPress : kRelease);
      break;
    case MessageKind::Wheel: {
      const int32_t threshold = shellWindow().wheelThreshold;
      if (threshold == 0) return false;
      in.wheelAccumulator += m.wheelDelta;
      if (in.wheelAccumulator >= threshold) {
        out = triple(owner, 0, kWheelAway);
        in.wheelAccumulator = 0;
      } else if (in.wheelAccumulator <= -threshold) {
        out = triple(owner, 0, kWheelToward);
        in.wheelAccumulator = 0;
        r.transientSkip = r.skipActive;
      } else {
        return false;
      }
      break;
    }
    case MessageKind::DropFile:
      if (m.path.empty()) return false;
      out = triple(kDropEvent, kDropEvent, kDropEvent);
      if (wantText) out.text = m.path.substr(0, 260);
      break;
    default: return false;
  }
  if (event) clearCurrentMessage();
  return event;
}

// Step 8.
InputEvent idleChecks(bool holdKeys, bool wantText) {
  ShellWindowState& w = shellWindow();
  ReadModeState& r = readMode();
  InputState& in = inputState();
  if (w.findDialogSignal) {
    w.findDialogSignal = 0;
    const FindRequest& find = findRequest();
    InputEvent e = triple(kFindEvent, find.reportedFlags, 0);
    if (wantText) e.text = find.text;
    return e;
  }
  if (w.closeRequest) {
    const int32_t state = w.closeRequest - 1;
    w.closeRequest = 0;
    return triple(kCloseEvent, kCloseEvent, state);
  }
  if (w.aspectChanged) {
    w.aspectChanged = 0;
    return triple(kAspectEvent, kAspectEvent, settings().screenAspect);
  }
  if (r.skipActive || scriptState().fastForwardMode) return advanceEvent();
  if (w.fullScreenChanged) {
    w.fullScreenChanged = 0;
    return triple(kFullScreenEvent, kFullScreenEvent, settings().fullScreen);
  }
  if (holdKeys && keyHeld(vk::MButton) && windowActive()) return advanceEvent();
  if (r.autoActive && autoAdvanceDeadline) {
    in.autoTickToggle ^= 1;
    if (in.autoTickToggle && static_cast<int32_t>(tickMilliseconds() - autoAdvanceDeadline) > 0) {
      r.transientSkip = false;
      return triple(kAutoAdvanceEvent, kAutoAdvanceEvent, 3);
    }
  }
  return InputEvent{};
}

}  // namespace

void setAutoAdvanceDeadline(uint32_t deadlineMs) { autoAdvanceDeadline = deadlineMs; }

namespace {

// Milliseconds from now until `due`, 0 when it has passed.
uint32_t until(uint32_t due, uint32_t now) {
  const int32_t left = static_cast<int32_t>(due - now);
  return left > 0 ? static_cast<uint32_t>(left) : 0;
}

// Whether the next pass gives an event without any message: nothing to wait for.
bool passesGiveEvents() {
  const ReadModeState& r = readMode();
  return r.skipActive || scriptState().fastForwardMode || r.pendingModeEvent != 0 || keyHeld(vk::MButton) ||
         keyHeld(vk::Control) || cursorGlideRunning() || shellWindow().closeRequest ||
         shellWindow().findDialogSignal || shellWindow().aspectChanged || shellWindow().fullScreenChanged;
}

}  // namespace

void waitForNextInput(uint32_t capMs) {
  // A clock of the tests' own does not move while we wait, and a busy loop wants the core back soon.
  if (tickSourceReplaced() || passesGiveEvents()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return;
  }
  const uint32_t now = tickMilliseconds();
  uint32_t wait = capMs;
  uint32_t replayDue = 0;
  if (nextReplayedEventAt(replayDue)) wait = std::min(wait, until(replayDue, now));
  // The advance fires on the passes after the deadline (the idle checks want it passed).
  if (readMode().autoActive && autoAdvanceDeadline) wait = std::min(wait, until(autoAdvanceDeadline + 1, now));
  waitForWindowMessage(wait);
}

InputEvent nextInputEvent(bool holdKeys, bool wantText) {
  noteWaitForPlayer();
  InputState& in = inputState();
  EngineSettings& s = settings();
  InputEvent out;
  // 1. An inactive window: frozen until activated when SystemActive asks for it.
  bool pointerPass = true;
  while (!windowActive()) {
    in.hoverLost = 1;
    pointerPass = false;
    if (!(s.systemActive & kSystemActivePause) || !mainWindowExists()) break;
    if (pumpOneMessage() == PumpResult::Quit) {
      engine().quitFlag = 1;
      return out;
    }
    markCurrentMessageExamined();
    if (windowActive()) {
      pointerPass = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // 2. The pointer, an idle pointer, zoom panning and the hover test.
  if (pointerPass) {
    in.hoverLost = 1;
    if (!cursorGlideRunning()) {
      int32_t x = 0, y = 0;
      pointerInGame(x, y);
      hideIdlePointer(x, y);
      panZoomMode();
      if (hoverTest(x, y, out)) return out;
    }
  }
  // 4. Power saving: keep the screen saver away.
  const uint32_t now = tickMilliseconds();
  if (s.powerSaver && static_cast<int32_t>(now - in.powerSaverDeadline) >= 0) {
    in.powerSaverDeadline = now + kPowerSaverInterval;
    keepDisplayAwake(true);
  }
  // 5. The pointer left the current button.
  if (in.hoverLost && in.currentButton >= 0) {
    out = triple(in.currentButton, 0, kLeave);
    in.currentButton = -1;
    removeButtonTooltip();
    forgetSpokenFocus();
    return out;
  }
  // 6. A mode change waiting to be told.
  ReadModeState& r = readMode();
  if (r.pendingModeEvent != 0) {
    const int32_t code = r.pendingModeEvent;
    r.pendingModeEvent = 0;
    return triple(kModeEvent, code >> 4, (code & 7) - 1);
  }
  // 7. One message.
  if (pumpOneMessage() == PumpResult::Quit) {
    engine().quitFlag = 1;
    return out;
  }
  if (currentMessageFresh()) {
    markCurrentMessageExamined();
    if (examineMessage(holdKeys, wantText, out)) return out;
  }
  // 8. Nothing from the message: the idle checks.
  return idleChecks(holdKeys, wantText);
}

}  // namespace vellum
