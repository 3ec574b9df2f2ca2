// A render target's pixels read back through a system-memory copy, one word per pixel (32-bit
// formats as they are, 16-bit formats widened), row by row from the top.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gpu/gpu.h"

namespace vellum::test {

inline std::vector<uint32_t> readSurfacePixels(gpu::Device* device, gpu::Surface* target) {
  using namespace gpu;
  SurfaceDesc d;
  target->getDesc(d);
  Surface* copy = nullptr;
  EXPECT_EQ(device->createOffscreenPlainSurface(d.width, d.height, d.format, Pool::SystemMem, &copy), kOk);
  EXPECT_EQ(device->getRenderTargetData(target, copy), kOk);
  LockedRect r;
  EXPECT_EQ(copy->lockRect(r, nullptr, 0), kOk);
  std::vector<uint32_t> out(static_cast<size_t>(d.width) * d.height);
  for (uint32_t y = 0; y < d.height; ++y) {
    const auto* row = static_cast<const uint8_t*>(r.bits) + static_cast<size_t>(y) * r.pitch;
    for (uint32_t x = 0; x < d.width; ++x) {
      if (bytesPerPixel(d.format) == 4) std::memcpy(&out[y * d.width + x], row + x * 4, 4);
      else out[y * d.width + x] = reinterpret_cast<const uint16_t*>(row)[x];
    }
  }
  copy->unlockRect();
  copy->release();
  return out;
}

}  // namespace vellum::test
