// `vellum --shots DIR`: the `shot NAME` lines of the replayed input photograph the screen into
// DIR/NAME.png, so a playthrough run in CI leaves pictures to look at.
#pragma once

#include <string>

namespace vellum {

// Creates DIR when missing and makes shot lines write there. False with the reason in error.
bool startReplayShots(const std::string& folder, std::string& error);

// Names the shot lines the game ended before (on standard error); false when there were any.
bool reportShotsNotTaken();

}  // namespace vellum
