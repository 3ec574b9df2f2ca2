// The button commands and the four event waits of the three bindings.
#pragma once

namespace vellum {

void provideButtonCommands();

}  // namespace vellum
