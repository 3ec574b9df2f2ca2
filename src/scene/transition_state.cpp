#include "render/renderer_state.h"
#include "scene/transition_scenes.h"

namespace vellum {

TransitionState& transitionState() {
  static TransitionState state;
  return state;
}

void resetTransitions() {
  transitionState() = TransitionState{};
  SceneCallbacks& c = sceneCallbacks();
  c.transitionScenes[1] = &fadeScene;
  c.transitionScenes[2] = &namedScene;
  c.transitionScenes[3] = &ruleSceneShader;
  c.transitionScenes[4] = &mosaicScene;
  c.ruleSceneCpu = &ruleSceneCpu;
  c.drawMotionBlurScene = &motionBlurScene;
}

}  // namespace vellum
