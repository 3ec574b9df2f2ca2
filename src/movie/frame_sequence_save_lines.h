// The "ImageF" lines of a save: one per sprite with a running sp_ani sequence,
// "ImageF<sprite>=passes,variant,frame rate,elapsed ms,delay ms,division". The file is the sprite's
// own source name (its "Image" line), so a sequence line needs that line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "movie/frame_sequences.h"
#include "persist/save_text.h"
#include "scene/sprite_save_lines.h"

namespace vellum {

void writeFrameSequenceSaveLines(std::string& out, uint32_t now);
// False after a report: a malformed line, a sprite without its "Image" line, a missing file.
bool readFrameSequenceSaveLines(const SaveBlock& block, const std::vector<SpriteSaveRecord>& sprites,
                                std::vector<FrameSequenceRequest>& sequences);
// Starts each sequence from its beginning (a movie cannot be wound on), then puts the sprite's
// saved properties back on the picture the sequence made.
void applyFrameSequenceSaveLines(const std::vector<FrameSequenceRequest>& sequences,
                                 const std::vector<SpriteSaveRecord>& sprites);

}  // namespace vellum
