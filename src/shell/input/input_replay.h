// Replayed input for headless runs and tests (`vellum --input FILE`): timed pointer, button, wheel,
// key and close events that enter through the same door as the window system's own input.
//
// One event per line: "<ms> <what> <arguments>", ms counted from the engine's start; blank lines
// and lines starting with '#' are skipped. Positions are game coordinates.
//   move X Y                    press BUTTON [X Y]     release BUTTON [X Y]   (left, right, middle)
//   wheel N    (notches, + away from the player)       keydown VK   keyup VK  (virtual-key numbers)
//   close      (the window's close button)             quit        (as SIGTERM)
//   shot NAME  (a picture of the screen, NAME.png in the --shots folder; skipped without one)
//   padpress BUTTON   padrelease BUTTON   (a game controller's: a, b, x, y, dpup, start, ...)
//   padstick left|right X Y   (the stick's position, -100..100 each way, + right and down)
//   padconnect [standard|nintendo|handheld]   paddisconnect   (the kind the later pad lines have)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_message.h"

namespace vellum {

struct ReplayedEvent {
  uint32_t atMs = 0;
  WindowMessage message;  // positions still in game coordinates
  bool gamePosition = false;
  bool quit = false;
  std::string shotName;  // a `shot` line: nothing is posted, the screen is photographed
};

// The reason a shot name cannot be used (it must stay inside the shots folder), or "".
std::string shotNameProblem(const std::string& name);

// Who photographs the screen for `shot` lines; the engine fills it when --shots names a folder.
// Without a taker shot lines are skipped.
using ReplayShotTaker = void (*)(const std::string& name);
void setReplayShotTaker(ReplayShotTaker taker);
// Shot lines not yet reached (the game ended first), in file order.
std::vector<std::string> shotsNotTaken();

// False with the line and the reason in error.
bool parseInputReplay(const std::string& text, std::vector<ReplayedEvent>& events, std::string& error);

// Reads the file and starts the clock of the replay now; its first `quit` is scheduled at once
// (scheduleQuit), so it ends the game on time whatever the script is doing.
bool loadInputReplay(const std::string& path, std::string& error);
void startInputReplay(std::vector<ReplayedEvent> events, uint32_t startMs);

// Posts the events whose time has come (the pumps call it), in order and one at a time: an event
// or a shot waits until every event posted before it has been taken, however late the engine
// comes for them, so each is seen as on a fast machine. A quit line needs no message taken.
void feedReplayedInput();
void feedReplayedInputAt(uint32_t nowMs);
// The replay's times are the player's: time the engine spends on the replay's own work (a shot)
// is held off its clock, so the events after it keep their distance from it however slowly the
// machine takes a picture.
void holdReplayClock(uint32_t ms);

// Events not yet posted.
size_t replayedEventsLeft();
// The clock time (tickMilliseconds) the next event falls due; false when none is left.
bool nextReplayedEventAt(uint32_t& tickMs);

void resetInputReplay();

// While a dialog runs before the game's screen exists, replayed positions are the dialog's own
// client pixels (there is no game coordinate space yet).
void setReplayPositionsRaw(bool raw);

}  // namespace vellum
