// A sprite's frame sequence (sp_ani: frames or a movie) is kept above the sprite table; loading a
// new picture into the sprite or deleting it stops the sequence through these slots, and sp_alv
// asks whether a sprite has one.
#pragma once

#include <cstdint>

namespace vellum {

using FrameSequenceStopper = void (*)(int32_t sprite);
void setFrameSequenceStopper(FrameSequenceStopper stop);
// Stops sprite n's frame sequence, if it has one.
void stopFrameSequence(int32_t sprite);

using FrameSequenceQuery = bool (*)(int32_t sprite);
void setFrameSequenceQuery(FrameSequenceQuery query);
FrameSequenceQuery frameSequenceQuery();  // the one installed (tests put it back after theirs)
// False while no query is installed.
bool hasFrameSequence(int32_t sprite);

// The playback state of sprite n's movie (1 start asked, 2 running, 0 stop asked, -1 ended), or -2
// when it has none or no query is installed.
void setMovieStateQuery(int32_t (*query)(int32_t sprite));
int32_t movieStateOf(int32_t sprite);

}  // namespace vellum
