#include "shell/input/cursor_glide.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "base/clock.h"
#include "platform/main_window.h"
#include "platform/message_queue.h"
#include "shell/display/coordinate_mapping.h"
#include "shell/display/screen_geometry.h"

namespace vellum {

namespace {

struct Glide {
  bool running = false;
  int32_t startX = 0, startY = 0, dx = 0, dy = 0, targetX = 0, targetY = 0;
  int32_t lastX = 0, lastY = 0;
  uint32_t startTime = 0, duration = 0;
};

Glide glide;

void setPointer(int32_t x, int32_t y) {
  warpPointer(x, y);
  glide.lastX = x;
  glide.lastY = y;
}

}  // namespace

uint32_t glideDuration(int32_t dx, int32_t dy, int32_t speed) {
  const double distance = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
  const int64_t scaled = static_cast<int64_t>(distance) * speed;
  return static_cast<uint32_t>((scaled | 16) >> 3);
}

void moveCursorTo(int32_t x, int32_t y, int32_t speed, bool gameCoords) {
  if (gameCoords) {
    displayPosition(x, y);
    // A point far off every screen means the middle of the monitor.
    if (x < -3000 || y < -3000) {
      const ScreenGeometry& g = screenGeometry();
      x = g.monW / 2;
      y = g.monH / 2;
    }
  }
  // Glides never overlap: the running one reaches its target first.
  while (glide.running) {
    stepCursorGlide();
    if (glide.running) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (speed == 0) {
    setPointer(x, y);
    return;
  }
  int px = 0, py = 0;
  pointerPosition(px, py);
  glide.startX = glide.lastX = px;
  glide.startY = glide.lastY = py;
  glide.dx = x - px;
  glide.dy = y - py;
  glide.targetX = x;
  glide.targetY = y;
  glide.startTime = tickMilliseconds();
  glide.duration = glideDuration(glide.dx, glide.dy, speed);
  glide.running = true;
}

bool cursorGlideRunning() { return glide.running; }
uint32_t cursorGlideStart() { return glide.startTime; }
uint32_t cursorGlideLength() { return glide.duration; }

void stepCursorGlide() { stepCursorGlideAt(tickMilliseconds()); }

void stepCursorGlideAt(uint32_t nowMs) {
  if (!glide.running) return;
  const uint32_t elapsed = nowMs - glide.startTime;
  if (elapsed >= glide.duration) {
    setPointer(glide.targetX, glide.targetY);
    glide.running = false;
    return;
  }
  const double t = static_cast<double>(elapsed) / glide.duration;
  const double s = 1.0 - (1.0 - t) * (1.0 - t) * (1.0 - t);
  const int32_t x = glide.startX + static_cast<int32_t>(std::floor(glide.dx * s));
  const int32_t y = glide.startY + static_cast<int32_t>(std::floor(glide.dy * s));
  if (x != glide.lastX || y != glide.lastY) setPointer(x, y);
}

void resetCursorGlide() { glide = Glide{}; }

}  // namespace vellum
