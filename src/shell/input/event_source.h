// The event source of the event-wait commands: one pass pumps at most one message and returns the
// first event it finds as a triple (owner, code, state), or the idle event.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// Event classes (owner = code = the class).
constexpr int32_t kIdleEvent = 0x100, kModeEvent = 0x101, kFullScreenEvent = 0x102, kDropEvent = 0x103,
                  kAutoAdvanceEvent = 0x104, kCloseEvent = 0x105, kAspectEvent = 0x106, kFindEvent = 0x107;
// States.
constexpr int32_t kLeave = 0, kEnter = 1, kPress = 2, kRelease = 3, kWheelToward = 4, kWheelAway = 5;

struct InputEvent {
  int32_t owner = kIdleEvent, code = kIdleEvent, state = kIdleEvent;
  std::string text;  // dropped file or search string, when asked for
  bool operator==(const InputEvent& o) const {
    return owner == o.owner && code == o.code && state == o.state;
  }
};

// holdKeys: Ctrl and the middle button are hold-to-skip keys. wantText: fill in the text of the
// drop and find events.
InputEvent nextInputEvent(bool holdKeys, bool wantText);

// The input loop's idle wait: blocks until the window system has a message, the next replayed
// event or auto mode's advance falls due, or capMs have passed, whichever comes first. While a
// pass yields events by itself (skip, fast-forward, the hold key, a cursor glide) it only yields
// the core for a millisecond.
void waitForNextInput(uint32_t capMs);

// The auto-advance deadline of auto mode (0: none); its owner sets it.
void setAutoAdvanceDeadline(uint32_t deadlineMs);

}  // namespace vellum
