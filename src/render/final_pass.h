// The final pass of a frame: the plain copy of g_pBackTexture and the shader filters.
#pragma once

#include "platform/gpu/gpu.h"

namespace vellum {

// Stage 1 colour off, blend op ADD, source ONE, destination ZERO.
void setOpaqueCopy(gpu::Device* device);
void runPlainPass();
void runShaderPass();
// The sampler filter of the plain pass from the Interpolation setting and StretchRect's filters.
void recomputePlainFilter();

}  // namespace vellum
