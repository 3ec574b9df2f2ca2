#include "shell/display/coordinate_mapping.h"

#include "persist/engine_settings.h"
#include "platform/message_queue.h"
#include "shell/input/input_replay.h"

namespace vellum {

namespace {

// (render·c/size)/scale; a zero size leaves the value as it is.
int32_t toGame(int32_t c, int32_t render, int32_t size, float scale) {
  if (size == 0 || scale == 0.0f) return c;
  return static_cast<int32_t>(static_cast<float>(static_cast<int64_t>(render) * c / size) / scale);
}

// (g·size/render)·scale.
int32_t toClient(int32_t g, int32_t render, int32_t size, float scale) {
  if (render == 0) return g;
  return static_cast<int32_t>(static_cast<float>(static_cast<int64_t>(g) * size / render) * scale);
}

int32_t offsetToGame(int32_t c, int32_t origin, float scale) {
  if (scale == 0.0f) return c;
  return static_cast<int32_t>(static_cast<float>(c - origin) / scale);
}

}  // namespace

PresentationState currentPresentation() {
  const EngineSettings& s = settings();
  return PresentationState{s.fullScreen, s.fullMode, s.windowWidth, s.windowHeight};
}

void clientToGame(const ScreenGeometry& g, const PresentationState& p, int32_t& x, int32_t& y) {
  if (!p.fullScreen) {
    if (p.windowW == g.gameW) return;
    x = toGame(x, g.renderW, p.windowW, g.scale);
    y = toGame(y, g.renderH, p.windowH, g.scale);
    return;
  }
  switch (p.fullMode) {
    case 0:
      x = toGame(x, g.renderW, 800, g.scale);
      y = toGame(y, g.renderH, 600, g.scale);
      return;
    case 1:
      x = toGame(x, g.renderW, g.monW, g.scale);
      y = toGame(y, g.renderH, g.monH, g.scale);
      return;
    case 2:
      x = offsetToGame(x, g.dest[2].left, g.scale);
      y = offsetToGame(y, g.dest[2].top, g.scale);
      return;
    case 3:
      x = toGame(x - g.dest[3].left, g.renderW, g.fitW, g.scale);
      y = toGame(y - g.dest[3].top, g.renderH, g.fitH, g.scale);
      return;
    default:
      x = toGame(x - g.dest[4].left, g.renderW, g.fillW, g.scale);
      y = toGame(y - g.dest[4].top, g.renderH, g.fillH, g.scale);
      return;
  }
}

void gameToClient(const ScreenGeometry& g, const PresentationState& p, int32_t& x, int32_t& y) {
  if (!p.fullScreen) {
    if (p.windowW == g.gameW) return;
    x = toClient(x, g.renderW, p.windowW, g.scale);
    y = toClient(y, g.renderH, p.windowH, g.scale);
    return;
  }
  switch (p.fullMode) {
    case 0:
      x = toClient(x, g.renderW, 800, g.scale);
      y = toClient(y, g.renderH, 600, g.scale);
      return;
    case 1:
      x = toClient(x, g.renderW, g.monW, g.scale);
      y = toClient(y, g.renderH, g.monH, g.scale);
      return;
    case 2:
      x = static_cast<int32_t>(static_cast<float>(x) * g.scale) + g.dest[2].left;
      y = static_cast<int32_t>(static_cast<float>(y) * g.scale) + g.dest[2].top;
      return;
    case 3:
      x = toClient(x, g.renderW, g.fitW, g.scale) + g.dest[3].left;
      y = toClient(y, g.renderH, g.fitH, g.scale) + g.dest[3].top;
      return;
    default:
      x = toClient(x, g.renderW, g.fillW, g.scale) + g.dest[4].left;
      y = toClient(y, g.renderH, g.fillH, g.scale) + g.dest[4].top;
      return;
  }
}

void pointerInGame(int32_t& x, int32_t& y) {
  // Replayed movements move the pointer as time passes, as a real mouse does.
  feedReplayedInput();
  int px = 0, py = 0;
  pointerPosition(px, py);
  x = px;
  y = py;
  clientToGame(screenGeometry(), currentPresentation(), x, y);
}

void displayPosition(int32_t& x, int32_t& y) { gameToClient(screenGeometry(), currentPresentation(), x, y); }

}  // namespace vellum
