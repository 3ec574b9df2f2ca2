#include "shell/mode_keys.h"

#include "script/read_mode.h"

namespace vellum {

namespace {
// Bit 1 of AlreadyReadAutoSkip: auto mode started skipping read text by itself.
constexpr int kAutoStartedSkip = 2;
}  // namespace

void toggleAutoMode() {
  ReadModeState& r = readMode();
  if (r.windowVisible == 0) return;
  r.alreadyReadAutoSkip &= ~kAutoStartedSkip;
  r.skipActive = false;
  r.transientSkip = false;
  if (r.autoActive) {
    r.autoActive = false;
    r.pendingModeEvent = 0x11;
  } else {
    r.autoActive = true;
    r.pendingModeEvent = 2;
  }
}

void toggleSkipMode() {
  ReadModeState& r = readMode();
  if (r.windowVisible == 0) return;
  if (r.skipActive) {
    r.pendingModeEvent = 0x21;
    r.alreadyReadAutoSkip &= ~kAutoStartedSkip;
    r.skipActive = false;
    r.transientSkip = false;
    r.autoActive = false;
  } else if (r.currentMessageRead || r.alreadyReadSkip) {
    r.skipActive = true;
    r.transientSkip = true;
    r.pendingModeEvent = 3;
    r.autoActive = false;
  }
}

}  // namespace vellum
