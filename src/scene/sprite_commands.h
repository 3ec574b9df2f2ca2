// The sprite commands of the three bindings.
#pragma once

namespace vellum {

void provideSpriteCommands();
void provideSpritePropertyCommands();
void provideScreenShotCommands();

}  // namespace vellum
