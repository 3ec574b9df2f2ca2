// Ogg Opus sources through libopusfile, read from the file held in memory. Opus always decodes at
// 48 kHz; sources are read as stereo 16-bit PCM.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/vorbis_source.h"

namespace vellum {

// The same result as a Vorbis open: source, format and the comments for the loop comment.
VorbisOpenResult openOpus(const std::vector<uint8_t>& data);

}  // namespace vellum
