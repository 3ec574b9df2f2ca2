// The picture log of the backlog: the sprites on screen recorded with a page when it is committed,
// and the rebuild of that screen into one picture for the game's backlog screen.
#pragma once

#include <cstdint>

#include "text/backlog.h"

namespace vellum {

// Source kind bits as a record keeps them (the low four bits of its kind-and-blend field).
namespace image_log_kind {
constexpr uint8_t kStanding = 1;  // sp_st
constexpr uint8_t kMovie = 2;
constexpr uint8_t kCanvas = 4;
constexpr uint8_t kComposed = 8;  // a picture getImgLog made
}  // namespace image_log_kind

// Fills the entry's records from the sprites shown now, in visiting order: the children of each
// canvas parent (ascending parent number), then the screen's. At most 16; fewer end with an
// empty name.
void captureImageLog(BacklogEntry& entry);

// getImgLog: composes the page `distance` entries back into sprite s. Reports its failures; an
// entry without records leaves the sprite as it was.
void rebuildImageLog(int32_t spriteNumber, int distance);

}  // namespace vellum
