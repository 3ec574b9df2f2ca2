// The final scaling pass: the Interpolation values, the vertices of the shader filters with their
// texture-coordinate sets, and the constants each filter's shader reads.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/gpu/gpu_types.h"

namespace vellum {

enum class Interpolation : int32_t {
  Driver = 0,
  NearestNeighbor = 1,
  BiLinear = 2,
  BiLinearSharp = 3,
  Lanczos1 = 4,
  BiQuad = 5,
  BiCubic = 6,
  Lanczos2 = 7,
};

// The filter's name as the start-up dialog shows it (values 3-7), else nullptr.
const char* filterName(int32_t interpolation);
// The pixel-shader major version a filter needs (0 for the plain passes).
int requiredShaderMajor(int32_t interpolation);

// A position-transformed vertex followed by n texture-coordinate sets.
template <int Sets>
struct FilterVertex {
  float x, y, z, rhw;
  float uv[Sets][2];
};
using FourSetVertex = FilterVertex<4>;
using EightSetVertex = FilterVertex<8>;
using NineSetVertex = FilterVertex<9>;
static_assert(sizeof(FourSetVertex) == 48 && sizeof(EightSetVertex) == 80 && sizeof(NineSetVertex) == 88);

constexpr uint32_t kFourSetFvf = gpu::kFvfXyzRhw | gpu::fvfTex(4);
constexpr uint32_t kEightSetFvf = gpu::kFvfXyzRhw | gpu::fvfTex(8);
constexpr uint32_t kNineSetFvf = gpu::kFvfXyzRhw | gpu::fvfTex(9);

// The quads of the shader filters for a destination rectangle and a render size W x H.
// Four sets come in strip order (top-left, top-right, bottom-left, bottom-right), eight and nine
// sets in fan order (top-left, top-right, bottom-right, bottom-left).
std::array<FourSetVertex, 4> fourSetQuad(const gpu::Rect& destination, int renderW, int renderH);
std::array<EightSetVertex, 4> eightSetQuad(const gpu::Rect& destination, int renderW, int renderH);
std::array<NineSetVertex, 4> nineSetQuad(const gpu::Rect& destination, int renderW, int renderH);

// The constants (four floats each, from register 0) of a shader filter; empty for the others.
std::vector<std::array<float, 4>> filterConstants(int32_t interpolation, int renderW, int renderH, int destinationW);

}  // namespace vellum
