// Text sprites after a load: a restored save brings back their pictures clear, and these draw the
// text again into them.
#pragma once

namespace vellum {

// Draws the stored text of every string and log sprite again, each with the font it was made with
// (its name, size, style and colours are kept with the sprite); the text-sprite font set by
// ssp_set is left as it was. Needs the log layout restored first (log sprites use it).
void redrawRestoredTextSprites();

}  // namespace vellum
