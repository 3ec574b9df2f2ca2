// Window-client pixels to game coordinates and back, for the windowed case and every full-screen
// mode. All divisions truncate and each conversion from float truncates.
#pragma once

#include <cstdint>

#include "shell/display/screen_geometry.h"

namespace vellum {

struct PresentationState {
  int32_t fullScreen = 0, fullMode = 0;
  int32_t windowW = 0, windowH = 0;  // WindowWidth, WindowHeight
};

// The state the settings hold now.
PresentationState currentPresentation();

// getCursorPos: client pixels to game coordinates, in place.
void clientToGame(const ScreenGeometry& g, const PresentationState& p, int32_t& x, int32_t& y);
// getDisplayPos: game coordinates to client pixels, in place.
void gameToClient(const ScreenGeometry& g, const PresentationState& p, int32_t& x, int32_t& y);

// The pointer in game coordinates and the conversion of a game position, with the live state.
void pointerInGame(int32_t& x, int32_t& y);
void displayPosition(int32_t& x, int32_t& y);

}  // namespace vellum
