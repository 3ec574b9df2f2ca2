// Faults the device layer can be told to show, so that every failure path of the renderer can be
// driven on a machine where the real device works. Empty by default; tests set and clear it.
#pragma once

#include <functional>

#include "platform/gpu/gpu_types.h"

namespace vellum::gpu {

struct GpuFaults {
  bool failCreate = false;           // Gpu::create returns nullptr
  Result adapterIdentifier = kOk;    // a failure for getAdapterIdentifier
  Result displayMode = kOk;          // a failure for getAdapterDisplayMode
  Format displayFormat = Format::Unknown;  // report this display format instead of the real one
  Result capsHal = kOk, capsRef = kOk;     // failures for getDeviceCaps
  std::function<void(Caps&)> adjustCaps;   // takes capabilities away (or adds them)
  bool no16BitBackBuffer = false, no32BitBackBuffer = false;  // checkDeviceType fails for that format
  // createDevice failures: HAL with hardware vertex processing, HAL software, REF software.
  Result createHalHardware = kOk, createHalSoftware = kOk, createRef = kOk;
  int failShaderId = 0;              // createPixelShader of this id fails
  Result reset = kOk;                // a failure for Device::reset
  Result present = kOk;              // a failure for the next presents (other than loss)
  bool loseDevice = false;           // the next present reports the device lost
  bool stayLost = false;             // the cooperative level keeps saying lost while set
  Result createTexture = kOk;        // a failure for createTexture
  Result lock = kOk;                 // a failure for every lock
  Result beginScene = kOk;
  Result setRenderTarget = kOk;
  uint32_t maxMultiSamples = 0;      // above 0: the largest sample count to accept (0: the real one)
};

GpuFaults& gpuFaults();
inline void clearGpuFaults() { gpuFaults() = GpuFaults{}; }

}  // namespace vellum::gpu
