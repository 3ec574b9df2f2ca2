// The renderer's command bodies, handed to the catalogue.
#pragma once

namespace vellum {

void provideRendererCommands();

}  // namespace vellum
