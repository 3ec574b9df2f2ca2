// The scene-draw procedures of the transitions and what they share between the `effect` command
// that starts them and their frames.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

struct TransitionState {
  int32_t softness = 0;          // S, 0 ... 511, of the running transition
  int32_t selectedNamed = -1;    // the named transition the last successful look-up found
  int32_t motionBlurAlpha = 255;
};
TransitionState& transitionState();

// Clears the state, fills the rule tables and fills the renderer's transition slots.
void resetTransitions();

// Frame procedures, each with (elapsed, duration, easing).
void fadeScene(int32_t elapsed, int32_t duration, int32_t easing);
void mosaicScene(int32_t elapsed, int32_t duration, int32_t easing);
void ruleSceneShader(int32_t elapsed, int32_t duration, int32_t easing);
void ruleSceneCpu(int32_t elapsed, int32_t duration, int32_t easing);
void namedScene(int32_t elapsed, int32_t duration, int32_t easing);
void motionBlurScene();

// The rule picture into the mask texture; false after a report.
bool prepareRule(const std::string& name);

// The named transition of this name (case-sensitive), or -1.
int32_t findNamedTransition(std::string_view name);
// How many there are, and the name of one (tests walk them all).
int32_t namedTransitionCount();
const char* namedTransitionName(int32_t index);

// The alpha of the CPU rule version for a mask value under progress pos (the table look-up).
uint8_t ruleAlpha32(int32_t softness, int32_t pos, int32_t maskValue);

}  // namespace vellum
