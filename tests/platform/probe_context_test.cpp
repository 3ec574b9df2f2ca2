// The context the adapter probe makes goes to the first device; a second device from the same
// adapter makes its own. Both draw into their own back buffers.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gpu/gpu.h"
#include "platform/gpu/gpu_faults.h"
#include "support/gl_window.h"

namespace vellum::gpu {
namespace {

uint32_t clearedColour(Device* device, uint32_t colour) {
  if (failed(device->clear(kClearTarget, colour, 1.0f, 0))) return 0;
  Surface* back = nullptr;
  if (failed(device->getBackBuffer(0, 0, &back))) return 0;
  Surface* copy = nullptr;
  uint32_t seen = 0;
  if (!failed(device->createOffscreenPlainSurface(8, 8, Format::X8R8G8B8, Pool::SystemMem, &copy)) &&
      !failed(device->getRenderTargetData(back, copy))) {
    LockedRect r;
    if (!failed(copy->lockRect(r, nullptr, 0))) {
      seen = *static_cast<const uint32_t*>(r.bits);
      copy->unlockRect();
    }
  }
  if (copy) copy->release();
  back->release();
  return seen;
}

TEST(ProbeContext, FirstDeviceTakesItAndASecondMakesItsOwn) {
  clearGpuFaults();
  test::GlWindow first(8, 8), second(8, 8);
  if (!first.get() || !second.get()) GTEST_SKIP() << "no window for a GL context";
  Gpu* gpu = Gpu::create();
  ASSERT_NE(gpu, nullptr);
  std::vector<Device*> devices;
  for (SDL_Window* window : {first.get(), second.get()}) {
    PresentParameters params;
    params.backBufferWidth = params.backBufferHeight = 8;
    params.deviceWindow = window;
    Device* device = nullptr;
    if (failed(gpu->createDevice(0, DeviceType::Hal, window, kCreateHardwareVertexProcessing, params, &device))) break;
    devices.push_back(device);
  }
  if (devices.empty()) {
    gpu->release();
    GTEST_SKIP() << "no GL 3.3 core context here";
  }
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(clearedColour(devices[0], 0xFF102030), 0xFF102030u);
  EXPECT_EQ(clearedColour(devices[1], 0xFF405060), 0xFF405060u);
  // The first device's picture is its own: the second one's clear did not land in it.
  EXPECT_EQ(clearedColour(devices[0], 0xFF708090), 0xFF708090u);
  for (Device* d : devices) d->release();
  gpu->release();
}

}  // namespace
}  // namespace vellum::gpu
