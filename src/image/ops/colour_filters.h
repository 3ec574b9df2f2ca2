// Per-pixel colour effects. Every one changes the colour channels only and keeps each pixel's alpha
// (color2colorImage aside, which replaces whole pixels).
#pragma once

#include <cstdint>

#include "image/image.h"

namespace vellum {

// Replaces every pixel equal to `from` by `to`. kind 0 uses `from` as given, kind 1 the first
// pixel's value, kind 2 the last pixel of the first row. Pictures without meaningful alpha (not
// 32-bit) compare the colour only and stay opaque; a `to` above 0xFFFFFF carries its own alpha
// and makes the picture 32-bit.
int color2colorImage(Image* image, uint32_t from, uint32_t to, int kind);

// Inverts the colour channels (XOR 0xFFFFFF).
int negaposiImage(Image* image);
// Every colour channel = round(0.298912 R + 0.586611 G + 0.114477 B).
int grayscalImage(Image* image);
// c -> clamp(trunc((contrast + 100) / 100 * (c - 128)) + brightness + 128, 0, 255).
int bcImage(Image* image, int brightness, int contrast);
// Per-channel gamma: c -> trunc(255 * (c / 255) ^ (0.5 ^ (v / 100))); a positive v brightens.
int colorImage(Image* image, int red, int green, int blue);

}  // namespace vellum
