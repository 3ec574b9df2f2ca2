// The screen quake (two axes sharing one target mask) and the camera (pan and zoom, each value with
// a shown and a pending copy and an eased track), applied when sprite matrices are rebuilt.
#pragma once

#include <array>
#include <cstdint>

#include "scene/sprite_shakes.h"
#include "scene/sprite_table.h"

namespace vellum {

namespace quake_target {
constexpr uint32_t kSprites = 1;      // ordinary sprites
constexpr uint32_t kScreenFixed = 2;  // screen-fixed sprites and the message text
}  // namespace quake_target

enum CameraValueKind : int { kCameraX = 0, kCameraY, kCameraW, kCameraH };

struct CameraTrack {
  uint32_t start = 0;
  int64_t duration = 0;
  float from = 0, change = 0;  // change 0: no track
  int32_t easing = 0;
};

struct CameraValue {
  float current = 0, pending = 0;
  CameraTrack track;
};

struct ScreenTransform {
  ShakeAxis quakeX, quakeY;
  uint32_t quakeMask = 0;
  std::array<CameraValue, 4> camera{{{0, 0, {}}, {0, 0, {}}, {100, 100, {}}, {100, 100, {}}}};
};

ScreenTransform& screenTransform();
void resetScreenTransform();

// sc_qx / sc_qy.
void quakeScreen(bool yAxis, uint32_t targetMask, const ShakeRequest& request, uint32_t now);
// One camera value: offsets in base-screen pixels, zooms in percent.
void moveCamera(CameraValueKind which, float value, int32_t time, int32_t easing, int32_t delay, uint32_t now);
// The commit shows the pending camera.
void commitCamera();

struct ScreenUpdate {
  bool quakeMoved = false;
  bool cameraChanged = false;
};
// Advances the quake and the camera tracks and marks the sprites they move dirty.
ScreenUpdate updateScreenTransform(uint32_t now);
bool screenTransformActive();

// The quake offset of the message text (drawn like a screen-fixed sprite): zero unless the quake
// targets screen-fixed sprites and EffectSkip leaves them moving.
void messageQuakeOffset(float& dx, float& dy);

// A buffer's properties as drawn: with its shake, the quake and (from the copy matching the
// buffer: pending for the picture a transition ends with) the camera.
SpriteProperties placedProperties(const Sprite& s, const SpriteProperties& props, bool pendingCamera);

}  // namespace vellum
