// Turning a decoded 4:2:0 frame (one luma plane, two chroma planes at half size both ways) into
// 32-bit pixels with alpha 255. Two forms exist and they do not give the same bytes: the plain
// form in 15-bit fixed point, and the vector form in 6-bit fixed point with its inputs limited to
// the video range, chosen when the MMX, SSE or SSE2 setting is on.
#pragma once

#include <cstdint>

namespace vellum {

// What the decoder hands over for one frame; strides in bytes.
struct FramePlanes {
  int32_t lumaWidth, lumaHeight, lumaStride;
  int32_t chromaWidth, chromaHeight, chromaStride;
  const uint8_t* luma;
  const uint8_t* cb;
  const uint8_t* cr;
};

enum class ColourForm { Plain, Vector };

// The form the settings choose.
ColourForm chosenColourForm();

// Converts the frame into `out`, whose rows are `outWidth` pixels apart and which has room for
// outHeight rows. False (nothing written) when the frame is larger than the picture, its sides are
// not even, or its chroma planes are smaller than half the luma plane.
// Eight or sixteen pixels at a time where the build targets SSE2, else convertFrameScalar.
bool convertFrame(const FramePlanes& planes, uint32_t* out, int32_t outWidth, int32_t outHeight, ColourForm form);

// The same bytes pixel by pixel: the conversion where there is no SSE2 (the web), and what the
// SSE2 rows are checked against.
bool convertFrameScalar(const FramePlanes& planes, uint32_t* out, int32_t outWidth, int32_t outHeight,
                        ColourForm form);

// One pixel of each form, for tests and for the rows' edges.
uint32_t plainPixel(uint8_t y, uint8_t cb, uint8_t cr);
uint32_t vectorPixel(uint8_t y, uint8_t cb, uint8_t cr);

}  // namespace vellum
