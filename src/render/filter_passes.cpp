#include "render/filter_passes.h"

#include <algorithm>

namespace vellum {

namespace {

// The texel offsets of each layout's sets.
constexpr float kFourOffsets[4][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, 0.5f}};
constexpr float kNineOffsets[9][2] = {{-1.5f, -1.5f}, {-0.5f, -1.5f}, {0.5f, -1.5f},  //
                                      {-1.5f, -0.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f},  //
                                      {-1.5f, 0.5f},  {-0.5f, 0.5f},  {0.5f, 0.5f}};
constexpr float kEightOffsets[8][2] = {{-1.5f, -1.5f}, {-0.5f, -1.5f}, {0.5f, -1.5f}, {1.5f, -1.5f},
                                       {-1.5f, -0.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f}, {1.5f, -0.5f}};

// The corners in the order a layout draws them: (right?, bottom?) per vertex.
constexpr int kStrip[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
constexpr int kFan[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

template <int Sets>
std::array<FilterVertex<Sets>, 4> quad(const gpu::Rect& d, int w, int h, const float (&offsets)[Sets][2],
                                       const int (&order)[4][2], float bottomInset) {
  std::array<FilterVertex<Sets>, 4> out{};
  const float texelU = 1.0f / static_cast<float>(w), texelV = 1.0f / static_cast<float>(h);
  for (int i = 0; i < 4; ++i) {
    const bool right = order[i][0], bottom = order[i][1];
    FilterVertex<Sets>& v = out[i];
    v.x = static_cast<float>(right ? d.right : d.left) - 0.5f;
    v.y = static_cast<float>(bottom ? d.bottom : d.top) - 0.5f;
    v.z = 0.0f;
    v.rhw = 1.0f;
    const float baseU = right ? 1.0f - 0.0001f : 0.0f;
    const float baseV = bottom ? 1.0f - bottomInset : 0.0f;
    for (int s = 0; s < Sets; ++s) {
      v.uv[s][0] = baseU + offsets[s][0] * texelU;
      v.uv[s][1] = baseV + offsets[s][1] * texelV;
    }
  }
  return out;
}

}  // namespace

const char* filterName(int32_t interpolation) {
  switch (interpolation) {
    case 3: return "BiLinearSharp";
    case 4: return "Lanczos1";
    case 5: return "BiQuad";
    case 6: return "BiCubic";
    case 7: return "Lanczos2";
    default: return nullptr;
  }
}

int requiredShaderMajor(int32_t interpolation) {
  if (interpolation >= 3 && interpolation <= 6) return 2;
  return interpolation == 7 ? 3 : 0;
}

std::array<FourSetVertex, 4> fourSetQuad(const gpu::Rect& destination, int renderW, int renderH) {
  return quad<4>(destination, renderW, renderH, kFourOffsets, kStrip, 0.0001f);
}

std::array<EightSetVertex, 4> eightSetQuad(const gpu::Rect& destination, int renderW, int renderH) {
  return quad<8>(destination, renderW, renderH, kEightOffsets, kFan, 0.000001f);
}

std::array<NineSetVertex, 4> nineSetQuad(const gpu::Rect& destination, int renderW, int renderH) {
  return quad<9>(destination, renderW, renderH, kNineOffsets, kFan, 0.000001f);
}

std::vector<std::array<float, 4>> filterConstants(int32_t interpolation, int renderW, int renderH, int destinationW) {
  const float w = static_cast<float>(renderW), h = static_cast<float>(renderH);
  const std::array<float, 4> size{w, h, 0, 0};
  const std::array<float, 4> twoDown{0, 2.0f / h, 0, 0};
  switch (static_cast<Interpolation>(interpolation)) {
    case Interpolation::BiLinearSharp: {
      const float s = std::max(1.0f, (static_cast<float>(destinationW) / w - 1.0f) * 0.5f + 1.0f);
      return {size, {s, 0, 0, 0}};
    }
    case Interpolation::Lanczos1: return {size};
    case Interpolation::BiQuad: return {size, twoDown, {1, -1, 0, 0}, {-1, 0, 1, 0}, {0, 1, 0, 0}};
    case Interpolation::BiCubic:
      return {size, twoDown, {-1, 1, -1, 1}, {2, -2, 1, -1}, {-1, 0, 1, 0}, {0, 1, 0, 0}};
    case Interpolation::Lanczos2: return {size, twoDown};
    default: return {};
  }
}

}  // namespace vellum
