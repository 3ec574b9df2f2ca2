// The aspect of the game and the ten window-size presets that follow from it.
#include <cstdio>
#include <numeric>

#include "shell/display/screen_geometry.h"
#include "shell/shell_messages.h"

namespace vellum {

namespace {

using PresetRow = std::array<GeoSize, kWindowPresets>;

constexpr PresetRow kFourThree = {{{400, 300}, {640, 480}, {800, 600}, {960, 720}, {1024, 768},
                                   {1200, 900}, {1280, 960}, {1400, 1050}, {1440, 1080}, {1600, 1200}}};
constexpr PresetRow kSixteenNine = {{{480, 270}, {640, 360}, {800, 450}, {960, 540}, {1024, 576},
                                     {1280, 720}, {1366, 768}, {1440, 810}, {1600, 900}, {1920, 1080}}};
constexpr PresetRow kThreeFour = {{{300, 400}, {480, 640}, {600, 800}, {720, 960}, {768, 1024},
                                   {900, 1200}, {960, 1280}, {1050, 1400}, {1080, 1440}, {1200, 1600}}};
constexpr PresetRow kNineSixteen = {{{270, 480}, {360, 640}, {450, 800}, {540, 960}, {576, 1024},
                                     {720, 1280}, {768, 1366}, {810, 1440}, {900, 1600}, {1080, 1920}}};

bool isAspect(AspectRatio r, int32_t a, int32_t b) { return r.a == a && r.b == b; }

}  // namespace

AspectRatio reduceAspect(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return {};
  const int32_t g = std::gcd(w, h);
  return {w / g, h / g};
}

bool isWideAspect(AspectRatio r) { return isAspect(r, 16, 9); }
bool isTallAspect(AspectRatio r) { return isAspect(r, 9, 16); }

int32_t effectiveScreenAspect(AspectRatio r, int32_t aspectSwitchable, int32_t storedScreenAspect) {
  if (aspectSwitchable && !isWideAspect(r) && !isTallAspect(r)) return 1;
  return storedScreenAspect;
}

int32_t switchedGameHeight(int32_t gameW, int32_t gameH, int32_t screenAspect) {
  if (screenAspect != 1) return gameH;
  // Only the two switchable shapes change; a 4:3, 3:4 or any other game keeps its coordinate space.
  const AspectRatio r = reduceAspect(gameW, gameH);
  if (isWideAspect(r)) return mulDiv(gameW, 3, 4);
  if (isTallAspect(r)) return mulDiv(gameW, 4, 3);
  return gameH;
}

std::string presetLabel(int32_t width, int32_t height) {
  char text[32];
  std::snprintf(text, sizeof text, "%4dx%4d", width, height);
  return text;
}

WindowPresets buildWindowPresets(int32_t gameW, int32_t gameH, int32_t screenAspect, int32_t resolution) {
  const AspectRatio r = reduceAspect(gameW, gameH);
  const PresetRow* row = nullptr;
  if (isAspect(r, 4, 3) || (isWideAspect(r) && screenAspect == 1)) row = &kFourThree;
  else if (isWideAspect(r)) row = &kSixteenNine;
  else if (isAspect(r, 3, 4) || (isTallAspect(r) && screenAspect == 1)) row = &kThreeFour;
  else if (isTallAspect(r)) row = &kNineSixteen;

  WindowPresets presets;
  for (int i = 0; i < kWindowPresets; ++i) {
    WindowPreset& p = presets[static_cast<size_t>(i)];
    const GeoSize size = row ? (*row)[static_cast<size_t>(i)] : GeoSize{gameW, gameH};
    p.width = size.width;
    p.height = size.height;
    p.label = presetLabel(p.width, p.height);
    if (p.width == resolution) p.label += shell_messages::kSameSize;
  }
  return presets;
}

int32_t windowHeightForWidth(int32_t windowW, int32_t gameW, int32_t gameH, int32_t screenAspect) {
  const AspectRatio r = reduceAspect(gameW, gameH);
  // A 4:3 or 3:4 game is already in its natural shape: the switch value does not change it.
  if (isAspect(r, 4, 3)) return mulDiv(windowW, 3, 4);
  if (isAspect(r, 3, 4)) return mulDiv(windowW, 4, 3);
  if (isWideAspect(r)) return screenAspect == 1 ? mulDiv(windowW, 3, 4) : mulDiv(windowW, 9, 16);
  if (isTallAspect(r)) return screenAspect == 1 ? mulDiv(windowW, 4, 3) : mulDiv(windowW, 16, 9);
  return mulDiv(windowW, gameH, gameW);
}

}  // namespace vellum
