#include "scene/frame_sequence_slot.h"

namespace vellum {

namespace {
FrameSequenceStopper stopper = nullptr;
FrameSequenceQuery query = nullptr;
int32_t (*movieQuery)(int32_t) = nullptr;
}  // namespace

void setFrameSequenceStopper(FrameSequenceStopper stop) { stopper = stop; }

void stopFrameSequence(int32_t sprite) {
  if (stopper) stopper(sprite);
}

void setFrameSequenceQuery(FrameSequenceQuery ask) { query = ask; }
FrameSequenceQuery frameSequenceQuery() { return query; }

bool hasFrameSequence(int32_t sprite) { return query && query(sprite); }

void setMovieStateQuery(int32_t (*ask)(int32_t)) { movieQuery = ask; }

int32_t movieStateOf(int32_t sprite) { return movieQuery ? movieQuery(sprite) : -2; }

}  // namespace vellum
