// Reconstruction of one TLG6 line from its band's residuals: per 8-pixel block a predictor (MED or
// AVG) and a colour filter chosen by the block's filter byte.
#pragma once

#include <cstdint>

namespace vellum {

struct Tlg6LineInput {
  const uint32_t* residuals;  // the band's residual words, in storage order
  const uint8_t* filters;     // the filter bytes of the band's blocks, left to right
  const uint32_t* above;      // the line above (the zero line for the first line)
  uint32_t initial;           // the value left of the first pixel (the zero line's)
  int width;
  int y;          // image line index (its parity decides the pixel order)
  int bandLine;   // line within the band
  int bandLines;  // lines in this band (8, or fewer for the last band)
};

// Portable version, one byte at a time.
void reconstructTlg6LinePlain(const Tlg6LineInput& in, uint32_t* out);
// Packed version for full blocks; bit-exact with the plain one.
void reconstructTlg6LineFast(const Tlg6LineInput& in, uint32_t* out);

// The fastest version this build offers (the packed one where SSE2 is there).
using Tlg6LineDecoder = void (*)(const Tlg6LineInput&, uint32_t*);
Tlg6LineDecoder tlg6LineDecoder();

}  // namespace vellum
