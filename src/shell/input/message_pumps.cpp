#include "shell/input/message_pumps.h"

#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "base/clock.h"
#include "platform/instance_lock.h"
#include "platform/main_window.h"
#include "platform/message_pump.h"
#include "platform/message_queue.h"
#include "platform/virtual_keys.h"
#include "shell/input/cursor_glide.h"
#include "shell/input/custom_cursor.h"
#include "shell/input/input_replay.h"
#include "shell/input/pad_translation.h"
#include "shell/renderer_seam.h"
#include "shell/display/shell_window_state.h"
#include "shell/display/window_procedure.h"

namespace vellum {

namespace {

struct PumpState {
  WindowMessage current;
  bool fresh = false;
};

PumpState& pumps() {
  static PumpState state;
  return state;
}

}  // namespace

WindowMessage& currentMessage() { return pumps().current; }
bool currentMessageFresh() { return pumps().fresh && pumps().current.kind != MessageKind::None; }
void markCurrentMessageExamined() { pumps().fresh = false; }

void clearCurrentMessage() {
  pumps().current = WindowMessage{};
  pumps().fresh = false;
}

void resetMessagePumps() { clearCurrentMessage(); }

PumpResult pumpOneMessage() {
  feedReplayedInput();
  stepCursorGlide();
  stepCursorAnimation();
  // Another copy of the game asked this one to come to the front.
  if (takeRaiseRequest()) raiseMainWindow();
  postPadRepeats();
  WindowMessage message;
  // A pad's message is replaced by the input it stands for, posted behind what already waits.
  do {
    if (!takeWindowMessage(message)) return PumpResult::Nothing;
  } while (takePadMessage(message));
  if (message.kind == MessageKind::Quit) return PumpResult::Quit;
  windowProcedure(message);
  PumpState& p = pumps();
  p.current = std::move(message);
  p.fresh = true;
  return PumpResult::Taken;
}

void timedWait(int effectId, int durationMs, int extra) {
  const uint32_t start = tickMilliseconds();
  const int32_t threshold = shellWindow().wheelThreshold;
  bool pressed = false;
  int32_t wheel = 0;
  uint32_t elapsed = 0;
  while (elapsed < static_cast<uint32_t>(durationMs > 0 ? durationMs : 0)) {
    const PumpResult pumped = pumpOneMessage();
    if (pumped == PumpResult::Quit || engine().quitFlag) {
      engine().quitFlag = 1;
      return;
    }
    if (shellWindow().closeRequest) break;
    if (settings().effectCancel && pumped == PumpResult::Taken) {
      const WindowMessage& m = currentMessage();
      if (m.kind == MessageKind::ButtonDown && m.button == MouseButton::Left) pressed = true;
      if (m.kind == MessageKind::ButtonUp && m.button == MouseButton::Left && pressed) break;
      if (m.kind == MessageKind::KeyDown && (m.vk == vk::Return || m.vk == vk::Control)) break;
      if (m.kind == MessageKind::Wheel && threshold != 0) {
        wheel += m.wheelDelta;
        // A notch toward the player ends the wait and stays for the input loop to see.
        if (wheel <= -threshold) return;
        if (wheel >= threshold) wheel = 0;
      }
      markCurrentMessageExamined();
    }
    presentRenderer(effectId, static_cast<int>(elapsed), durationMs, extra);
    elapsed = tickMilliseconds() - start;
  }
  clearCurrentMessage();
}

bool pumpMessagesOnce() { return pumpOneMessage() == PumpResult::Quit; }

}  // namespace vellum
