#include "scene/frame_sequence_slot.h"

namespace vellum {

namespace {
FrameSequenceStopper stopper = nullptr;
}  // namespace

void setFrameSequenceStopper(FrameSequenceStopper stop) { stopper = stop; }

void stopFrameSequence(int32_t sprite) {
  if (stopper) stopper(sprite);
}

}  // namespace vellum
