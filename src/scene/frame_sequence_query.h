// Whether a sprite plays a frame sequence: the sequences live in a higher layer, which fills this slot.
#pragma once

#include <cstdint>

namespace vellum {

void setFrameSequenceQuery(bool (*query)(int32_t sprite));
// False while no query is installed.
bool hasFrameSequence(int32_t sprite);

}  // namespace vellum
