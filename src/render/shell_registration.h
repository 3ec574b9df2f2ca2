// Puts the renderer's entry points behind the shell's renderer seam.
#pragma once

namespace vellum {

void registerRendererWithShell();

}  // namespace vellum
