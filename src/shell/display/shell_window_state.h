// The main window's run-time state: title, the flags the window procedure raises for the input
// loop, and the menu and notification-area states. One instance, main thread only.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

struct ShellWindowState {
  // GBK bytes: the caption and the single-instance identity.
  std::string title = "Script Engine";
  bool windowCreated = false;
  // Bit 1 minimised, 2 maximised, 4 restore from maximised pending.
  int32_t trayState = 0;
  // 0 hidden, 1 shown by the pointer at the top edge, 2 shown by Alt.
  int32_t menuPopupState = 0;
  // 0 none, 1 close requested while normal, 2 while minimised; the input loop turns it into an event.
  int32_t closeRequest = 0;
  // Counters the input loop turns into events.
  int32_t fullScreenChanged = 0;
  int32_t aspectChanged = 0;
  int32_t findDialogSignal = 0;
  // 120 / the system's wheel scroll lines (3 lines: 40).
  int32_t wheelThreshold = 40;
  // Non-zero while a screen transition runs: full-screen toggles are ignored.
  int32_t transitionRunning = 0;
  // The menu bar is attached to the window frame.
  bool menuAttached = false;
  // The game width the screen set-up was given (the aspect switch rebuilds from it).
  int32_t setUpGameW = 0, setUpGameH = 0, setUpRefW = 0;
  bool screenReady = false;
};

ShellWindowState& shellWindow();
// Forgets the state and destroys the window, as at process start.
void resetShellWindow();

// SystemActive flag 2: the window has the focus.
constexpr int32_t kSystemActiveFocus = 2;
bool windowActive();

}  // namespace vellum
