// DeviceCaps and the capability report.
#pragma once

#include <string>

#include "platform/gpu/gpu_types.h"
#include "render/renderer.h"

namespace vellum {

// Combines the capabilities with the settings, writing back the settings the device rules out
// (VSyncWait, ColorBlend, TextureMax, PixelShader) and telling the player where that matters.
DeviceCaps deriveDeviceCaps(const gpu::Caps& caps);

// The report lines from "CheckDeviceType" to "VertexTextureFilterCaps".
std::string capabilityReport(const gpu::Caps& caps, const DeviceCaps& derived, bool sixteenBit);

}  // namespace vellum
