// The sprite lines of a save: per shown sprite its track lines ("ImageA%d_%d" ... "ImageRZ%d_%d")
// and its "Image%d" line of 54 values. Reading checks every line and that every picture the
// sprites were loaded from still exists before anything is changed; applying reloads the pictures.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "persist/save_text.h"
#include "scene/animation_tracks.h"
#include "scene/sprite_table.h"

namespace vellum {

struct SpriteSaveRecord {
  int32_t n = 0;
  std::string source, second;
  SourceKind kind = SourceKind::Picture;
  int32_t standingW = 0, standingH = 0, clipX = 0, clipY = 0, clipW = 0, clipH = 0, maskX = 0, maskY = 0;
  std::array<int32_t, 5> textParams{};
  int32_t textState = 0;  // 1 string sprite, 2 log sprite: the text is drawn again after the load
  int32_t order = 0;
  ShakeAxis shakeX, shakeY;
  std::array<int32_t, 8> loadEffects{};
  SpriteProperties props;
  int32_t width = 0, height = 0;  // cell size, or the canvas size
  int32_t division = 0;
  bool textDrawing = false;
  // A cross-fade's old picture (from its "ImageS" lines); empty when the fade cannot be taken up.
  std::string fadeFromName;
  SourceKind fadeFromKind = SourceKind::Picture;
  int32_t fadeFromW = 0, fadeFromH = 0;
  std::array<std::vector<TrackKeyframe>, kTrackKinds> tracks;
};

void writeSpriteSaveLines(std::string& out, uint32_t now);
// False after a report (a malformed line, a sprite number out of range, a missing picture file).
bool readSpriteSaveLines(const SaveBlock& block, uint32_t now, std::vector<SpriteSaveRecord>& sprites);
// Loads every sprite and starts its tracks and shakes; the sprites show at once.
void applySpriteSaveLines(const std::vector<SpriteSaveRecord>& sprites);

}  // namespace vellum
