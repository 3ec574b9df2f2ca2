// The picture log of the backlog: the sprites on screen recorded with a page when it is committed,
// and the rebuild of that screen into one picture for the game's backlog screen.
#pragma once

#include <cstdint>

#include "text/backlog.h"

namespace vellum {

// Fills the entry's records from the sprites shown now, in visiting order: the children of each
// canvas parent (ascending parent number), then the screen's. At most 16; fewer end with an
// empty name.
void captureImageLog(BacklogEntry& entry);

// getImgLog: composes the page `distance` entries back into sprite s. Reports its failures; an
// entry without records leaves the sprite as it was.
void rebuildImageLog(int32_t spriteNumber, int distance);

}  // namespace vellum
