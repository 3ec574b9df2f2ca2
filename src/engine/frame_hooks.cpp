#include "engine/frame_hooks.h"

#include <cstdint>
#include <functional>
#include <string_view>

#include "movie/frame_sequences.h"
#include "render/renderer.h"
#include "scene/animation_update.h"
#include "scene/lookahead.h"
#include "shell/screen_side_work.h"
#include "sound/sound_preload.h"
#include "sound/sound_system.h"

namespace vellum {

namespace {

// The per-frame updates of the layers, lowest first.
void updateFrame(uint32_t now) {
  updateAnimations(now);  // quake and camera, shakes, tracks
  updateFrameSequences();
  processDelayedSounds(now);
}

// What the scene answered before these hooks were put in; asked first.
std::function<bool()>& sceneAnswer() {
  static std::function<bool()> answer;
  return answer;
}

bool anythingActive() {
  const std::function<bool()>& scene = sceneAnswer();
  if (scene && scene()) return true;
  // A queued sound has to be started by a frame, so draw2 must keep drawing until it is due; a
  // frame sequence shows its frames only when frames are drawn.
  return delayedSoundsQueued() || frameSequencesActive();
}

bool isOurs(const std::function<bool()>& f) {
  auto* target = f.target<bool (*)()>();
  return target && *target == &anythingActive;
}

void startFirstPictures() { startScreenPrefetch(); }
void finishFirstPictures() { finishBackgroundLookahead(); }

// lookahead2 hands the voices it predicts to the sound layer's preload.
void preloadVoice(std::string_view file) { preloadSound(file); }

}  // namespace

void installFrameHooks() {
  setVoicePrefetch(&preloadVoice);
  // The first scene's pictures decode while the screen command makes the device.
  setScreenSideWork({&startFirstPictures, &finishFirstPictures});
  SceneCallbacks& c = sceneCallbacks();
  c.perFrameUpdate = &updateFrame;
  if (!isOurs(c.sceneActive)) {
    sceneAnswer() = std::move(c.sceneActive);
    c.sceneActive = &anythingActive;
  }
}

}  // namespace vellum
