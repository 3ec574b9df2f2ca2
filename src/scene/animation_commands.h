// The animation, shake and screen-transform commands of the three bindings.
#pragma once

namespace vellum {

void provideAnimationCommands();
void provideScreenTransformCommands();

}  // namespace vellum
